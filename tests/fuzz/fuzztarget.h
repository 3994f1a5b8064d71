#pragma once

#include <cstddef>
#include <cstdint>

// One fuzz target: libFuzzer calls it with each input; the replay runs it on each seed file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

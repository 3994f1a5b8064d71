#pragma once

#include <cstddef>

// Asks the kernel to back a large block with huge pages: filling a block of
// hundreds of megabytes then costs a few hundred page faults, not many thousand.
// Only advice: where the kernel declines, the block works as before.
void AdviseHugePages(void *data, std::size_t bytes);

#pragma once

#include <cstddef>

// Asks the kernel to back a large block with huge pages: filling a block of
// hundreds of megabytes then costs a few hundred page faults, not many thousand.
// Only advice: where the kernel declines, the block works as before.
void AdviseHugePages(void *data, std::size_t bytes);

// Asks for the memory at p ahead of its use (for writing when forWrite), so
// that a pass over texts lying anywhere in memory waits for many at once.
// Only a hint: where the compiler has none, it does nothing.
inline void Prefetch(const void *p, bool forWrite = false)
{
#if defined(__GNUC__) || defined(__clang__)
    if (forWrite)
        __builtin_prefetch(p, 1);
    else
        __builtin_prefetch(p);
#else
    (void)p;
    (void)forWrite;
#endif
}

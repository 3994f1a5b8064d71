#include "platform/memoryhints.h"

#include <cstdint>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

void AdviseHugePages(void *data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t Huge = 2 * 1024 * 1024;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + Huge - 1) & ~(Huge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(Huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

#include "platform/ResidentMemory.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kv::platform
{
    void releaseExecutablePages (const void* data, size_t size)
    {
#if JUCE_LINUX
        const auto pageSize = (uintptr_t)::sysconf (_SC_PAGESIZE);
        const auto begin = ((uintptr_t) data + pageSize - 1) & ~(pageSize - 1);
        const auto end = ((uintptr_t) data + size) & ~(pageSize - 1);

        if (end > begin)
            ::madvise ((void*) begin, end - begin, MADV_DONTNEED);
#else
        juce::ignoreUnused (data, size);
#endif
    }

    void preferLargePages (void* data, size_t size)
    {
#if JUCE_LINUX
        constexpr uintptr_t hugePageSize = 2 * 1024 * 1024;
        const auto begin = ((uintptr_t) data + hugePageSize - 1) & ~(hugePageSize - 1);
        const auto end = ((uintptr_t) data + size) & ~(hugePageSize - 1);

        if (end > begin)
            ::madvise ((void*) begin, end - begin, MADV_HUGEPAGE);
#else
        juce::ignoreUnused (data, size);
#endif
    }
}

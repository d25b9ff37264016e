#include "archive/ResidentMemory.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kv::archive
{
#if JUCE_LINUX
    namespace
    {
        // The advice for the whole pages of `pageSize` that lie inside the range.
        void adviseWholePages (const void* data, size_t size, uintptr_t pageSize, int advice)
        {
            const auto begin = ((uintptr_t) data + pageSize - 1) & ~(pageSize - 1);
            const auto end = ((uintptr_t) data + size) & ~(pageSize - 1);

            if (end > begin)
                ::madvise ((void*) begin, end - begin, advice);
        }
    }
#endif

    void releaseExecutablePages (const void* data, size_t size)
    {
#if JUCE_LINUX
        adviseWholePages (data, size, (uintptr_t)::sysconf (_SC_PAGESIZE), MADV_DONTNEED);
#else
        juce::ignoreUnused (data, size);
#endif
    }

    void preferLargePages (void* data, size_t size)
    {
#if JUCE_LINUX
        adviseWholePages (data, size, (uintptr_t) largePageSize, MADV_HUGEPAGE);
#else
        juce::ignoreUnused (data, size);
#endif
    }
}

#include "archive/ResidentMemory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace kv::archive
{
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

    void releaseExecutablePages (const void* data, size_t size)
    {
        adviseWholePages (data, size, (uintptr_t)::sysconf (_SC_PAGESIZE), MADV_DONTNEED);
    }

    void preferLargePages (void* data, size_t size)
    {
        // Only Linux takes the request; other systems keep their own pages.
#if defined(__linux__)
        adviseWholePages (data, size, (uintptr_t) largePageSize, MADV_HUGEPAGE);
#else
        (void) data;
        (void) size;
#endif
    }
}

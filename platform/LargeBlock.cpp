#include "platform/LargeBlock.h"

#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv::platform
{
    namespace
    {
        constexpr uint64_t hugePageSize = 2 * 1024 * 1024;
    }

    LargeBlock::LargeBlock (uint64_t size)
    {
        if (size >= std::numeric_limits<size_t>::max() - 2 * hugePageSize)
            return;

#if defined(__linux__)
        if (size >= hugePageSize)
        {
            // Mapped a page over, so that a 2 MiB boundary can start the block.
            const auto rounded = (size + hugePageSize - 1) & ~(hugePageSize - 1);
            mappingSize = (size_t) (rounded + hugePageSize);
            mapping = ::mmap (nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);

            if (mapping == MAP_FAILED)
            {
                mapping = nullptr;
                return;
            }

            const auto start = ((uintptr_t) mapping + hugePageSize - 1) & ~(uintptr_t) (hugePageSize - 1);
            data = reinterpret_cast<uint8_t*> (start);

            // Only a request: where the system says no, the block works in 4 KiB pages.
            ::madvise (data, (size_t) rounded, MADV_HUGEPAGE);
            return;
        }
#endif

        data = new (std::nothrow) uint8_t[(size_t) size + 1];
    }

    LargeBlock::~LargeBlock()
    {
#if defined(__linux__)
        if (mapping != nullptr)
        {
            ::munmap (mapping, mappingSize);
            return;
        }
#endif

        delete[] data;
    }
}

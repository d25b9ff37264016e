#include "archive/LargeBlock.h"

#include "archive/ResidentMemory.h"

#include <limits>
#include <new>
#include <sys/mman.h>

namespace kv::archive
{
    LargeBlock::LargeBlock (uint64_t size)
    {
        if (size >= std::numeric_limits<size_t>::max() - 2 * largePageSize)
            return;

        if (size < largePageSize)
        {
            data = new (std::nothrow) uint8_t[(size_t) size + 1];
            return;
        }

        // Mapped a page over, so that a 2 MiB boundary can start the block.
        const auto rounded = (size + largePageSize - 1) & ~(largePageSize - 1);
        mappingSize = (size_t) (rounded + largePageSize);
        mapping = ::mmap (nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);

        if (mapping == MAP_FAILED)
        {
            mapping = nullptr;
            return;
        }

        const auto start = ((uintptr_t) mapping + largePageSize - 1) & ~(uintptr_t) (largePageSize - 1);
        data = reinterpret_cast<uint8_t*> (start);

        // Only a request: where the system says no, the block works in 4 KiB pages.
        preferLargePages (data, (size_t) rounded);
    }

    LargeBlock::~LargeBlock()
    {
        if (mapping != nullptr)
            ::munmap (mapping, mappingSize);
        else
            delete[] data;
    }
}

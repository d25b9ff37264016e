#include "archive/LargeBlock.h"

#include "archive/ResidentMemory.h"

#include <limits>
#include <new>

// Windows hands out large pages only to a process holding SeLockMemoryPrivilege, which an
// installer does not: the block is plain memory.
namespace kv::archive
{
    LargeBlock::LargeBlock (uint64_t size)
    {
        if (size < std::numeric_limits<size_t>::max() - 2 * largePageSize)
            data = new (std::nothrow) uint8_t[(size_t) size + 1];
    }

    LargeBlock::~LargeBlock()
    {
        delete[] data;
    }
}

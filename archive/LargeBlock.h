#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::archive
{
    // Memory for one whole archive entry, not zeroed, given back to the system when it goes.
    // Where the system hands out 2 MiB pages on request (Linux), a large block is made of
    // them: a block of 4 KiB pages takes a fault for every page and a TLB entry for every
    // 4 KiB it is filled and written from, which on a virtual machine costs more than the
    // inflating itself. Null when the memory cannot be had.
    class LargeBlock final
    {
    public:
        explicit LargeBlock (uint64_t size);
        ~LargeBlock();

        LargeBlock (const LargeBlock&) = delete;
        LargeBlock& operator= (const LargeBlock&) = delete;

        uint8_t* get() const noexcept { return data; }

    private:
        uint8_t* data = nullptr;
        void* mapping = nullptr;
        size_t mappingSize = 0;
    };
}

#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::archive
{
    // The page size Linux can back anonymous memory with on request.
    constexpr uint64_t largePageSize = 2 * 1024 * 1024;

    // Lets the system drop the resident pages of read-only data mapped from the executable
    // (an embedded archive once it has been copied), so that installing three formats does
    // not keep all three archives in memory. The data stays readable: it is paged in again
    // from the executable if touched. Only for memory mapped from the executable file.
    void releaseExecutablePages (const void* data, size_t size);

    // Asks the system to back a large block it has not touched yet with 2 MiB pages (Linux):
    // filled through 4 KiB pages, every page takes a fault, which on a virtual machine costs
    // more than the copy itself. Only a request; elsewhere it does nothing.
    void preferLargePages (void* data, size_t size);
}

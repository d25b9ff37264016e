#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** Raw deflate (no zlib header), as ZIP's method 8 stores it. */
    Bytes deflateRaw (const uint8_t* data, size_t size, int level = 6);

    /** A zlib stream (header and Adler-32 included), as PNG's IDAT holds it. */
    Bytes zlibCompress (const Bytes& data, int level = 9);

    uint32_t crc32Of (const uint8_t* data, size_t size, uint32_t previous = 0);

} // namespace kv::payload

#include "tools/payload/Compression.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <zlib.h>

namespace kv::payload
{
    namespace
    {
        // zlib counts in uInt, so anything bigger goes through in slices.
        constexpr size_t maxSlice = std::numeric_limits<uInt>::max() / 2;

        Bytes runDeflate (const uint8_t* data, size_t size, int level, int windowBits)
        {
            z_stream stream {};

            if (deflateInit2 (&stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
                throw std::runtime_error ("deflateInit2 failed");

            Bytes out (deflateBound (&stream, static_cast<uLong> (std::min (size, maxSlice))) + 64);
            size_t produced = 0;
            size_t consumed = 0;
            int status = Z_OK;

            while (status != Z_STREAM_END)
            {
                if (out.size() - produced < 64 * 1024)
                    out.resize (out.size() * 2);

                auto slice = std::min (size - consumed, maxSlice);
                stream.next_in = const_cast<Bytef*> (data + consumed);
                stream.avail_in = static_cast<uInt> (slice);
                stream.next_out = out.data() + produced;
                stream.avail_out = static_cast<uInt> (std::min (out.size() - produced, maxSlice));

                auto flush = consumed + slice == size ? Z_FINISH : Z_NO_FLUSH;
                status = deflate (&stream, flush);

                if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                {
                    deflateEnd (&stream);
                    throw std::runtime_error ("deflate failed");
                }

                consumed += slice - stream.avail_in;
                produced = static_cast<size_t> (stream.next_out - out.data());
            }

            deflateEnd (&stream);
            out.resize (produced);
            return out;
        }
    }

    Bytes deflateRaw (const uint8_t* data, size_t size, int level)
    {
        return runDeflate (data, size, level, -MAX_WBITS);
    }

    Bytes zlibCompress (const Bytes& data, int level)
    {
        return runDeflate (data.data(), data.size(), level, MAX_WBITS);
    }

    uint32_t crc32Of (const uint8_t* data, size_t size, uint32_t previous)
    {
        uLong crc = previous;

        while (size > 0)
        {
            auto slice = std::min (size, maxSlice);
            crc = crc32 (crc, data, static_cast<uInt> (slice));
            data += slice;
            size -= slice;
        }

        return static_cast<uint32_t> (crc);
    }

} // namespace kv::payload

#include "tools/payload/PngWriter.h"

#include "tools/payload/Compression.h"

#include <stdexcept>

namespace kv::payload
{
    namespace
    {
        void appendBigEndian32 (Bytes& out, uint32_t value)
        {
            for (int shift = 24; shift >= 0; shift -= 8)
                out.push_back (static_cast<uint8_t> (value >> shift));
        }

        void appendChunk (Bytes& out, const char (&type)[5], const Bytes& data)
        {
            appendBigEndian32 (out, static_cast<uint32_t> (data.size()));
            const auto typeStart = out.size();
            out.insert (out.end(), type, type + 4);
            out.insert (out.end(), data.begin(), data.end());

            // The CRC covers the type and the data, not the length.
            appendBigEndian32 (out, crc32Of (out.data() + typeStart, out.size() - typeStart));
        }
    }

    Bytes makePngRgba (uint32_t width, uint32_t height, const Bytes& rgba)
    {
        const size_t rowBytes = size_t (width) * 4;

        if (rgba.size() != rowBytes * height)
            throw std::invalid_argument ("pixel buffer does not match the image size");

        Bytes header;
        appendBigEndian32 (header, width);
        appendBigEndian32 (header, height);
        header.push_back (8); // bits per channel
        header.push_back (6); // colour type: RGBA
        header.push_back (0); // deflate
        header.push_back (0); // adaptive filtering
        header.push_back (0); // not interlaced

        // Every row uses the Sub filter, which suits smooth artwork and keeps the encoder simple.
        Bytes filtered;
        filtered.reserve ((rowBytes + 1) * height);

        for (uint32_t y = 0; y < height; ++y)
        {
            const auto* row = rgba.data() + y * rowBytes;
            filtered.push_back (1);

            for (size_t i = 0; i < rowBytes; ++i)
                filtered.push_back (static_cast<uint8_t> (row[i] - (i >= 4 ? row[i - 4] : 0)));
        }

        Bytes png { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
        appendChunk (png, "IHDR", header);
        appendChunk (png, "IDAT", zlibCompress (filtered, 9));
        appendChunk (png, "IEND", {});
        return png;
    }

} // namespace kv::payload

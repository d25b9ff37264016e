#include "tools/payload/IcoWriter.h"

#include "tools/payload/IconArtwork.h"
#include "tools/payload/PngWriter.h"

namespace kv::payload
{
    namespace
    {
        constexpr int pngThreshold = 256;

        /** BITMAPINFOHEADER with the height doubled (colour plus mask), bottom-up BGRA rows, then
        the 1-bit AND mask, each of its rows padded to 32 bits. */
        Bytes makeBmpImage (int size, const Bytes& rgba)
        {
            const auto side = static_cast<uint32_t> (size);
            const uint32_t maskRowBytes = (side + 31) / 32 * 4;
            const uint32_t imageBytes = side * side * 4 + maskRowBytes * side;

            Bytes image;
            ByteWriter out (image);
            out.u32 (40);
            out.u32 (side);
            out.u32 (side * 2);
            out.u16 (1); // planes
            out.u16 (32); // bits per pixel
            out.u32 (0); // BI_RGB
            out.u32 (imageBytes);
            out.u32 (0); // pixels per metre, x and y
            out.u32 (0);
            out.u32 (0); // colours used
            out.u32 (0); // important colours

            for (int y = size - 1; y >= 0; --y)
            {
                for (int x = 0; x < size; ++x)
                {
                    const auto* p = rgba.data() + (size_t (y) * side + size_t (x)) * 4;
                    out.u8 (p[2]);
                    out.u8 (p[1]);
                    out.u8 (p[0]);
                    out.u8 (p[3]);
                }
            }

            // The mask marks fully transparent pixels; 32-bit icons rely on alpha, but old
            // renderers still use it.
            for (int y = size - 1; y >= 0; --y)
            {
                Bytes row (maskRowBytes, 0);

                for (int x = 0; x < size; ++x)
                    if (rgba[(size_t (y) * side + size_t (x)) * 4 + 3] == 0)
                        row[size_t (x) / 8] |= static_cast<uint8_t> (0x80 >> (x % 8));

                out.bytes (row);
            }

            return image;
        }
    }

    Bytes makePluginIcon()
    {
        const int sizes[] = { 16, 32, 48, 256 };
        std::vector<Bytes> images;

        for (auto size : sizes)
        {
            auto rgba = renderIconRgba (size);
            images.push_back (size >= pngThreshold ? makePngRgba (uint32_t (size), uint32_t (size), rgba)
                                                   : makeBmpImage (size, rgba));
        }

        Bytes icon;
        ByteWriter out (icon);
        out.u16 (0); // reserved
        out.u16 (1); // type: icon
        out.u16 (static_cast<uint32_t> (images.size()));

        auto offset = static_cast<uint32_t> (6 + 16 * images.size());

        for (size_t i = 0; i < images.size(); ++i)
        {
            out.u8 (sizes[i] >= 256 ? 0 : static_cast<uint32_t> (sizes[i])); // 0 means 256
            out.u8 (sizes[i] >= 256 ? 0 : static_cast<uint32_t> (sizes[i]));
            out.u8 (0); // palette size
            out.u8 (0); // reserved
            out.u16 (1); // planes
            out.u16 (32); // bits per pixel
            out.u32 (static_cast<uint32_t> (images[i].size()));
            out.u32 (offset);
            offset += static_cast<uint32_t> (images[i].size());
        }

        for (auto& image : images)
            out.bytes (image);

        return icon;
    }

} // namespace kv::payload

#include "tools/payload/IconArtwork.h"

#include <algorithm>
#include <cmath>

namespace kv::payload
{
    namespace
    {
        uint8_t toByte (double v)
        {
            return static_cast<uint8_t> (std::lround (std::clamp (v, 0.0, 1.0) * 255.0));
        }

        // 1 inside, 0 outside, a one-pixel ramp between, so edges stay smooth at 16 px too.
        double coverage (double signedDistanceInPixels)
        {
            return std::clamp (0.5 - signedDistanceInPixels, 0.0, 1.0);
        }
    }

    Bytes renderIconRgba (int size)
    {
        Bytes rgba (static_cast<size_t> (size) * static_cast<size_t> (size) * 4);
        const double centre = size / 2.0;
        const double radius = size * 0.46;
        const double strandWidth = std::max (1.0, size * 0.06);

        for (int y = 0; y < size; ++y)
        {
            for (int x = 0; x < size; ++x)
            {
                const double px = x + 0.5 - centre;
                const double py = y + 0.5 - centre;
                const double distance = std::sqrt (px * px + py * py);
                const double disc = coverage (distance - radius);

                // Dark teal shading towards the lower right.
                const double shade = 0.75 + 0.25 * (-(px + py) / (2.0 * radius));
                double r = 0.05 * shade, g = 0.45 * shade, b = 0.55 * shade;

                // A sine strand across the disc.
                const double wave = std::sin (px / radius * 3.14159) * radius * 0.35;
                const double strand = coverage (std::abs (py - wave) - strandWidth / 2.0) * disc;
                r += (0.95 - r) * strand;
                g += (0.90 - g) * strand;
                b += (0.70 - b) * strand;

                auto* p = rgba.data() + (static_cast<size_t> (y) * static_cast<size_t> (size) + static_cast<size_t> (x)) * 4;
                p[0] = toByte (r);
                p[1] = toByte (g);
                p[2] = toByte (b);
                p[3] = toByte (disc);
            }
        }

        return rgba;
    }

} // namespace kv::payload

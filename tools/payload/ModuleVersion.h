#pragma once

#include <cstdint>
#include <string>

namespace kv::payload
{
    /** The four 16-bit parts of a Windows file version. */
    struct ModuleVersion
    {
        uint16_t major = 2;
        uint16_t minor = 3;
        uint16_t patch = 0;
        uint16_t build = 0;

        uint32_t mostSignificant() const noexcept { return (uint32_t (major) << 16) | minor; }
        uint32_t leastSignificant() const noexcept { return (uint32_t (patch) << 16) | build; }

        std::string toString() const
        {
            return std::to_string (major) + "." + std::to_string (minor) + "."
                   + std::to_string (patch) + "." + std::to_string (build);
        }
    };

} // namespace kv::payload

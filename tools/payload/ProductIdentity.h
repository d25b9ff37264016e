#pragma once

namespace kv::payload
{
    // Who the stand-in payload claims to come from; it mirrors the real product's metadata.
    inline constexpr const char* companyName = "Korvane";
    inline constexpr const char* productName = "Strandline2";
    inline constexpr const char* productShortVersion = "2.3.0";

} // namespace kv::payload

#pragma once

// The product this installer carries, written once: the installer, the build tools and the
// stand-in archives all include this plain header. The installer's own version is the
// project's (KV_INSTALLER_VERSION).
namespace product_facts
{
    inline constexpr const char* makerName = "Korvane";
    inline constexpr const char* productName = "Strandline2"; // also the bundle's base name
    inline constexpr const char* productVersion = "2.3.0";
}

#pragma once

// The product this installer carries, written once: the installer, the build tools and the
// stand-in archives all include this plain header. The installer's own version is the
// project's (KV_INSTALLER_VERSION).
namespace product_facts
{
    inline constexpr const char* makerName = "Korvane";
    inline constexpr const char* productName = "Strandline2"; // also the bundle's base name
    inline constexpr const char* productVersion = "2.3.0";

    // The product's key under ...\CurrentVersion\Uninstall (winget's ProductCode), and the
    // folder under Program Files that keeps the installer its entry uninstalls with.
    inline constexpr const char* uninstallKeyName = "Korvane.Strandline2";
    inline constexpr const char* keptInstallerFolder = "C:/Program Files/Korvane/Strandline2 Installer";
}

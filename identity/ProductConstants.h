#pragma once

#include <juce_core/juce_core.h>

#include "identity/ProductFacts.h"

// The installer's own name and version (the project's, KV_INSTALLER_VERSION).
inline const juce::String applicationName { "kv_installer" };
inline const juce::String applicationVersion { KV_INSTALLER_VERSION };

// The product this installer carries and the maker's addresses.
namespace product
{
    inline const juce::String bundleBaseName { product_facts::productName };
    inline const juce::String version { product_facts::productVersion };
    inline const juce::String platformSuffix { " for Windows" };

    inline const juce::String productPageAddress { "https://www.korvane.com/products/strandline2" };
    inline const juce::String manualAddress { "https://www.korvane.com/downloads/manuals/Strandline2-Manual.pdf" };
    inline const juce::String discordInviteAddress { "https://discord.gg/korvane" };
    inline const juce::String supportMailAddress { "support@korvane.com" };
    inline const juce::String copyrightLine { "Copyright (c) 2026 Korvane Audio Ltd. All rights reserved." };

    inline const juce::String makerFolderName { product_facts::makerName };
    inline const juce::String settingsFileName { "PluginManagerSettings.txt" };
}

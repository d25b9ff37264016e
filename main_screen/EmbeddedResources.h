#pragma once

#include <juce_core/juce_core.h>

#include "BinaryData.h"
#include "identity/FormatTable.h"

// What the main screen takes from the embedded files, besides the artwork it loads itself.

// Each format's embedded archive and badge, by the format table's index.
struct FormatResources
{
    const char* archive;
    const int& archiveSize;
    const char* icon;
    const int& iconSize;
};

inline const FormatArray<FormatResources> formatResources { {
    { BinaryData::vst3_zip, BinaryData::vst3_zipSize, BinaryData::icon_vst3_svg, BinaryData::icon_vst3_svgSize },
    { BinaryData::clap_zip, BinaryData::clap_zipSize, BinaryData::icon_clap_svg, BinaryData::icon_clap_svgSize },
    { BinaryData::aax_zip, BinaryData::aax_zipSize, BinaryData::icon_aax_svg, BinaryData::icon_aax_svgSize },
} };

// The licence agreement the EULA command shows.
inline const juce::String eulaText { juce::String::fromUTF8 (BinaryData::eula_txt, BinaryData::eula_txtSize) };

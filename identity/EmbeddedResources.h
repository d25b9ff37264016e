#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "BinaryData.h"
#include "identity/FormatTable.h"

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

// Loads an embedded SVG; null when the data does not parse.
inline std::unique_ptr<juce::Drawable> loadEmbeddedDrawable (const char* data, int size)
{
    return juce::Drawable::createFromImageData (data, (size_t) size);
}

// Loads an embedded icon with its pure black artwork tinted to the given colour.
inline std::unique_ptr<juce::Drawable> loadTintedIcon (const char* data, int size, juce::Colour tint)
{
    auto drawable = loadEmbeddedDrawable (data, size);

    if (drawable != nullptr)
        drawable->replaceColour (juce::Colours::black, tint);

    return drawable;
}

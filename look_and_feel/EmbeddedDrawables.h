#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Embedded SVG artwork, loaded by the screen that draws it.

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

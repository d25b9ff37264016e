#pragma once

#include <juce_graphics/juce_graphics.h>

// Words the screen shows whole in a free area: wrapped, and shrunk as far as a floor to fit.
namespace wrapped_text
{
    // Wrapped by word over width, and after each path separator too: JUCE breaks lines only
    // at spaces, and a long path would run off the edge.
    juce::TextLayout layout (const juce::String& words, const juce::Font& font, juce::Colour colour, float width,
                             juce::Justification justification);

    struct Fitted
    {
        juce::TextLayout text;
        float textHeight = 0.0f;
    };

    // The largest text height from startHeight down to floorHeight, in steps of a tenth of
    // unit, whose layout is no taller than maxHeight; at the floor, whatever height it takes.
    Fitted shrinkToFit (const juce::String& words, const juce::Font& font, juce::Colour colour, float width, float maxHeight,
                        float startHeight, float floorHeight, float unit, juce::Justification justification);
}

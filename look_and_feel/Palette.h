#pragma once

#include <juce_graphics/juce_graphics.h>

// The installer's eight colours, read by every screen and the look and feel.
// They are kept as the six-digit literals the artwork was designed with; the opaque alpha is
// prepended when they are parsed.
inline juce::Colour makePaletteColour (const char* sixDigitHex)
{
    return juce::Colour ((juce::uint32) (juce::String ("FF") + sixDigitHex).getHexValue32());
}

inline const juce::Colour colour_background = makePaletteColour ("111111");
inline const juce::Colour colour_surface = makePaletteColour ("171717");
inline const juce::Colour colour_text = makePaletteColour ("F5F5F5");
inline const juce::Colour colour_text_dim = makePaletteColour ("AAA6A6");
inline const juce::Colour colour_green = makePaletteColour ("86cf7a");
inline const juce::Colour colour_blue = makePaletteColour ("0094d8");
inline const juce::Colour colour_yellow = makePaletteColour ("D3C55F");
inline const juce::Colour colour_orange = makePaletteColour ("E08A2A");

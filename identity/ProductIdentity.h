#pragma once

#include <juce_graphics/juce_graphics.h>

#include "BinaryData.h"
#include "identity/Formats.h"

// The installer's fixed identity: names, version, palette, per-format tables and licence
// text. Defined once here and read by every screen.

inline const juce::String applicationName { "kv_installer" };
inline const juce::String applicationVersion { KV_INSTALLER_VERSION };

// Palette colours are kept as the six-digit literals the artwork was designed with;
// the opaque alpha is prepended when they are parsed.
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

// Component names of the six extras buttons, which are also their command names.
inline const juce::StringArray extraButtonNames { "EULA", "MANUAL", "WEBSITE", "SUPPORT", "SETTINGS", "CHANGES" };

inline const juce::String eulaText { juce::String::fromUTF8 (BinaryData::eula_txt, BinaryData::eula_txtSize) };

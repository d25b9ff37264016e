#pragma once

#include <array>

// Everything that belongs to one plug-in format, in one place: the installer, the settings,
// the build tools and the tests all read it. Plain C++, so tools without JUCE can too. The
// format's embedded archive and badge, which tools cannot see, are in formatResources
// (identity/EmbeddedResources.h), by the same index.
// Indexed by format: 0 VST3, 1 CLAP, 2 AAX; every per-format loop visits them in that order.
struct FormatFacts
{
    const char* name; // button, command and report name
    const char* extension; // of the bundle, whose name is the product's name followed by it
    const char* archiveFileName; // the embedded archive the bundle travels in
    const char* settingsAttribute; // where the settings file keeps the destination
    const char* defaultFolder; // the destination when the settings file names none
    const char* moduleFolder; // the plug-in file's folder inside the bundle; empty when the bundle is that file
};

inline constexpr int numFormats = 3;

inline constexpr std::array<FormatFacts, numFormats> formatTable { {
    { "VST3", ".vst3", "vst3.zip", "VST3_Path", "C:/Program Files/Common Files/VST3", "Contents/x86_64-win" },
    { "CLAP", ".clap", "clap.zip", "CLAP_Path", "C:/Program Files/Common Files/CLAP", "" },
    { "AAX", ".aaxplugin", "aax.zip", "AAX_Path", "C:/Program Files/Common Files/Avid/Audio/Plug-Ins", "Contents/x64" },
} };

#pragma once

#include <array>
#include <cstddef>
#include <iterator>

// Everything that belongs to one plug-in format, in one place: the installer, the settings,
// the build (cmake/KvOptions.cmake reads the archive names from the rows below, so keep one
// row a line), the tools and the tests all read it. Plain C++, so tools without JUCE can too.
// The format's embedded archive and badge, which tools cannot see, are in formatResources
// (main_screen/EmbeddedResources.h), and its tile's place on the screen in main_layout
// (main_screen/MainLayout.h), by the same index.
// Indexed by format: 0 VST3, 1 CLAP, 2 AAX; every per-format loop visits them in that order.
struct FormatFacts
{
    const char* name; // button, command and report name
    const char* extension; // of the bundle, whose name is the product's name followed by it
    const char* archiveFileName; // the embedded archive the bundle travels in
    const char* settingsAttribute; // where the settings file keeps the destination
    int settingsFilePosition; // the attribute's place after the note in a new settings file
    const char* defaultFolder; // the destination when the settings file names none
    const char* moduleFolder; // the plug-in file's folder inside the bundle; empty when the bundle is that file
    bool describesModule; // the bundle carries Contents/Resources/moduleinfo.json for hosts
    unsigned long long moduleBytes; // the size of the shipped plug-in file, which stand-ins copy
};

inline constexpr FormatFacts formatTable[] {
    { "VST3", ".vst3", "vst3.zip", "VST3_Path", 1, "C:/Program Files/Common Files/VST3", "Contents/x86_64-win", true, 17621288 },
    { "CLAP", ".clap", "clap.zip", "CLAP_Path", 0, "C:/Program Files/Common Files/CLAP", "", false, 17266472 },
    { "AAX", ".aaxplugin", "aax.zip", "AAX_Path", 2, "C:/Program Files/Common Files/Avid/Audio/Plug-Ins", "Contents/x64", false, 17400416 },
};

inline constexpr int numFormats = (int) std::size (formatTable);

// One entry per format, by format index: its size follows the table, so no loop over it can
// read past the last format.
template <typename T>
using FormatArray = std::array<T, (size_t) numFormats>;

// A new settings file names every format once.
static_assert (
    []
    {
        for (int position = 0; position < numFormats; ++position)
        {
            int formatsThere = 0;
            for (const auto& format : formatTable)
                formatsThere += format.settingsFilePosition == position ? 1 : 0;
            if (formatsThere != 1)
                return false;
        }
        return true;
    }(),
    "settingsFilePosition must number the formats 0, 1, 2, ... once each");

#pragma once

#include <juce_core/juce_core.h>

#include "identity/Formats.h"

#include <functional>

// The settings file shared by every installer of the maker: where each format installs.
// Its bytes are read and written by the maker's other installers too, so what is written
// here keeps exactly their layout.

using DestinationFolders = FormatArray<juce::File>;

// What the settings panel tells the main screen after the user picked a folder.
using DestinationCallback = std::function<void (int formatIndex, const juce::File& folder)>;

namespace settings
{
    inline const juce::String rootTag { "Plugin_Manager_Settings" };
    inline const juce::String noteAttribute { "Important_Note:" };

    // Attribute names by format index: 0 VST3, 1 CLAP, 2 AAX.
    inline const juce::StringArray pathAttributes = format_columns::of (&FormatFacts::settingsAttribute);

    inline const juce::String noteText {
        "These are the paths that all Korvane installers will use for their respective formats. "
        "Edit them to personal taste, but keep in mind that some formats have specific homes. "
        "Use this feature at your own risk; follow the naming and separator conventions exactly as you see them, "
        "or you could end up with unintended consequences. If you delete this file, the next time you run the "
        "Plugin Manager for any KV product, a new one with the default locations will be written."
    };

    // Larger files are not settings files; they are treated like any file that does not parse.
    static constexpr juce::int64 maximumFileBytes = 1024 * 1024;

    // The file holds one element; a file with more than this many is not a settings file.
    // The bound keeps the parser's recursion, one level per nested element, off the stack's end.
    static constexpr int maximumElementCount = 1000;

    DestinationFolders defaultDestinationFolders();

    // "Korvane" in the machine-wide application-data folder, and the file inside it.
    juce::File makerFolder();
    juce::File settingsFileIn (const juce::File& makerFolder);

    // The parsed document, or null when the file is missing, a folder, too large, not
    // well-formed text, made of too many elements or not XML.
    std::unique_ptr<juce::XmlElement> readSettingsDocument (const juce::File& settingsFile);

    // The document a missing settings file is created with; paths by format index, written
    // in the order the maker's installers write them.
    std::unique_ptr<juce::XmlElement> createSettingsDocument (const juce::StringArray& paths);
    std::unique_ptr<juce::XmlElement> createSettingsDocument (const DestinationFolders& folders);

    // Writes with the layout every installer of the maker writes.
    bool writeSettingsDocument (const juce::XmlElement& document, const juce::File& settingsFile);
}

// Sets the defaults, then reads the settings file or creates it when it is missing.
void loadDestinationSettings (juce::File& makerFolder, DestinationFolders& destinationFolders);

// What became of a folder the user chose.
enum class SaveResult
{
    saved,
    noSettingsFile, // missing or unreadable: nothing is written, as the maker's installers do
    fileRefused, // the settings file cannot be changed (read-only or locked)
    folderRefused // its folder refuses the file that replaces it
};

// Writes one attribute into an existing, readable settings file; nothing otherwise.
SaveResult saveDestinationSetting (const juce::File& settingsFile, const juce::String& attributeName, const juce::String& path);

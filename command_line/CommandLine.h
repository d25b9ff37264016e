#pragma once

#include <juce_core/juce_core.h>

#include "identity/FormatTable.h"

#include <optional>

// The switches deployment tools pass, spelled as Inno Setup spells them (what winget, Intune
// and Configuration Manager users already type): case-insensitive, with "/" or "-".
namespace kv::command_line
{
    struct Options
    {
        bool silent = false; // /SILENT or /VERYSILENT: no window, nothing that waits for a person
        bool uninstall = false;
        bool allowDowngrade = false;
        bool log = false;
        juce::String logPath; // empty: a new file in the temporary folder
        FormatArray<bool> formats { true, true, true }; // /COMPONENTS, or every format
        FormatArray<juce::String> destinations; // /VST3DIR= and the others, as given

        // With a silent switch these end the run untouched; without one they are ignored.
        juce::StringArray unknown; // arguments this installer does not know
        juce::String invalidArgument, invalidReason; // the first bad value

        bool isValid() const { return invalidArgument.isEmpty() && (unknown.isEmpty() || ! silent); }
    };

    // The arguments of a command line, quotes kept out of values: /LOG="C:\a b\x.log" and
    // "/LOG=C:\a b\x.log" both give /LOG=C:\a b\x.log.
    juce::StringArray splitArguments (const juce::String& commandLine);

    Options parse (const juce::StringArray& arguments);
    inline Options parse (const juce::String& commandLine) { return parse (splitArguments (commandLine)); }

    // A folder as a destination: absolute on Windows (a drive or a share) or, off Windows, a
    // host path. Empty when it is neither.
    bool isUsableFolder (const juce::String& path);
}

#pragma once

#include <juce_core/juce_core.h>

// The program names its folders as Windows does ("C:/Program Files/Common Files").
// On Windows those paths are used as they are. Everywhere else (where it is developed and
// tested) a drive-letter path lands under a sandbox root, one folder per drive letter, so
// the program can never write into the host's real system folders. Host paths, such as a
// folder picked in the chooser, are used as they are.
namespace kv::platform
{
    // The File for a path as the program or the settings file spells it. Empty text, and
    // text that is neither a drive-letter path nor a host absolute path, give an empty File.
    juce::File fileFromPath (const juce::String& path);

    // The machine-wide application-data folder (C:\ProgramData on Windows).
    juce::File commonApplicationDataFolder();

    // Where drive-letter paths land off Windows: $KV_INSTALLER_ROOT, or a folder in the
    // user's data directory when that is not set.
    juce::File sandboxRoot();

    // True for "X:" followed by nothing or a separator, with either separator.
    bool isDriveLetterPath (const juce::String& path);

    // A path as Windows takes it, with backslashes: "C:/x" and "//server/share/x" (the
    // settings file may use either separator) become "C:\x" and "\\server\share\x".
    // Empty for a path that is not absolute on Windows (JUCE alone would take "//server"
    // for a relative path there).
    juce::String windowsAbsolutePath (const juce::String& path);

    // A Windows path in the "\\?\" form that works past 260 characters whatever the system's
    // long-path policy: "C:\x" becomes "\\?\C:\x", "\\server\share" "\\?\UNC\server\share".
    juce::String windowsLongPath (const juce::String& path);
}

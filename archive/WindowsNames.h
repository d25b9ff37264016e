#pragma once

#include "archive/ArchiveFinding.h"

#include <map>

// Names Windows cannot hold. An entry named so is not written as it reads: a device name opens
// the device, a trailing dot or space is dropped, and names that differ only in case are one
// file, so the later entry lands on the earlier one. Refused before anything is written.
namespace kv::archive
{
    // Why Windows cannot hold part, one part of a path, as a file or folder name; nothing found
    // if it can.
    ArchiveFinding windowsNameFault (const juce::String& part);

    // The paths of an archive's entries, and of every folder above them, as Windows compares
    // them: without regard to case.
    class WindowsNameSet final
    {
    public:
        // Adds an entry's path, given by its parts; returns why Windows would take it, or one of
        // its folders, for another entry's (or folder's) name; nothing found when it would not.
        ArchiveFinding add (const juce::StringArray& parts, bool isDirectory);

    private:
        struct Seen
        {
            juce::String spelling;
            bool isFile = false;
            bool isEntry = false;
        };

        std::map<juce::String, Seen> seen; // by the path in upper case
    };
}

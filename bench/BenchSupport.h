#pragma once

#include <juce_core/juce_core.h>

#include "install/InstallPass.h"

namespace kv::bench
{
    // A fresh folder for one measurement, next to the build (the same disk the archives
    // and the reference tools use), removed when it goes.
    class ScratchFolder final
    {
    public:
        ScratchFolder();
        ~ScratchFolder();

        const juce::File& get() const noexcept { return folder; }

    private:
        juce::File folder;
        JUCE_DECLARE_NON_COPYABLE (ScratchFolder)
    };

    juce::File scratchParent();

    // All three formats selected, destinations inside the given folder.
    InstallRequest installEverythingInto (const juce::File& folder, bool uninstall = false);

    juce::File archiveFile (int formatIndex);

    // Runs a shell command; false when it does not exit with 0.
    bool run (const juce::String& command);

    // Resident and peak resident size of this process, in bytes.
    juce::int64 residentBytes();
    juce::int64 peakResidentBytes();
}

#pragma once

#include <juce_core/juce_core.h>

#include "identity/FormatTable.h"

// What deployment tools read to know the product is there: the detection key
// (HKLM\SOFTWARE\<maker>\<product>) and the Apps & Features entry, which uninstalls with a copy
// of this installer kept under Program Files. Both are written from what is on disk, never from
// what a pass was asked to do, and go when no format is installed.
namespace kv::registration
{
    struct InstalledFormat
    {
        bool installed = false;
        juce::File bundle;
        juce::String version; // empty when the module carries none
    };

    using InstalledFormats = FormatArray<InstalledFormat>;

    juce::String detectionKey();
    juce::String uninstallKey();

    juce::File keptInstallerFolder();
    juce::File keptInstaller();

    // The program whose copy is kept: this executable, or what a test names instead.
    juce::File installerToKeep();
    void keepInsteadOfRunningExecutable (const juce::File& program);

    // The switches the entry starts the kept copy with.
    juce::String uninstallString();
    juce::String quietUninstallString();

    struct Result
    {
        bool anyInstalled = false;
        bool detectionWritten = true;
        bool entryWritten = true;
        bool keptCopyMade = true;
        bool keptCopyRemoved = true;
    };

    // Rewrites both keys and keeps or removes the kept installer, from this read of the disk;
    // the version is the latest installed one.
    Result update (const InstalledFormats& formats, const juce::String& version);
}

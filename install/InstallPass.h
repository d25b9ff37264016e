#pragma once

#include "install/FileOperations.h"
#include "install/InstallReport.h"

#include "identity/FormatTable.h"

// One click on INSTALL: every selected format in index order, installed from its
// embedded archive, or only removed in uninstall mode.

struct EmbeddedArchive
{
    const void* data = nullptr;
    size_t size = 0;
    bool mappedFromExecutable = false; // true only for the archives the installer carries
};

struct InstallRequest
{
    bool uninstall = false;
    juce::String productName;
    FormatArray<bool> selected {};
    FormatArray<juce::File> destinationFolders;
    FormatArray<EmbeddedArchive> archives;

    // How long to wait for another installer's pass to end before giving up untouched.
    int lockWaitMs = 5000;
};

InstallReport runInstallPass (const InstallRequest& request, FileOperations& files = FileOperations::real());

// The archives the installer carries, by format index.
FormatArray<EmbeddedArchive> embeddedArchives();

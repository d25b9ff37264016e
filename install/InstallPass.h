#pragma once

#include "install/FileOperations.h"
#include "install/InstallReport.h"

#include <array>

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
    std::array<bool, 3> selected {};
    std::array<juce::File, 3> destinationFolders;
    std::array<EmbeddedArchive, 3> archives;

    // How long to wait for another installer's pass to end before giving up untouched.
    int lockWaitMs = 5000;
};

InstallReport runInstallPass (const InstallRequest& request, FileOperations& files = FileOperations::real());

// The three archives the installer carries, by format index.
std::array<EmbeddedArchive, 3> embeddedArchives();

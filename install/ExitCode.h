#pragma once

#include "install/InstallReport.h"

// What a run means to a deployment engine (Intune, Configuration Manager, winget, ...), in
// Windows Installer's numbers wherever it has one, so that an engine's own table reads them.
namespace kv::install
{
    enum ExitCode : int
    {
        exitSuccess = 0,
        exitSharingViolation = 32, // a plug-in held open by a program could not be replaced or removed
        exitInvalidParameter = 87,
        exitDiskFull = 112,
        exitInstallFailure = 1603,
        exitAnotherInstallRunning = 1618,
        exitNewerVersionKept = 1638,
        exitRestartRequired = 3010 // done; an old copy still in use goes at the next start
    };

    // The code for a pass's report. A failure outranks a newer copy kept, which outranks a
    // removal waiting for a restart; among failures, the one most worth a retry is told: a
    // held file (close the program), then a full disk, then any other.
    int exitCodeFor (const InstallReport& report, bool newerCopyKept);
}

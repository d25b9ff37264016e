#include "install/ExitCode.h"

namespace kv::install
{
    int exitCodeFor (const InstallReport& report, bool newerCopyKept)
    {
        if (report.anotherInstallerRunning)
            return exitAnotherInstallRunning;

        if (report.lockUnavailable)
            return exitInstallFailure;

        bool held = false, full = false, other = false, restart = false;

        for (const auto& outcome : report.outcomes)
        {
            held = held || outcome.problem == InstallProblem::bundleInUse;
            full = full || outcome.problem == InstallProblem::diskFull;
            other = other || (! outcome.succeeded() && outcome.problem != InstallProblem::bundleInUse && outcome.problem != InstallProblem::diskFull);
            restart = restart || (outcome.succeeded() && outcome.stillInUse != juce::File());
        }

        if (held)
            return exitSharingViolation;
        if (full)
            return exitDiskFull;
        if (other)
            return exitInstallFailure;
        if (newerCopyKept)
            return exitNewerVersionKept;
        if (restart)
            return exitRestartRequired;
        return exitSuccess;
    }
}

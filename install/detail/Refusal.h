#pragma once

#include "fs/FsStatus.h"
#include "install/InstallReport.h"

namespace kv::install
{
    // A refusal the file system gave, as the problem it is for the user: permission refused, a
    // full or missing drive and a folder gone are said as such, never blamed on a program;
    // anything else is the step's own problem (something in use, a file not written).
    inline InstallProblem problemFor (fs::FsStatus status, InstallProblem otherwise)
    {
        switch (status)
        {
            case fs::FsStatus::denied: return InstallProblem::accessDenied;
            case fs::FsStatus::noSpace: return InstallProblem::diskFull;
            case fs::FsStatus::notReady: return InstallProblem::deviceNotReady;
            case fs::FsStatus::notFound: return InstallProblem::folderGone;
            default: return otherwise;
        }
    }
}

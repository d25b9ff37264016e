#pragma once

#include "fs/FsStatus.h"
#include "install/InstallReport.h"

namespace kv::install
{
    // A refusal the file system gave, as the problem it is for the user: permission refused is
    // said as such; anything else is the step's own problem (something in use, a file not written).
    inline InstallProblem problemFor (fs::FsStatus status, InstallProblem otherwise)
    {
        return status == fs::FsStatus::denied ? InstallProblem::accessDenied : otherwise;
    }
}

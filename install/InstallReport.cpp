#include "install/InstallReport.h"

namespace kv::install
{
    bool InstallReport::succeeded() const
    {
        if (anotherInstallerRunning || lockUnavailable)
            return false;

        for (const auto& outcome : outcomes)
            if (! outcome.succeeded())
                return false;

        return true;
    }
}

#include "platform/ProcessAccount.h"

#include <unistd.h>

namespace kv::platform
{
    bool isElevated()
    {
        return ::geteuid() == 0;
    }
}

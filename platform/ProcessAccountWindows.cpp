#include "platform/ProcessAccount.h"

#include <windows.h>

namespace kv::platform
{
    bool isElevated()
    {
        HANDLE token = nullptr;

        if (! ::OpenProcessToken (::GetCurrentProcess(), TOKEN_QUERY, &token))
            return false;

        TOKEN_ELEVATION elevation {};
        DWORD size = 0;
        const auto known = ::GetTokenInformation (token, TokenElevation, &elevation, sizeof (elevation), &size);
        ::CloseHandle (token);
        return known && elevation.TokenIsElevated != 0;
    }
}

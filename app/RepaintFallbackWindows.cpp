#include "app/RepaintFallback.h"

#include <windows.h>

namespace kv::app
{
    bool runningUnderWine()
    {
        if (auto* ntdll = ::GetModuleHandleW (L"ntdll.dll"))
            return ::GetProcAddress (ntdll, "wine_get_version") != nullptr;

        return false;
    }

    double reportedRefreshRateHz (const juce::Component& window)
    {
        double hz = 0.0;

        if (auto* peer = window.getPeer())
        {
            MONITORINFOEXW info {};
            info.cbSize = sizeof (info);
            DEVMODEW mode {};
            mode.dmSize = sizeof (mode);

            if (::GetMonitorInfoW (::MonitorFromWindow ((HWND) peer->getNativeHandle(), MONITOR_DEFAULTTONEAREST), &info)
                && ::EnumDisplaySettingsW (info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
                hz = (double) mode.dmDisplayFrequency; // 0 or 1 stand for the hardware's default
        }

        return hz;
    }

    RepaintFallback::Environment RepaintFallback::currentEnvironment()
    {
        return { true, []
                 { return runningUnderWine(); },
                 {} };
    }
}

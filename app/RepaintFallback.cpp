#include "app/RepaintFallback.h"

#if JUCE_WINDOWS
#include <windows.h>
#endif

namespace kv::app
{
    bool runningUnderWine()
    {
#if JUCE_WINDOWS
        if (auto* ntdll = ::GetModuleHandleW (L"ntdll.dll"))
            return ::GetProcAddress (ntdll, "wine_get_version") != nullptr;
#endif
        return false;
    }

    double displayRefreshRateHz (const juce::Component& window)
    {
        double hz = 0.0;
#if JUCE_WINDOWS
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
#else
        if (auto* display = juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds()))
            hz = display->verticalFrequencyHz.value_or (0.0);
#endif
        return hz >= 24.0 && hz <= 500.0 ? hz : 60.0;
    }

    RepaintFallback::Environment RepaintFallback::currentEnvironment()
    {
#if JUCE_WINDOWS
        constexpr bool onWindows = true;
#else
        constexpr bool onWindows = false;
#endif
        return { onWindows, []
                 { return runningUnderWine(); },
                 {} };
    }

    RepaintFallback::RepaintFallback (juce::Component& windowToServe, Environment environment)
        : window (windowToServe)
        , clockMs (environment.clockMs != nullptr ? environment.clockMs : []
                       { return juce::Time::getMillisecondCounterHiRes(); })
        , pacing (chooseRepaintMode (environment.onWindows, environment.onWindows && environment.wineProbe != nullptr && environment.wineProbe()),
                  1000.0 / displayRefreshRateHz (windowToServe),
                  clockMs())
    {
        intervalMs = juce::jmax (1, juce::roundToInt (pacing.getFrameMs()));

        if (pacing.getMode() == RepaintMode::framework)
            return;

        if (pacing.getMode() == RepaintMode::whenStalled)
        {
            // Vertical blanks tell whether the framework's path works; input after a stall
            // brings the timer back.
            if ((listenedPeer = window.getPeer()) != nullptr)
                listenedPeer->addVBlankListener (this);

            juce::Desktop::getInstance().addGlobalMouseListener (this);
            window.addKeyListener (this);
        }

        startTimer (intervalMs);
    }

    RepaintFallback::~RepaintFallback()
    {
        stopTimer();

        if (pacing.getMode() == RepaintMode::whenStalled)
        {
            juce::Desktop::getInstance().removeGlobalMouseListener (this);
            window.removeKeyListener (this);
        }

        if (listenedPeer != nullptr && juce::ComponentPeer::isValidPeer (listenedPeer))
            listenedPeer->removeVBlankListener (this);
    }

    double RepaintFallback::nowMs() const
    {
        return clockMs();
    }

    bool RepaintFallback::keyPressed (const juce::KeyPress&, juce::Component*)
    {
        watchForStall();
        return false;
    }

    bool RepaintFallback::keyStateChanged (bool, juce::Component*)
    {
        watchForStall();
        return false;
    }

    void RepaintFallback::onVBlank()
    {
        pacing.vBlankArrived (nowMs());
    }

    void RepaintFallback::watchForStall()
    {
        if (! isTimerRunning() && pacing.shouldDispatch (nowMs()))
            startTimer (intervalMs);
    }

    void RepaintFallback::timerCallback()
    {
        const auto now = nowMs();

        if (pacing.shouldDispatch (now))
        {
            if (auto* peer = window.getPeer())
                peer->performAnyPendingRepaintsNow();
        }
        else if (pacing.framesArriving (now))
        {
            stopTimer();
        }
    }
}

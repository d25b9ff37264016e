#include "app/RepaintFallback.h"

namespace kv::app
{
    double displayRefreshRateHz (const juce::Component& window)
    {
        const auto hz = reportedRefreshRateHz (window);
        return hz >= 24.0 && hz <= 500.0 ? hz : 60.0;
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

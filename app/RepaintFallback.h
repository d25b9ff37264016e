#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

#include "app/RepaintPacing.h"

namespace kv::app
{
    /** True when this Windows process runs under Wine; always false elsewhere. */
    bool runningUnderWine();

    /** The refresh rate of the display that shows the component, 60 Hz when unknown. */
    double displayRefreshRateHz (const juce::Component& window);

    /** What the system says of that rate (RepaintFallbackWindows.cpp, RepaintFallbackPosix.cpp),
        0 when it says nothing. */
    double reportedRefreshRateHz (const juce::Component& window);

    /** Keeps a top-level window's repaints reaching the screen where JUCE 7's vertical-blank
        callbacks never come (under Wine, or on a monitor DXGI does not report), by pushing
        the pending repaints out from a timer at the display's rate. Where the framework's
        own path works, no timer runs. */
    class RepaintFallback final : private juce::Timer,
                                  private juce::ComponentPeer::VBlankListener,
                                  private juce::MouseListener,
                                  private juce::KeyListener
    {
    public:
        struct Environment
        {
            bool onWindows = false;
            std::function<bool()> wineProbe;
            std::function<double()> clockMs; // a steady clock; JUCE's high-resolution counter when empty
        };

        static Environment currentEnvironment();

        /** The window must already be on the desktop. */
        explicit RepaintFallback (juce::Component& window, Environment environment = currentEnvironment());
        ~RepaintFallback() override;

        RepaintMode getMode() const noexcept { return pacing.getMode(); }

        /** True while the timer pushes repaints out. */
        bool isDispatching() const noexcept { return isTimerRunning(); }
        int getDispatchIntervalMs() const noexcept { return intervalMs; }

    private:
        void timerCallback() override;
        void onVBlank() override;
        void mouseMove (const juce::MouseEvent&) override { watchForStall(); }
        void mouseDown (const juce::MouseEvent&) override { watchForStall(); }
        void mouseUp (const juce::MouseEvent&) override { watchForStall(); }
        void mouseDrag (const juce::MouseEvent&) override { watchForStall(); }
        void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override { watchForStall(); }

        // Keys too, so that a keyboard user's screen never freezes; they are never used up here.
        // Every key's release reaches the window, even one a child used.
        bool keyPressed (const juce::KeyPress&, juce::Component*) override;
        bool keyStateChanged (bool isKeyDown, juce::Component*) override;

        void watchForStall();
        double nowMs() const;

        juce::Component& window;
        std::function<double()> clockMs;
        juce::ComponentPeer* listenedPeer = nullptr;
        RepaintPacing pacing;
        int intervalMs = 16;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RepaintFallback)
    };
}

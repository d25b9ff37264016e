#pragma once

namespace kv::app
{
    /** How a window's pending repaints reach the screen. */
    enum class RepaintMode
    {
        framework, // the framework's own path is trusted: nothing is added
        everyFrame, // pending repaints are pushed out at the display's rate, always
        whenStalled // pushed out only while the display's vertical blanks have stopped arriving
    };

    /** On Windows, JUCE 7 hands repaints to the system only on vertical-blank callbacks.
        Wine never delivers them, and real Windows does not either when DXGI has no output
        for the window's monitor. Elsewhere the framework has its own timer. */
    RepaintMode chooseRepaintMode (bool onWindows, bool underWine) noexcept;

    /** The decision made on every frame, kept apart from timers and windows so it can be
        checked on its own. Times are in milliseconds on any steady clock. */
    class RepaintPacing final
    {
    public:
        /** Frames without a vertical blank after which the display counts as stalled. */
        static constexpr double stallFrames = 4.0;

        RepaintPacing (RepaintMode mode, double frameMs, double nowMs) noexcept;

        void vBlankArrived (double nowMs) noexcept;

        /** True when pending repaints must be pushed out now. */
        bool shouldDispatch (double nowMs) const noexcept;

        /** True when the framework's vertical blanks are arriving, so no timer is needed. */
        bool framesArriving (double nowMs) const noexcept;

        RepaintMode getMode() const noexcept { return mode; }
        double getFrameMs() const noexcept { return frameMs; }

    private:
        RepaintMode mode;
        double frameMs;
        double lastVBlankMs;
        bool anyVBlank = false;
    };
}

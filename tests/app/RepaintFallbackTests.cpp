#include <gtest/gtest.h>

#include "app/RepaintFallback.h"

using kv::app::RepaintFallback;
using kv::app::RepaintMode;
using kv::app::RepaintPacing;

TEST (RepaintPath, ChosenFromThePlatformAndTheWineProbe)
{
    EXPECT_FALSE (kv::app::runningUnderWine()); // no ntdll to ask off Windows

    struct Case
    {
        bool onWindows, underWine;
        RepaintMode mode;
        bool timerRuns;
    };

    for (const auto& c : { Case { false, false, RepaintMode::framework, false },
                           Case { false, true, RepaintMode::framework, false },
                           Case { true, true, RepaintMode::everyFrame, true },
                           Case { true, false, RepaintMode::whenStalled, true } })
    {
        SCOPED_TRACE (juce::String (c.onWindows ? "Windows" : "elsewhere") + (c.underWine ? ", Wine" : ""));
        EXPECT_EQ (kv::app::chooseRepaintMode (c.onWindows, c.underWine), c.mode);

        int probes = 0;
        juce::Component window;
        RepaintFallback fallback (window, { c.onWindows, [&]
                                            { ++probes; return c.underWine; } });

        EXPECT_EQ (fallback.getMode(), c.mode);
        EXPECT_EQ (fallback.isDispatching(), c.timerRuns);
        EXPECT_EQ (probes, c.onWindows ? 1 : 0) << "Wine is only asked about on Windows";

        // One frame at the display's rate, 60 Hz when the display does not say.
        EXPECT_GE (fallback.getDispatchIntervalMs(), 2);
        EXPECT_LE (fallback.getDispatchIntervalMs(), 42);
    }
}

TEST (RepaintPath, PacingStandsDownWhileVBlanksArriveAndTakesOverWhenTheyStop)
{
    const double frame = 1000.0 / 60.0;

    RepaintPacing wine (RepaintMode::everyFrame, frame, 0.0);
    wine.vBlankArrived (10.0);
    EXPECT_TRUE (wine.shouldDispatch (10.0));

    RepaintPacing elsewhere (RepaintMode::framework, frame, 0.0);
    EXPECT_FALSE (elsewhere.shouldDispatch (1.0e6));

    RepaintPacing windows (RepaintMode::whenStalled, frame, 0.0);
    EXPECT_FALSE (windows.shouldDispatch (2 * frame)) << "a fresh window gets a few frames";
    EXPECT_FALSE (windows.framesArriving (2 * frame));

    windows.vBlankArrived (3 * frame);
    EXPECT_TRUE (windows.framesArriving (4 * frame));
    EXPECT_FALSE (windows.shouldDispatch (4 * frame));

    // No output for the window's monitor: the blanks stop, the fallback takes over...
    EXPECT_TRUE (windows.shouldDispatch (10 * frame));
    EXPECT_FALSE (windows.framesArriving (10 * frame));

    // ... and stands down again once they return.
    windows.vBlankArrived (11 * frame);
    EXPECT_FALSE (windows.shouldDispatch (11.5 * frame));

    RepaintPacing neverBlanks (RepaintMode::whenStalled, frame, 0.0);
    EXPECT_TRUE (neverBlanks.shouldDispatch (5 * frame));
}

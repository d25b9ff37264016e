#include "app/RepaintPacing.h"

namespace kv::app
{
    RepaintMode chooseRepaintMode (bool onWindows, bool underWine) noexcept
    {
        if (! onWindows)
            return RepaintMode::framework;

        return underWine ? RepaintMode::everyFrame : RepaintMode::whenStalled;
    }

    RepaintPacing::RepaintPacing (RepaintMode modeToUse, double frameDurationMs, double nowMs) noexcept
        : mode (modeToUse)
        , frameMs (frameDurationMs > 0.0 ? frameDurationMs : 1000.0 / 60.0)
        , lastVBlankMs (nowMs)
    {
    }

    void RepaintPacing::vBlankArrived (double nowMs) noexcept
    {
        lastVBlankMs = nowMs;
        anyVBlank = true;
    }

    bool RepaintPacing::framesArriving (double nowMs) const noexcept
    {
        return anyVBlank && nowMs - lastVBlankMs <= stallFrames * frameMs;
    }

    bool RepaintPacing::shouldDispatch (double nowMs) const noexcept
    {
        switch (mode)
        {
            case RepaintMode::framework:
                return false;
            case RepaintMode::everyFrame:
                return true;
            case RepaintMode::whenStalled:
                // A window gets a few frames after it shows before its display counts as stalled.
                return nowMs - lastVBlankMs > stallFrames * frameMs;
        }

        return false;
    }
}

#include "app/RepaintFallback.h"

namespace kv::app
{
    bool runningUnderWine()
    {
        return false;
    }

    double reportedRefreshRateHz (const juce::Component& window)
    {
        if (auto* display = juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds()))
            return display->verticalFrequencyHz.value_or (0.0);

        return 0.0;
    }

    RepaintFallback::Environment RepaintFallback::currentEnvironment()
    {
        return { false, []
                 { return runningUnderWine(); },
                 {} };
    }
}

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The mark around the control that has the keyboard focus. It shows only while the focus
// came from the keyboard, so that mouse users see the screens exactly as before.
namespace focus_mark
{
    // Kept on the top-level component, so that the main screen and its panels agree.
    bool isShown (const juce::Component& anyComponent);
    void setShown (juce::Component& anyComponent, bool shouldShow);

    // Draws the mark around the direct child of owner that has the focus, when shown.
    void paintAround (juce::Graphics&, const juce::Component& owner, float unit);
}

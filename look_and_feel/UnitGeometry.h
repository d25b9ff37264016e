#pragma once

#include <juce_graphics/juce_graphics.h>

// The geometry of every screen: positions and sizes are multiples of the layout unit (a
// hundredth of the main screen's width), so everything scales with the window.
namespace unit_geometry
{
    // roundToInt of each value times the unit (halves go to even: 13.5 gives 14).
    inline juce::Rectangle<int> scaled (float unit, float x, float y, float w, float h)
    {
        return { juce::roundToInt (x * unit), juce::roundToInt (y * unit), juce::roundToInt (w * unit), juce::roundToInt (h * unit) };
    }

    inline juce::Rectangle<float> scaledFloat (float unit, float x, float y, float w, float h)
    {
        return { x * unit, y * unit, w * unit, h * unit };
    }

    // A rectangle shrunk on every side, never below zero size.
    inline juce::Rectangle<float> inset (juce::Rectangle<float> r, float amount)
    {
        return { r.getX() + amount, r.getY() + amount, juce::jmax (0.0f, r.getWidth() - 2.0f * amount), juce::jmax (0.0f, r.getHeight() - 2.0f * amount) };
    }
}

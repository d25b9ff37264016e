#pragma once

#include <juce_graphics/juce_graphics.h>

// The main screen's geometry: everything is a multiple of the unit, one hundredth of the
// screen's width, rounded to whole pixels.
namespace main_layout
{
    inline juce::Rectangle<int> scaled (float x, float y, float w, float h, float unit)
    {
        return { juce::roundToInt (x * unit), juce::roundToInt (y * unit),
                 juce::roundToInt (w * unit), juce::roundToInt (h * unit) };
    }

    // Three columns of two: EULA, MANUAL | WEBSITE, SUPPORT | SETTINGS, CHANGES.
    inline juce::Rectangle<int> extraButton (int k, float unit)
    {
        return scaled (4.0f + 17.0f * (float) (k / 2), 74.0f + 5.0f * (float) (k % 2), 16.0f, 4.0f, unit);
    }

    inline juce::Rectangle<int> formatButton (int i, float unit)
    {
        return scaled (i == 1 ? 51.0f : 4.0f, i == 2 ? 42.0f : 30.0f, 45.0f, 10.0f, unit);
    }

    inline juce::Rectangle<int> installButton (float unit) { return scaled (86.0f, 73.5f, 10.0f, 10.0f, unit); }
    inline juce::Rectangle<int> selectAllButton (float unit) { return scaled (77.0f, 22.0f, 19.0f, 5.0f, unit); }
    inline juce::Rectangle<int> helpLabel (float unit) { return scaled (4.0f, 90.0f, 92.0f, 3.0f, unit); }

    // The area of the format tiles, where the outcome of a pass is shown.
    inline juce::Rectangle<float> outcomeArea (float unit)
    {
        return { 4.0f * unit, 28.0f * unit, 92.0f * unit, 38.0f * unit };
    }

    // A rectangle shrunk on every side, never below zero size.
    inline juce::Rectangle<float> inset (juce::Rectangle<float> r, float amount)
    {
        return { r.getX() + amount, r.getY() + amount,
                 juce::jmax (0.0f, r.getWidth() - 2.0f * amount),
                 juce::jmax (0.0f, r.getHeight() - 2.0f * amount) };
    }
}

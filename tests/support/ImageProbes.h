#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace kv::test
{
    // Largest difference of the three colour channels.
    inline int channelDistance (juce::Colour a, juce::Colour b)
    {
        return juce::jmax (std::abs (a.getRed() - b.getRed()),
                           std::abs (a.getGreen() - b.getGreen()),
                           std::abs (a.getBlue() - b.getBlue()));
    }

    // Within a couple of levels: blending rounds differently from Colour::overlaidWith.
    inline bool looksLike (juce::Colour actual, juce::Colour expected, int tolerance = 2)
    {
        return channelDistance (actual, expected) <= tolerance;
    }

    // How many pixels of an area (clipped to the image) satisfy a test.
    inline int countPixels (const juce::Image& image, juce::Rectangle<int> area, const std::function<bool (juce::Colour)>& test)
    {
        area = area.getIntersection (image.getBounds());
        int count = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += test (image.getPixelAt (x, y)) ? 1 : 0;

        return count;
    }

    inline int countColour (const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour)
    {
        return countPixels (image, area, [colour] (juce::Colour pixel)
                            { return pixel == colour; });
    }

    // A drawable drawn on its own, centred in a transparent image of the given size.
    inline juce::Image drawingOf (juce::Drawable& drawable, int width, int height)
    {
        juce::Image image (juce::Image::ARGB, width, height, true);
        juce::Graphics g (image);
        drawable.drawWithin (g, { 0.0f, 0.0f, (float) width, (float) height }, juce::RectanglePlacement::centred, 1.0f);
        return image;
    }
}

#pragma once

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include "look_and_feel/CustomLookAndFeel.h"
#include "look_and_feel/Palette.h"
#include "panels/OverlayPanel.h"
#include "support/ImageProbes.h"

#include <limits>

namespace kv::test
{
    // Panels are measured and rendered with the application's look and feel, so text
    // comes out in the embedded typeface as it does on screen.
    class PanelTest : public ::testing::Test
    {
    protected:
        void SetUp() override { juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel); }
        void TearDown() override { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }

        CustomLookAndFeel lookAndFeel;
    };

    // As the main screen opens a panel: its unit, then bounds covering the whole screen.
    inline void showAt (OverlayPanel& panel, float unit)
    {
        panel.unit = unit;
        const auto size = juce::roundToInt (100.0f * unit);
        panel.setBounds (0, 0, size, size);
    }

    inline juce::Image render (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    }

    // The smallest rectangle holding every pixel of the area that stands out from the
    // background; empty when nothing is drawn there.
    inline juce::Rectangle<int> inkBounds (const juce::Image& image, juce::Rectangle<int> area,
                                           juce::Colour background = colour_background, int threshold = 12)
    {
        int left = std::numeric_limits<int>::max(), top = left, right = -1, bottom = -1;
        area = area.getIntersection (image.getBounds());

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (channelDistance (image.getPixelAt (x, y), background) > threshold)
                {
                    left = juce::jmin (left, x);
                    top = juce::jmin (top, y);
                    right = juce::jmax (right, x + 1);
                    bottom = juce::jmax (bottom, y + 1);
                }

        if (right < 0)
            return {};

        return { left, top, right - left, bottom - top };
    }

    // The brightest red level in an area: how strongly something light is drawn there.
    inline int brightest (const juce::Image& image, juce::Rectangle<int> area)
    {
        int level = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                level = juce::jmax (level, (int) image.getPixelAt (x, y).getRed());

        return level;
    }

    inline juce::Colour over (juce::Colour background, juce::Colour colour, float alpha)
    {
        return background.overlaidWith (colour.withAlpha (alpha));
    }
}

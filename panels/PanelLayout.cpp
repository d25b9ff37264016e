#include "panels/PanelLayout.h"

#include "look_and_feel/UnitGeometry.h"

namespace panel_layout
{
    namespace
    {
        // A running sum, as the rows were always placed: 16 u, then 1.5 u of gap and 5 u
        // of row for each row above.
        float settingsRowTop (float unit, int row)
        {
            auto y = 16.0f * unit;

            for (int i = 0; i < row; ++i)
                y += 1.5f * unit + 5.0f * unit;

            return y;
        }
    }

    int baseline (float unit, float k)
    {
        return (int) (k * unit);
    }

    juce::Rectangle<int> closeButtonBounds (float unit)
    {
        return unit_geometry::scaled (unit, 88.0f, 1.5f, 8.0f, 8.0f);
    }

    juce::Rectangle<float> closeCircleBounds (juce::Rectangle<float> buttonBounds, float unit)
    {
        return unit_geometry::inset (buttonBounds, 2.0f * unit);
    }

    float closeCircleThickness (float unit)
    {
        return 0.25f * unit;
    }

    juce::Point<int> titleOrigin (float unit)
    {
        return { baseline (unit, 4.0f), baseline (unit, 6.0f) };
    }

    juce::Rectangle<int> bodyBounds (float unit)
    {
        return unit_geometry::scaled (unit, 4.0f, 12.0f, 92.0f, 80.0f);
    }

    juce::Rectangle<int> settingsEditorBounds (float unit, int row)
    {
        return { juce::roundToInt (22.0f * unit), juce::roundToInt (settingsRowTop (unit, row)),
                 juce::roundToInt (56.0f * unit), juce::roundToInt (5.0f * unit) };
    }

    juce::Rectangle<int> settingsBrowseBounds (float unit, int row)
    {
        return { juce::roundToInt (80.0f * unit), juce::roundToInt (settingsRowTop (unit, row)),
                 juce::roundToInt (16.0f * unit), juce::roundToInt (5.0f * unit) };
    }

    juce::Rectangle<float> settingsLabelBounds (juce::Rectangle<float> editorBounds, float unit)
    {
        return { 4.0f * unit, editorBounds.getY(), 16.0f * unit, editorBounds.getHeight() };
    }

    juce::Rectangle<float> settingsProblemBounds (float unit)
    {
        return unit_geometry::scaledFloat (unit, 4.0f, 36.0f, 92.0f, 13.0f);
    }

    juce::Rectangle<int> settingsNoteBounds (float unit)
    {
        return unit_geometry::scaled (unit, 4.0f, 50.0f, 92.0f, 20.0f);
    }

    juce::Rectangle<int> discordButtonBounds (float unit)
    {
        return unit_geometry::scaled (unit, 10.0f, 15.0f, 10.0f, 10.0f);
    }

    juce::Rectangle<int> mailButtonBounds (float unit)
    {
        return unit_geometry::scaled (unit, 10.0f, 35.0f, 10.0f, 10.0f);
    }

    juce::Rectangle<float> discordHeadingBounds (float unit)
    {
        return unit_geometry::scaledFloat (unit, 10.0f, 7.0f, 80.0f, 10.0f);
    }

    juce::Rectangle<float> mailHeadingBounds (float unit)
    {
        return unit_geometry::scaledFloat (unit, 10.0f, 27.0f, 80.0f, 10.0f);
    }

    juce::Rectangle<float> iconBounds (juce::Rectangle<float> buttonBounds, float unit)
    {
        return unit_geometry::inset (buttonBounds, 2.0f * unit);
    }

    juce::Rectangle<int> explanationBounds (juce::Rectangle<float> buttonBounds, float unit)
    {
        return { juce::roundToInt (buttonBounds.getX() + 12.0f * unit), juce::roundToInt (buttonBounds.getY()),
                 juce::roundToInt (70.0f * unit), juce::roundToInt (30.0f * unit) };
    }

    juce::Rectangle<float> aboutHeadingBounds (float unit)
    {
        return unit_geometry::scaledFloat (unit, 10.0f, 57.0f, 80.0f, 10.0f);
    }

    juce::Rectangle<int> aboutTextBounds (float unit)
    {
        return unit_geometry::scaled (unit, 10.0f, 65.0f, 80.0f, 30.0f);
    }

    juce::Point<int> copyrightOrigin (float unit)
    {
        return { baseline (unit, 10.0f), baseline (unit, 88.0f) };
    }
}

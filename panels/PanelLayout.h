#pragma once

#include <juce_graphics/juce_graphics.h>

// Where things sit on the overlay panels. Every position is a multiple of the layout unit
// (a hundredth of the main screen's width), so the panels scale with the window.
namespace panel_layout
{
    // Text baselines are truncated rather than rounded.
    int baseline (float unit, float k);

    // The frame shared by all four panels.
    juce::Rectangle<int> closeButtonBounds (float unit);
    juce::Rectangle<float> closeCircleBounds (juce::Rectangle<float> buttonBounds, float unit);
    float closeCircleThickness (float unit);
    juce::Point<int> titleOrigin (float unit);

    // The licence text box and the release-notes view.
    juce::Rectangle<int> bodyBounds (float unit);

    // Settings panel, one row per format.
    juce::Rectangle<int> settingsEditorBounds (float unit, int row);
    juce::Rectangle<int> settingsBrowseBounds (float unit, int row);
    juce::Rectangle<float> settingsLabelBounds (juce::Rectangle<float> editorBounds, float unit);
    juce::Rectangle<int> settingsNoteBounds (float unit);
    juce::Rectangle<float> settingsProblemBounds (float unit); // under the rows, above the note

    // Support panel.
    juce::Rectangle<int> discordButtonBounds (float unit);
    juce::Rectangle<int> mailButtonBounds (float unit);
    juce::Rectangle<float> discordHeadingBounds (float unit);
    juce::Rectangle<float> mailHeadingBounds (float unit);
    juce::Rectangle<float> iconBounds (juce::Rectangle<float> buttonBounds, float unit);
    juce::Rectangle<int> explanationBounds (juce::Rectangle<float> buttonBounds, float unit);
    juce::Rectangle<float> aboutHeadingBounds (float unit);
    juce::Rectangle<int> aboutTextBounds (float unit);
    juce::Point<int> copyrightOrigin (float unit);
}

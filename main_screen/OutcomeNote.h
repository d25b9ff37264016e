#pragma once

#include <juce_graphics/juce_graphics.h>

// The note the success view shows above its icon (its words come from messages/), fitted
// whole into the free space at every window size.
namespace outcome_note
{
    // The smallest text height the note shrinks to, in units, before it takes room from the icon.
    inline constexpr float floorHeightUnits = 2.0f;

    struct Fitted
    {
        juce::TextLayout text; // wrapped by word, centred, never cut short
        juce::Rectangle<float> textArea;
        juce::Rectangle<float> iconArea; // what is left for the icon under the note
        float textHeight = 0.0f;
    };

    // Wraps the words over the free space above the icon at the largest height from 2.5 units
    // down to the floor that fits; a note that does not fit even then pushes the icon down
    // and makes it smaller. outcomeArea is the success view's area; the icon stands in it
    // reduced by 12 units, "SUCCESS!" at its bottom.
    Fitted fit (const juce::String& words, const juce::Font& font, juce::Rectangle<float> outcomeArea, float unit, juce::Colour colour);
}

#pragma once

#include <juce_graphics/juce_graphics.h>

#include "identity/Formats.h"
#include "install/InstallReport.h"

// The note the success view shows above its icon when copies are still in use: in few
// words, and fitted whole into the free space at every window size.
namespace outcome_note
{
    // What the screen knew before a pass: the installed versions later than the one carried,
    // by format (empty where not), so that the outcome can say an older copy took their place.
    struct NewerCopies
    {
        FormatArray<juce::String> installedVersions;
        juce::String carriedVersion;
    };

    // A sentence for each newer copy replaced, then one for the formats that share a fate,
    // e.g. "The old copies of VST3 and AAX are still in use by a program; ...". Empty when
    // there is nothing to tell.
    juce::String wordsFor (const kv::install::InstallReport& report, const NewerCopies& newer = {});

    // The failure view's words: which formats failed and what to do, and any newer copy that
    // a format which did succeed replaced.
    juce::String failureWordsFor (const kv::install::InstallReport& report, const NewerCopies& newer = {});

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

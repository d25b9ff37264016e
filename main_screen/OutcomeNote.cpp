#include "main_screen/OutcomeNote.h"

#include "look_and_feel/UnitGeometry.h"
#include "look_and_feel/WrappedText.h"

namespace outcome_note
{
    Fitted fit (const juce::String& words, const juce::Font& font, juce::Rectangle<float> outcomeArea, float unit, juce::Colour colour)
    {
        const auto u = unit;
        const auto width = juce::jmax (0.0f, outcomeArea.getWidth() - 4.0f * u);
        const auto iconArea = unit_geometry::inset (outcomeArea, 12.0f * u);
        const auto freeHeight = iconArea.getY() - outcomeArea.getY() - 2.0f * u;

        const auto wrapped = wrapped_text::shrinkToFit (words, font, colour, width, freeHeight, 2.5f * u, floorHeightUnits * u, u,
                                                        juce::Justification::horizontallyCentred);
        Fitted fitted;
        fitted.text = wrapped.text;
        fitted.textHeight = wrapped.textHeight;

        fitted.textArea = { outcomeArea.getX() + 2.0f * u, outcomeArea.getY() + u, width, fitted.text.getHeight() };

        // The icon keeps its place unless the note needs it; it never reaches "SUCCESS!".
        const auto iconTop = juce::jmax (iconArea.getY(), fitted.textArea.getBottom() + u);
        fitted.iconArea = iconArea.withTop (juce::jmin (iconTop, iconArea.getBottom()));
        return fitted;
    }
}

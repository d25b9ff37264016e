#include "look_and_feel/WrappedText.h"

namespace wrapped_text
{
    juce::TextLayout layout (const juce::String& words, const juce::Font& font, juce::Colour colour, float width,
                             juce::Justification justification)
    {
        juce::AttributedString text;
        text.setJustification (justification);
        text.setWordWrap (juce::AttributedString::byWord);

        // Each appended piece starts a token of its own, where a line may break.
        auto start = words.getCharPointer();

        for (auto p = start;; ++p)
        {
            const auto c = *p;

            if (c == 0 || c == '/' || c == '\\')
            {
                auto end = p;

                if (c != 0)
                    ++end;

                if (end != start)
                    text.append (juce::String (start, end), font, colour);

                if (c == 0)
                    break;

                start = end;
            }
        }

        juce::TextLayout result;
        result.createLayout (text, width);
        return result;
    }

    Fitted shrinkToFit (const juce::String& words, const juce::Font& font, juce::Colour colour, float width, float maxHeight,
                        float startHeight, float floorHeight, float unit, juce::Justification justification)
    {
        Fitted fitted;

        for (auto height = startHeight;; height -= 0.1f * unit)
        {
            const auto atFloor = height <= floorHeight + 0.01f * unit;
            fitted.textHeight = atFloor ? floorHeight : height;
            fitted.text = layout (words, font.withHeight (fitted.textHeight), colour, width, justification);

            if (atFloor || fitted.text.getHeight() <= maxHeight)
                return fitted;
        }
    }
}

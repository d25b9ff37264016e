#include "panels/StyledRuns.h"

void appendStyledRuns (juce::AttributedString& attributedString, const juce::String& text,
                       const juce::Font& regularFont, const juce::Font& boldFont, const juce::Font& italicFont,
                       juce::Colour colour)
{
    juce::String pending;

    const auto flushPending = [&]
    {
        if (pending.isNotEmpty())
            attributedString.append (pending, regularFont, colour);

        pending.clear();
    };

    const auto length = text.length();
    int i = 0;

    while (i < length)
    {
        if (i + 1 < length && text[i] == '*' && text[i + 1] == '*')
        {
            const auto close = text.indexOf (i + 2, "**");

            if (close > i + 2)
            {
                flushPending();
                attributedString.append (text.substring (i + 2, close), boldFont, colour);
                i = close + 2;
                continue;
            }
        }

        if (text[i] == '*')
        {
            const auto close = text.indexOfChar (i + 1, '*');

            if (close > i + 1)
            {
                flushPending();
                attributedString.append (text.substring (i + 1, close), italicFont, colour);
                i = close + 1;
                continue;
            }
        }

        pending += text[i];
        ++i;
    }

    flushPending();
}

#include "panels/ChangelogLayout.h"

#include "look_and_feel/Palette.h"
#include "panels/StyledRuns.h"

namespace
{
    constexpr int bold = juce::Font::bold;
    constexpr int italic = juce::Font::italic;

    // Headings are bold already, so their emphasis only adds italic.
    ChangelogItemStyle headingStyle (float height, float spaceBefore, float spaceAfter)
    {
        return { juce::Font (height, bold), juce::Font (height, bold), juce::Font (height, bold | italic),
                 colour_text, spaceBefore, spaceAfter, 0.0f };
    }

    ChangelogItemStyle bodyStyle (float unit, float indent)
    {
        const auto height = 3.0f * unit;
        return { juce::Font (height, juce::Font::plain), juce::Font (height, bold), juce::Font (height, italic),
                 colour_text_dim, 0.0f, 0.3f * unit, indent };
    }
}

ChangelogItemStyle styleFor (ChangelogItemKind kind, float unit)
{
    switch (kind)
    {
        case ChangelogItemKind::heading1: return headingStyle (5.0f * unit, 1.5f * unit, 0.6f * unit);
        case ChangelogItemKind::heading2: return headingStyle (4.0f * unit, 1.0f * unit, 0.5f * unit);
        case ChangelogItemKind::heading3: return headingStyle (3.5f * unit, 0.8f * unit, 0.4f * unit);
        case ChangelogItemKind::bullet: return bodyStyle (unit, 4.0f * unit);
        case ChangelogItemKind::paragraph:
        case ChangelogItemKind::spacer:
        default: return bodyStyle (unit, 0.0f);
    }
}

ChangelogLayout layoutChangelogItems (const std::vector<ChangelogItem>& items, int width, float unit)
{
    ChangelogLayout layout;
    auto y = unit;

    for (const auto& item : items)
    {
        if (item.kind == ChangelogItemKind::spacer)
        {
            layout.items.push_back ({ ChangelogItemKind::spacer, {}, y, 1.5f * unit, 0.0f });
            y += 1.5f * unit;
            continue;
        }

        const auto style = styleFor (item.kind, unit);

        juce::AttributedString text;
        text.setJustification (juce::Justification::topLeft);
        text.setWordWrap (juce::AttributedString::byWord);
        appendStyledRuns (text, item.text, style.regularFont, style.boldFont, style.italicFont, style.colour);

        juce::TextLayout textLayout;
        textLayout.createLayout (text, (float) width - style.indent - unit);
        const auto height = textLayout.getHeight();

        layout.items.push_back ({ item.kind, text, y + style.spaceBefore, height, style.indent });
        y += style.spaceBefore + height + style.spaceAfter;
    }

    layout.height = juce::roundToInt (y + unit);
    return layout;
}

juce::Rectangle<float> textAreaFor (const LaidOutItem& item, int contentWidth, float unit)
{
    return { item.indent, item.y, (float) contentWidth - item.indent - unit, item.height + unit };
}

juce::Rectangle<int> bulletGlyphBounds (float itemY, float unit)
{
    return { juce::roundToInt (0.5f * unit), juce::roundToInt (itemY),
             juce::roundToInt (3.0f * unit), juce::roundToInt (3.5f * unit) };
}

juce::Font bulletGlyphFont (float unit)
{
    return juce::Font (3.0f * unit, juce::Font::bold);
}

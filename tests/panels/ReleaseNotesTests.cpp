#include "BinaryData.h"
#include "panels/ChangelogLayout.h"
#include "panels/StyledRuns.h"
#include "panels/panel_changelog.h"
#include "PanelTestSupport.h"

using Kind = ChangelogItemKind;

namespace
{
    using PanelReleaseNotes = kv::test::PanelTest;

    std::vector<Kind> kindsOf (const std::vector<ChangelogItem>& items)
    {
        std::vector<Kind> kinds;

        for (const auto& item : items)
            kinds.push_back (item.kind);

        return kinds;
    }

    const juce::String shippedShape = "# Strandline2 Release Notes\r\n\r\n## Version 2.3.0 (2026-11-20)\r\n\r\n"
                                      "- one\r\n- two\r\n- three\r\n- four\r\n- five\r\n- six\r\n- seven\r\n- eight\r\n- nine\r\n";

    // "text|bi" per run: the run's text, then b and/or i for its style.
    juce::StringArray runsOf (const juce::String& markdown)
    {
        juce::AttributedString s;
        appendStyledRuns (s, markdown, juce::Font (18.0f, juce::Font::plain), juce::Font (18.0f, juce::Font::bold),
                          juce::Font (18.0f, juce::Font::italic), colour_text_dim);
        juce::StringArray runs;

        for (int i = 0; i < s.getNumAttributes(); ++i)
        {
            const auto& attribute = s.getAttribute (i);
            EXPECT_EQ (attribute.colour, colour_text_dim);
            runs.add (s.getText().substring (attribute.range.getStart(), attribute.range.getEnd()) + "|"
                      + (attribute.font.isBold() ? "b" : "") + (attribute.font.isItalic() ? "i" : ""));
        }

        return runs;
    }
}

TEST (PanelReleaseNotesParsing, ShippedShapeGivesVersionHeadingAndBullets)
{
    std::vector<Kind> expected { Kind::heading2, Kind::spacer };
    expected.insert (expected.end(), 9, Kind::bullet);
    expected.push_back (Kind::spacer);

    const auto items = parseNotes (shippedShape);
    EXPECT_EQ (kindsOf (items), expected);
    EXPECT_EQ (items[0].text, "Version 2.3.0 (2026-11-20)");
    EXPECT_EQ (items[10].text, "nine");

    // The notes the installer carries have that shape too.
    EXPECT_EQ (kindsOf (parseNotes (juce::String::createStringFromData (BinaryData::CHANGELOG_md, BinaryData::CHANGELOG_mdSize))), expected);
}

TEST (PanelReleaseNotesParsing, PrefixesDecideTheKindAfterTrimming)
{
    const auto items = parseNotes ("Title\n# One\n## Two\n### Three\n#### Four\n#NoSpace\n* Star\n  - Indented\n-  Two spaces\n-dash\nPlain \t");

    EXPECT_EQ (kindsOf (items), (std::vector<Kind> { Kind::heading1, Kind::heading2, Kind::heading3, Kind::paragraph, Kind::paragraph,
                                                     Kind::bullet, Kind::bullet, Kind::bullet, Kind::paragraph, Kind::paragraph }));

    const juce::StringArray texts { "One", "Two", "Three", "#### Four", "#NoSpace", "Star", "Indented", " Two spaces", "-dash", "Plain" };

    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ (items[i].text, texts[(int) i]);
}

TEST (PanelReleaseNotesParsing, BlankLinesCollapseAndNeverLeadTheItems)
{
    EXPECT_EQ (kindsOf (parseNotes ("Title\n- a\n\n\n\n- b")), (std::vector<Kind> { Kind::bullet, Kind::spacer, Kind::bullet }));
    EXPECT_EQ (kindsOf (parseNotes ("\n\n  \nTitle\n\n\nText")), (std::vector<Kind> { Kind::paragraph }));
    EXPECT_EQ (kindsOf (parseNotes ("Title\r\rText\r\n \t \r\nMore")), (std::vector<Kind> { Kind::paragraph, Kind::spacer, Kind::paragraph }));
    EXPECT_TRUE (parseNotes ("## Only a title\r\n").empty());
    EXPECT_TRUE (parseNotes ({}).empty());
}

TEST (PanelReleaseNotesRuns, EmphasisBecomesRunsAndLoneAsterisksStay)
{
    EXPECT_EQ (runsOf ("Use **bold** and *italic* here"), juce::StringArray ("Use |", "bold|b", " and |", "italic|i", " here|"));

    for (auto text : { "a ** b", "****", "*", "a * b", "**open", "2 * 3 = 6" })
        EXPECT_EQ (runsOf (text), juce::StringArray (juce::String (text) + "|"));

    // An unclosed double asterisk can still open an italic span with its second star.
    EXPECT_EQ (runsOf ("**x*"), juce::StringArray ("*|", "x|i"));
    EXPECT_TRUE (runsOf ("").isEmpty());
}

TEST_F (PanelReleaseNotes, ItemsStackWithTheirSpacingIndentsAndWrappingWidth)
{
    const auto longText = juce::String::repeatedString ("wrapping words ", 60);
    const std::vector<ChangelogItem> items { { Kind::heading1, "Title" }, { Kind::paragraph, longText }, { Kind::spacer, {} }, { Kind::bullet, longText }, { Kind::heading3, "Small" } };
    const auto layout = layoutChangelogItems (items, 552, 6.0f);
    const auto& laid = layout.items;
    ASSERT_EQ (laid.size(), 5u);

    // One unit of top margin, then each kind's space before and after.
    EXPECT_FLOAT_EQ (laid[0].y, 6.0f + 9.0f);
    EXPECT_FLOAT_EQ (laid[1].y, laid[0].y + laid[0].height + 3.6f);
    EXPECT_FLOAT_EQ (laid[2].y, laid[1].y + laid[1].height + 1.8f);
    EXPECT_FLOAT_EQ (laid[3].y, laid[2].y + 9.0f);
    EXPECT_FLOAT_EQ (laid[4].y, laid[3].y + laid[3].height + 1.8f + 4.8f);
    EXPECT_EQ (layout.height, juce::roundToInt (laid[4].y + laid[4].height + 2.4f + 6.0f));

    EXPECT_EQ (textAreaFor (laid[1], 552, 6.0f), juce::Rectangle<float> (0.0f, laid[1].y, 546.0f, laid[1].height + 6.0f));
    EXPECT_EQ (textAreaFor (laid[3], 552, 6.0f), juce::Rectangle<float> (24.0f, laid[3].y, 522.0f, laid[3].height + 6.0f));
    EXPECT_EQ (bulletGlyphBounds (laid[3].y, 6.0f), juce::Rectangle<int> (3, juce::roundToInt (laid[3].y), 18, 21));

    // Heights are those of the text wrapped at exactly those widths.
    const auto heightAt = [] (const juce::AttributedString& text, float width)
    {
        juce::TextLayout textLayout;
        textLayout.createLayout (text, width);
        return textLayout.getHeight();
    };
    EXPECT_FLOAT_EQ (laid[1].height, heightAt (laid[1].text, 546.0f));
    EXPECT_FLOAT_EQ (laid[3].height, heightAt (laid[3].text, 522.0f));
    EXPECT_GT (laid[1].height, 18.0f * 4);

    EXPECT_TRUE (laid[0].text.getAttribute (0).font.isBold());
    EXPECT_EQ (laid[0].text.getAttribute (0).colour, colour_text);
}

TEST_F (PanelReleaseNotes, PanelShowsTheNotesInAVerticalOnlyViewport)
{
    panel_changelog panel (shippedShape, "Strandline2");
    kv::test::showAt (panel, 6.0f);

    EXPECT_EQ (panel.viewport->getBounds(), juce::Rectangle<int> (24, 72, 552, 480));
    EXPECT_EQ (panel.viewport->getViewedComponent(), panel.content.get());
    EXPECT_EQ (panel.content->getWidth(), 552);
    ASSERT_EQ (panel.content->laidOutItems.size(), 12u);
    EXPECT_FLOAT_EQ (panel.content->laidOutItems[0].y, 6.0f + 6.0f);
    EXPECT_FALSE (panel.viewport->getVerticalScrollBar().isVisible());

    // The bullet glyph sits in its margin, the text right of it.
    const auto image = kv::test::render (*panel.content);
    const auto glyphArea = bulletGlyphBounds (panel.content->laidOutItems[2].y, 6.0f);
    const auto clear = juce::Colours::transparentBlack;
    const auto glyph = kv::test::inkBounds (image, glyphArea.withX (0).withWidth (24), clear);
    EXPECT_FALSE (glyph.isEmpty());
    EXPECT_TRUE (glyphArea.contains (glyph));
    EXPECT_GE (kv::test::inkBounds (image, glyphArea.withX (24).withWidth (528), clear).getX(), 24);

    panel_changelog longNotes ("# T\n" + juce::String::repeatedString ("- A line of the notes that goes on\n", 60), "Strandline2");
    kv::test::showAt (longNotes, 6.0f);
    EXPECT_TRUE (longNotes.viewport->getVerticalScrollBar().isVisible());
    EXPECT_FALSE (longNotes.viewport->getHorizontalScrollBar().isVisible());
}

TEST_F (PanelReleaseNotes, EmptyNotesLeaveAnEmptyViewTwoUnitsHigh)
{
    panel_changelog panel ({}, "Strandline2");
    kv::test::showAt (panel, 6.0f);
    EXPECT_EQ (panel.content->getHeight(), 12);
    EXPECT_TRUE (kv::test::inkBounds (kv::test::render (panel), panel.viewport->getBounds()).isEmpty());
}

#pragma once

#include "panels/ReleaseNotes.h"

#include <juce_graphics/juce_graphics.h>

// How each kind of release-notes item looks, and where the items land for a given width.

struct ChangelogItemStyle
{
    juce::Font regularFont;
    juce::Font boldFont;
    juce::Font italicFont;
    juce::Colour colour;
    float spaceBefore = 0.0f;
    float spaceAfter = 0.0f;
    float indent = 0.0f;
};

// Not meaningful for spacers, which have no text.
ChangelogItemStyle styleFor (ChangelogItemKind kind, float unit);

struct LaidOutItem
{
    ChangelogItemKind kind = ChangelogItemKind::spacer;
    juce::AttributedString text;
    float y = 0.0f;
    float height = 0.0f;
    float indent = 0.0f;
};

struct ChangelogLayout
{
    std::vector<LaidOutItem> items;
    int height = 0;
};

// A margin of one unit above, below and to the right of the text.
ChangelogLayout layoutChangelogItems (const std::vector<ChangelogItem>& items, int width, float unit);

// Where an item's text is laid out and drawn; its width is the wrapping width.
juce::Rectangle<float> textAreaFor (const LaidOutItem& item, int contentWidth, float unit);

// The bullet glyph in the margin left of a bullet's text.
juce::Rectangle<int> bulletGlyphBounds (float itemY, float unit);
juce::Font bulletGlyphFont (float unit);

#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// The release notes are written in a small Markdown subset: headings, bullets, paragraphs
// and blank lines, with **bold** and *italic* inside a line.

enum class ChangelogItemKind : int
{
    heading1 = 0,
    heading2 = 1,
    heading3 = 2,
    paragraph = 3,
    bullet = 4,
    spacer = 5
};

struct ChangelogItem
{
    ChangelogItemKind kind = ChangelogItemKind::paragraph;
    juce::String text;
};

// One item per non-blank line, one spacer per run of blank lines. The document's first line
// is its own title and is dropped: the panel shows a title of its own.
std::vector<ChangelogItem> parseNotes (const juce::String& notes);

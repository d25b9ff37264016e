#include "panels/ReleaseNotes.h"

namespace
{
    ChangelogItem classify (const juce::String& line)
    {
        // Longest prefix first, so "## " is not taken for "# ".
        if (line.startsWith ("### "))
            return { ChangelogItemKind::heading3, line.substring (4) };

        if (line.startsWith ("## "))
            return { ChangelogItemKind::heading2, line.substring (3) };

        if (line.startsWith ("# "))
            return { ChangelogItemKind::heading1, line.substring (2) };

        if (line.startsWith ("- ") || line.startsWith ("* "))
            return { ChangelogItemKind::bullet, line.substring (2) };

        return { ChangelogItemKind::paragraph, line };
    }
}

std::vector<ChangelogItem> parseNotes (const juce::String& notes)
{
    juce::StringArray lines;
    lines.addLines (notes);

    std::vector<ChangelogItem> items;
    bool titleSeen = false;

    for (const auto& rawLine : lines)
    {
        const auto line = rawLine.trimStart().trimEnd();

        if (line.isEmpty())
        {
            if (titleSeen && ! items.empty() && items.back().kind != ChangelogItemKind::spacer)
                items.push_back ({ ChangelogItemKind::spacer, {} });

            continue;
        }

        if (! titleSeen)
        {
            titleSeen = true;
            continue;
        }

        items.push_back (classify (line));
    }

    return items;
}

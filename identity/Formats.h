#pragma once

#include <juce_core/juce_core.h>

#include "identity/FormatTable.h"

// The format table's columns as JUCE strings, for the code that compares and joins them.
namespace format_columns
{
    template <typename Member>
    juce::StringArray of (Member member)
    {
        juce::StringArray column;
        for (const auto& format : formatTable)
            column.add (format.*member);
        return column;
    }
}

inline const juce::StringArray formatNames = format_columns::of (&FormatFacts::name);
inline const juce::StringArray formatExtensions = format_columns::of (&FormatFacts::extension);
inline const juce::StringArray formatArchiveNames = format_columns::of (&FormatFacts::archiveFileName);

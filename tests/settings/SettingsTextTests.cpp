#include <gtest/gtest.h>

#include "settings/SettingsText.h"

TEST (SettingsText, ElementCountIsAnUpperBoundFakedClosingsCannotLower)
{
    EXPECT_EQ (settings::countElementTags ("<?xml version=\"1.0\"?>\r\n\r\n<Plugin_Manager_Settings a=\"1\"/>"), 1);
    EXPECT_EQ (settings::countElementTags ("<!-- x --><a><b/></a>"), 2);
    EXPECT_EQ (settings::countElementTags ("<a x=\"</\"><a x=\"/>\"><a/>"), 3);
    EXPECT_EQ (settings::countElementTags ("no markup"), 0);
}

TEST (SettingsText, CharacterReferencesOutsideUnicodeAreFound)
{
    for (const auto* reference : { "&#x80000000;", "&#x110000;", "&#xD800;", "&#4294967295;" })
    {
        const auto inValue = juce::parseXML (juce::String ("<a v=\"C:/") + reference + "\"/>");
        ASSERT_NE (inValue, nullptr) << reference;
        EXPECT_FALSE (settings::holdsOnlyWellFormedText (*inValue)) << reference;
    }

    // In text, the parser drops a reference that encodes as an overlong NUL; the others stay.
    for (const auto* reference : { "&#x110000;", "&#xD800;", "&#4294967295;" })
    {
        const auto inNestedText = juce::parseXML (juce::String ("<a v=\"ok\"><b>") + reference + "</b></a>");
        ASSERT_NE (inNestedText, nullptr) << reference;
        EXPECT_FALSE (settings::holdsOnlyWellFormedText (*inNestedText)) << reference;
    }

    const auto fine = juce::parseXML ("<a v=\"&#xE9;&#x1F3B9;&amp;\"><b c=\"&#10;\">t&#233;xt</b></a>");
    ASSERT_NE (fine, nullptr);
    EXPECT_TRUE (settings::holdsOnlyWellFormedText (*fine));
}

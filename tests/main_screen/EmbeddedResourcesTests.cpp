#include <gtest/gtest.h>

#include "look_and_feel/EmbeddedDrawables.h"
#include "main_screen/EmbeddedResources.h"

TEST (Identity, LicenceTextIsPlainWithEightParagraphs)
{
    EXPECT_FALSE (eulaText.containsChar ('\r'));
    EXPECT_FALSE (eulaText.endsWithChar ('\n'));
    EXPECT_EQ (juce::StringArray::fromTokens (eulaText.replace ("\n\n", "\x01"), "\x01", {}).size(), 8);
    EXPECT_FALSE (eulaText.contains ("\n\n\n"));
    EXPECT_GT (eulaText.length(), 4000);

    for (auto c : eulaText)
        EXPECT_LT ((int) c, 128);
}

namespace
{
    juce::MemoryBlock sourceBytes (const juce::String& relativePath)
    {
        juce::MemoryBlock block;
        juce::File (KV_TEST_SOURCE_DIR).getChildFile (relativePath).loadFileAsData (block);
        return block;
    }

    bool sameBytes (const char* data, int size, const juce::MemoryBlock& expected)
    {
        return (size_t) size == expected.getSize() && std::memcmp (data, expected.getData(), (size_t) size) == 0;
    }
}

TEST (EmbeddedResources, HoldExactlyTheBytesOfTheirFiles)
{
    EXPECT_TRUE (sameBytes (BinaryData::CHANGELOG_md, BinaryData::CHANGELOG_mdSize, sourceBytes ("resources/CHANGELOG.md")));
    EXPECT_TRUE (sameBytes (BinaryData::icon_install_svg, BinaryData::icon_install_svgSize, sourceBytes ("resources/icon_install.svg")));
    EXPECT_TRUE (sameBytes (BinaryData::logo_korvane_svg, BinaryData::logo_korvane_svgSize, sourceBytes ("resources/logo_korvane.svg")));

    juce::MemoryBlock archive;
    juce::File (KV_TEST_ARCHIVE_DIR).getChildFile ("vst3.zip").loadFileAsData (archive);
    EXPECT_TRUE (sameBytes (BinaryData::vst3_zip, BinaryData::vst3_zipSize, archive));

    // Text resources stay null-terminated past their counted size, as JUCE's own are.
    EXPECT_EQ (BinaryData::CHANGELOG_md[BinaryData::CHANGELOG_mdSize], '\0');
}

TEST (EmbeddedResources, EverySvgLoadsAndTheFontIsAccepted)
{
    const std::pair<const char*, int> svgs[] = {
        { BinaryData::icon_vst3_svg, BinaryData::icon_vst3_svgSize },
        { BinaryData::icon_clap_svg, BinaryData::icon_clap_svgSize },
        { BinaryData::icon_aax_svg, BinaryData::icon_aax_svgSize },
        { BinaryData::icon_install_svg, BinaryData::icon_install_svgSize },
        { BinaryData::icon_discord_svg, BinaryData::icon_discord_svgSize },
        { BinaryData::icon_mail_svg, BinaryData::icon_mail_svgSize },
        { BinaryData::icon_warning_svg, BinaryData::icon_warning_svgSize },
        { BinaryData::logo_korvane_svg, BinaryData::logo_korvane_svgSize },
    };

    for (const auto& [data, size] : svgs)
    {
        auto drawable = loadEmbeddedDrawable (data, size);
        ASSERT_NE (drawable, nullptr);
        EXPECT_FALSE (drawable->getDrawableBounds().isEmpty());
    }

    auto typeface = juce::Typeface::createSystemTypefaceFor (BinaryData::SFProRoundedRegular_otf,
                                                             (size_t) BinaryData::SFProRoundedRegular_otfSize);
    ASSERT_NE (typeface, nullptr);
    EXPECT_GT (juce::Font (typeface).withHeight (20.0f).getStringWidthFloat ("PLUGIN MANAGER"), 50.0f);
}

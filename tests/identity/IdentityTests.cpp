#include <gtest/gtest.h>

#include "identity/EmbeddedResources.h"
#include "identity/ProductIdentity.h"

TEST (Identity, PaletteIsOpaqueAndCaseInsensitive)
{
    for (const auto& colour : { colour_background, colour_surface, colour_text, colour_text_dim,
                                colour_green, colour_blue, colour_yellow, colour_orange })
        EXPECT_EQ (colour.getAlpha(), 0xff);

    EXPECT_EQ (colour_green, makePaletteColour ("86CF7A"));
    EXPECT_EQ (colour_blue, makePaletteColour ("0094D8"));
    EXPECT_EQ (colour_green.getARGB(), 0xFF86CF7Au);
    EXPECT_EQ (colour_text_dim.getARGB(), 0xFFAAA6A6u);
    EXPECT_EQ (colour_text_dim.withAlpha (0.5f).getARGB(), 0x80AAA6A6u);
}

TEST (Identity, FormatIndexSelectsEverythingTogether)
{
    ASSERT_EQ (formatNames.size(), 3);
    ASSERT_EQ (formatExtensions.size(), 3);
    EXPECT_EQ (formatNames[1], "CLAP");
    EXPECT_EQ (formatExtensions[1], ".clap");
    EXPECT_EQ (formatNames[2], "AAX");
    EXPECT_EQ (formatExtensions[2], ".aaxplugin");
    int clapResource = -1;
    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
        if (juce::String (BinaryData::namedResourceList[i]) == "clap_zip")
            clapResource = i;

    ASSERT_GE (clapResource, 0);
    EXPECT_EQ (juce::String (BinaryData::originalFilenames[clapResource]), "clap.zip");
    EXPECT_EQ (extraButtonNames.joinIntoString (","), "EULA,MANUAL,WEBSITE,SUPPORT,SETTINGS,CHANGES");
}

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

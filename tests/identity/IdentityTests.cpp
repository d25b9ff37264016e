#include <gtest/gtest.h>

#include "identity/Formats.h"
#include "main_screen/Commands.h"
#include "main_screen/EmbeddedResources.h"

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

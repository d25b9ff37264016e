#include "platform/Registry.h"
#include "registration/Registration.h"
#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;

// The window keeps the keys true too, and /UNINSTALL opens it ready to remove what is there.
TEST_F (Fixture, TheWindowsPassesRewriteTheKeysAndUninstallModeRemovesTheInstalledFormats)
{
    auto& s = build();
    EXPECT_FALSE (kv::platform::registry::readKey (kv::registration::detectionKey()).has_value());

    s.formatSelected = { true, false, true };
    click ("INSTALL");
    ASSERT_TRUE (s.installReport.succeeded());

    const auto keys = kv::platform::registry::readKey (kv::registration::detectionKey());
    ASSERT_TRUE (keys.has_value());
    std::map<juce::String, juce::String> values;
    for (const auto& value : *keys)
        values[value.name] = value.isNumber ? juce::String (value.number) : value.text;
    EXPECT_EQ (values["VST3Installed"], "1");
    EXPECT_EQ (values["CLAPInstalled"], "0");
    EXPECT_EQ (values["AAXPath"], defaultBundle (2).getFullPathName());
    EXPECT_TRUE (kv::registration::keptInstaller().existsAsFile());
    EXPECT_TRUE (kv::platform::registry::readKey (kv::registration::uninstallKey()).has_value());

    // Started again from the entry's UninstallString: the installed formats, and only they, are
    // selected, and INSTALL uninstalls without Shift.
    auto& again = build();
    again.startInUninstallMode();
    EXPECT_EQ (again.formatSelected, (FormatArray<bool> { true, false, true }));
    EXPECT_EQ (dynamic_cast<InvisibleButton*> (button ("INSTALL"))->liveTitle(), "Uninstall");
    click ("INSTALL");
    EXPECT_TRUE (again.installReport.uninstall);
    EXPECT_FALSE (defaultBundle (0).exists());
    EXPECT_FALSE (defaultBundle (2).exists());
    EXPECT_FALSE (kv::platform::registry::readKey (kv::registration::detectionKey()).has_value());
    EXPECT_FALSE (kv::platform::registry::readKey (kv::registration::uninstallKey()).has_value());
    EXPECT_FALSE (kv::registration::keptInstallerFolder().exists());
}

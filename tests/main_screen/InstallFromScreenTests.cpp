#include "main_screen/OutcomeNote.h"
#include "messages/Messages.h"
#include "platform/InstalledVersion.h"
#include "tools/payload/PeModuleWriter.h"
#include "platform/InstallerLock.h"
#include "support/MainScreenFixture.h"

using namespace kv::install;

using Fixture = kv::test::MainScreenFixture;

namespace
{
    void expectFinishedPass (kv::test::MainScreenFixture& f)
    {
        EXPECT_TRUE (f.screen->installDone);

        for (const juce::String name : { "VST3", "CLAP", "AAX", "SELECT_ALL", "INSTALL" })
            EXPECT_FALSE (f.button (name)->isVisible()) << name;

        for (const auto& name : extraButtonNames)
            EXPECT_TRUE (f.button (name)->isVisible()) << name;
    }
}

TEST_F (Fixture, NothingSelectedTouchesNothingAndStillFinishes)
{
    auto& s = build();
    const auto before = sandbox.root().findChildFiles (juce::File::findFilesAndDirectories, true).size();

    // With nothing to do, another installer's pass is no reason to wait or to fail.
    {
        kv::platform::InstallerLock otherInstaller (s.productName, 0);
        ASSERT_TRUE (otherInstaller.isHeld());
        click ("INSTALL");
    }

    expectFinishedPass (*this);
    EXPECT_TRUE (s.installReport.succeeded()) << kv::messages::failureDetails (s.installReport);
    EXPECT_FALSE (s.installReport.anotherInstallerRunning);
    EXPECT_EQ (sandbox.root().findChildFiles (juce::File::findFilesAndDirectories, true).size(), before);
}

TEST_F (Fixture, FormatsAreInstalledInIndexOrderWhateverTheClickOrder)
{
    auto& s = build();
    click ("AAX");
    click ("VST3");
    click ("INSTALL");

    ASSERT_EQ (s.installReport.outcomes.size(), 2u);
    EXPECT_EQ (s.installReport.outcomes[0].formatIndex, 0);
    EXPECT_EQ (s.installReport.outcomes[1].formatIndex, 2);
    EXPECT_TRUE (s.installReport.succeeded());
    EXPECT_TRUE (defaultBundle (0).getChildFile ("Contents/x86_64-win/Strandline2.vst3").existsAsFile());
    EXPECT_TRUE (defaultBundle (2).getChildFile ("Contents/x64/Strandline2.aaxplugin").existsAsFile());
    EXPECT_FALSE (defaultBundle (1).exists());
    EXPECT_FALSE (s.formatSelected[0] || s.formatSelected[1] || s.formatSelected[2]);
    expectFinishedPass (*this);

    // The next start reads the installed module's version.
    build();
    EXPECT_EQ (screen->statusOf (0).status, FormatStatus::installed);
    EXPECT_EQ (screen->statusOf (0).version, "2.3.0.0");
    EXPECT_EQ (install_status::statusText (screen->statusOf (0)), "v2.3.0.0 INSTALLED");
    EXPECT_TRUE (screen->formatSelected[0] && screen->formatSelected[2]);
}

TEST_F (Fixture, ANewerCopyIsReplacedOnlyWhenAskedForAndTheOutcomeSaysSo)
{
    const auto module = defaultBundle (0).getChildFile ("Contents/x86_64-win/Strandline2.vst3");
    kv::payload::ModuleOptions later;
    later.version = kv::payload::ModuleVersion { 3, 0, 0, 0 };
    const auto bytes = kv::payload::makeModule (later);
    kv::test::writeBytes (module, bytes.data(), bytes.size());
    auto& s = build();

    EXPECT_FALSE (s.formatSelected[0]) << "a newer copy must not be pre-selected";
    EXPECT_FALSE (button ("VST3")->getToggleState());
    EXPECT_EQ (install_status::statusText (s.statusOf (0)), "v3.0.0.0 INSTALLED");

    // What the help line and a screen reader say are one text.
    const juce::String help = "Select to replace VST3 3.0.0.0 with the older 2.3.0";
    auto handler = dynamic_cast<InvisibleButton*> (button ("VST3"))->createAccessibilityHandler();
    EXPECT_EQ (handler->getHelp(), help);
    EXPECT_EQ (handler->getDescription(), "v3.0.0.0 INSTALLED");

    // Nothing selected: the newer copy stays.
    click ("INSTALL");
    EXPECT_EQ (kv::platform::readFileVersion (module), "3.0.0.0");

    build();
    click ("VST3");
    click ("INSTALL");
    ASSERT_TRUE (screen->installReport.succeeded()) << kv::messages::failureDetails (screen->installReport);
    EXPECT_EQ (kv::platform::readFileVersion (module), "2.3.0.0");

    const juce::String sentence = "VST3 3.0.0.0 was replaced with the older 2.3.0.";
    EXPECT_TRUE (screen->outcomeText->getDescription().contains (sentence)) << screen->outcomeText->getDescription();
    const auto notePixels = kv::test::countPixels (render(), { 24, 168, 552, 60 }, [] (juce::Colour pixel)
                                                   { return kv::test::looksLike (pixel, colour_yellow, 8); });
    EXPECT_GT (notePixels, 50) << "the success view shows the note above its icon";
}

TEST_F (Fixture, ShiftClickRightAfterStartRemovesEveryInstalledFormat)
{
    defaultBundle (0).getChildFile ("Contents/x86_64-win/Strandline2.vst3").create();
    kv::test::writeText (defaultBundle (1), "clap");
    sandbox.makerFolder().createDirectory();
    auto& s = build();
    ASSERT_TRUE (sandbox.settingsFile().existsAsFile());

    s.modifierKeysChanged (juce::ModifierKeys (juce::ModifierKeys::shiftModifier));
    click ("INSTALL");

    EXPECT_TRUE (s.installReport.succeeded());
    EXPECT_TRUE (s.installReport.uninstall);
    EXPECT_FALSE (defaultBundle (0).exists());
    EXPECT_FALSE (defaultBundle (1).exists());
    EXPECT_TRUE (defaultDestination (0).isDirectory());
    EXPECT_TRUE (defaultDestination (1).isDirectory());
    EXPECT_TRUE (sandbox.settingsFile().existsAsFile());
    expectFinishedPass (*this);
}

TEST_F (Fixture, AFailedPassShowsTheFailureViewNotSuccess)
{
    kv::test::writeText (sandbox.settingsFile(), "<Plugin_Manager_Settings VST3_Path=\"D:/Blocked/VST3\" CLAP_Path=\"\" AAX_Path=\"D:/AAX\"/>");
    kv::test::writeText (sandbox.windowsPath ("D:/Blocked"), "a file where a folder must be");
    auto& s = build();
    click ("SELECT_ALL");
    click ("INSTALL");

    ASSERT_EQ (s.installReport.outcomes.size(), 3u);
    EXPECT_EQ (s.installReport.outcomes[0].problem, InstallProblem::destinationNotCreatable);
    EXPECT_EQ (s.installReport.outcomes[1].problem, InstallProblem::noDestination);
    EXPECT_TRUE (s.installReport.outcomes[2].succeeded());
    EXPECT_FALSE (s.installReport.succeeded());
    expectFinishedPass (*this);

    const auto image = render();
    const juce::Rectangle<int> outcomeArea { 24, 168, 552, 228 };
    const auto green = kv::test::countColour (image, outcomeArea, colour_green);
    const auto orange = kv::test::countPixels (image, outcomeArea, [] (juce::Colour pixel)
                                               { return kv::test::looksLike (pixel, colour_orange, 2); });

    EXPECT_LT (green, 10) << "no green success icon";
    EXPECT_GT (orange, 200) << "the warning and the headline are shown";

    const auto details = kv::messages::failureDetails (s.installReport);
    EXPECT_TRUE (details.contains ("VST3 was not installed"));
    EXPECT_TRUE (details.contains ("CLAP was not installed: no install folder is set"));
    EXPECT_TRUE (details.contains ("AAX was installed."));
    EXPECT_TRUE (details.contains ("SETTINGS"));
}

TEST_F (Fixture, EmbeddedArchivesStayIntactAfterAPass)
{
    auto& s = build();
    click ("SELECT_ALL");
    click ("INSTALL");
    ASSERT_TRUE (s.installReport.succeeded());

    // Their resident pages were given back after copying; reading them again must give the
    // same bytes, paged in from the executable.
    const std::pair<const char*, int> archives[] = { { BinaryData::vst3_zip, BinaryData::vst3_zipSize },
                                                     { BinaryData::clap_zip, BinaryData::clap_zipSize },
                                                     { BinaryData::aax_zip, BinaryData::aax_zipSize } };
    const char* names[] = { "vst3.zip", "clap.zip", "aax.zip" };

    for (int i = 0; i < 3; ++i)
    {
        juce::MemoryBlock onDisk;
        juce::File (KV_TEST_ARCHIVE_DIR).getChildFile (names[i]).loadFileAsData (onDisk);
        ASSERT_EQ (onDisk.getSize(), (size_t) archives[i].second);
        EXPECT_EQ (std::memcmp (onDisk.getData(), archives[i].first, onDisk.getSize()), 0) << names[i];
    }
}

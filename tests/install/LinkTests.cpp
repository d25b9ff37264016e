// Links at and below the destination: served through at the destination, never followed below it.
#include "install/InstallPassFixture.h"

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

TEST_F (InstallPass, ADanglingLinkAtTheBundlePathIsTheBundleItself)
{
    destination (0).createDirectory();
    const auto gone = sandbox.root().getChildFile ("gone");

    ASSERT_EQ (::symlink (gone.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_TRUE (bundle (0).getChildFile ("desktop.ini").existsAsFile());
    expectOnlyTheBundleIn (0);

    ASSERT_TRUE (bundle (0).deleteRecursively());
    ASSERT_EQ (::symlink (gone.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_FALSE (bundle (0).isSymbolicLink());
    EXPECT_EQ (destination (0).getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_FALSE (gone.exists());
}

TEST_F (InstallPass, LinksInsideTheOldBundleAreNeverFollowed)
{
    const auto precious = sandbox.root().getChildFile ("precious");
    kv::test::writeText (precious.getChildFile ("keep.txt"), "user data");
    installOldCopy (0);
    ASSERT_EQ (::symlink (precious.getFullPathName().toRawUTF8(), bundle (0).getChildFile ("Contents/escape").getFullPathName().toRawUTF8()), 0);
    const auto preciousBefore = snapshotTree (precious);

    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_EQ (snapshotTree (precious), preciousBefore);

    ASSERT_EQ (::symlink (precious.getFullPathName().toRawUTF8(), bundle (0).getChildFile ("Contents/escape").getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_FALSE (bundle (0).exists());
    EXPECT_EQ (snapshotTree (precious), preciousBefore);
}

TEST_F (InstallPass, ABundleThatIsItselfALinkIsReplacedWithoutTouchingItsTarget)
{
    const auto elsewhere = sandbox.root().getChildFile ("elsewhere");
    kv::test::writeText (elsewhere.getChildFile ("keep.txt"), "user data");
    destination (0).createDirectory();
    ASSERT_EQ (::symlink (elsewhere.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);

    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_FALSE (bundle (0).isSymbolicLink());
    EXPECT_TRUE (bundle (0).getChildFile ("desktop.ini").existsAsFile());
    EXPECT_EQ (elsewhere.getChildFile ("keep.txt").loadFileAsString(), "user data");
    expectOnlyTheBundleIn (0);
}

TEST_F (InstallPass, ADestinationBehindALinkIsServedThroughIt)
{
    // A plug-in folder moved to another drive, a link left in its place.
    const auto moved = sandbox.root().getChildFile ("other drive/VST3");
    ASSERT_TRUE (moved.createDirectory());
    ASSERT_TRUE (moved.createSymbolicLink (destination (0), false));

    ASSERT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_TRUE (moved.getChildFile ("Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3").existsAsFile());

    kv::test::writeText (moved.getChildFile ("Strandline2.vst3.kv-removing/Contents/x"), "left by a killed pass");
    EXPECT_EQ (recoverAtStart ("Strandline2", { destination (0), destination (1), destination (2) }).removed, 1);

    ASSERT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_EQ (moved.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE (destination (0).isSymbolicLink());
}

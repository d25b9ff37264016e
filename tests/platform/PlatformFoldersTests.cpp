#include <gtest/gtest.h>

#include "platform/PlatformFolders.h"
#include "support/Sandbox.h"

using kv::platform::fileFromPath;

TEST (PlatformFolders, DriveLetterPathsLandUnderTheSandboxRoot)
{
    kv::test::Sandbox sandbox;
    const auto root = sandbox.root().getFullPathName();

    EXPECT_EQ (fileFromPath ("C:/Program Files/Common Files/VST3").getFullPathName(), root + "/C/Program Files/Common Files/VST3");
    EXPECT_EQ (fileFromPath ("C:\\Program Files\\Common Files\\VST3").getFullPathName(), root + "/C/Program Files/Common Files/VST3");
    EXPECT_EQ (fileFromPath ("d:\\Plugins\\").getFullPathName(), root + "/D/Plugins");
    EXPECT_EQ (fileFromPath ("E:").getFullPathName(), root + "/E");
    EXPECT_EQ (fileFromPath ("E:/").getFullPathName(), root + "/E");
    EXPECT_EQ (kv::platform::commonApplicationDataFolder().getFullPathName(), root + "/C/ProgramData");
}

TEST (PlatformFolders, NoPathClimbsOutOfTheSandbox)
{
    kv::test::Sandbox sandbox;
    const auto root = sandbox.root().getFullPathName();

    EXPECT_EQ (fileFromPath ("C:/../../../etc").getFullPathName(), root + "/C/etc");
    EXPECT_EQ (fileFromPath ("C:\\a\\..\\..\\b\\.\\c").getFullPathName(), root + "/C/b/c");
    EXPECT_TRUE (fileFromPath ("C:/x/../../..").isAChildOf (sandbox.root()));
}

TEST (PlatformFolders, HostPathsPassThroughAndOthersAreEmpty)
{
    kv::test::Sandbox sandbox;

    EXPECT_EQ (fileFromPath ("/home/user/Plugins/VST3"), juce::File ("/home/user/Plugins/VST3"));
    EXPECT_EQ (fileFromPath ("/tmp/x/"), juce::File ("/tmp/x"));

    for (const juce::String text : { "", "relative/folder", "C", "CC:/x", "1:/x", ":/x", "C:relative" })
        EXPECT_EQ (fileFromPath (text), juce::File()) << text;
}

TEST (PlatformFolders, RootComesFromTheEnvironment)
{
    kv::test::Sandbox outer;
    {
        kv::test::Sandbox inner;
        EXPECT_EQ (kv::platform::sandboxRoot(), inner.root());
    }
    EXPECT_EQ (kv::platform::sandboxRoot(), outer.root());
}

TEST (PlatformFolders, WindowsTakesEitherSeparatorNetworkPathsIncluded)
{
    using kv::platform::windowsAbsolutePath;

    EXPECT_EQ (windowsAbsolutePath ("//server/share/VST3"), "\\\\server\\share\\VST3");
    EXPECT_EQ (windowsAbsolutePath ("\\\\server\\share\\VST3"), "\\\\server\\share\\VST3");
    EXPECT_EQ (windowsAbsolutePath ("C:/Program Files/Common Files/VST3"), "C:\\Program Files\\Common Files\\VST3");
    EXPECT_EQ (windowsAbsolutePath ("E:"), "E:");

    for (const auto* relative : { "", "VST3", "Plug-Ins/VST3", "1:/x", "CC:/x" })
        EXPECT_EQ (windowsAbsolutePath (relative), juce::String()) << relative;
}

TEST (PlatformFolders, LongPathsTakeTheFormThatWorksPast260Characters)
{
    using kv::platform::windowsLongPath;

    EXPECT_EQ (windowsLongPath ("C:\\Program Files\\VST3"), "\\\\?\\C:\\Program Files\\VST3");
    EXPECT_EQ (windowsLongPath ("\\\\server\\share\\VST3"), "\\\\?\\UNC\\server\\share\\VST3");
    EXPECT_EQ (windowsLongPath ("\\\\?\\C:\\x"), "\\\\?\\C:\\x");
}

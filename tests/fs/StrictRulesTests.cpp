// The handle layer held to Windows' rules on other programs' handles and on names: what the
// Windows build meets is what the tests meet.
#include "fs/StrictRules.h"
#include "fs/FolderHandle.h"
#include "support/Sandbox.h"

#include <gtest/gtest.h>

using namespace kv::fs;

namespace
{
    struct Opened
    {
        FolderHandle folder;

        explicit Opened (const juce::File& path)
        {
            FsStatus status;
            folder = FolderHandle::openPath (path, status);
        }
    };
}

TEST (StrictRules, AFolderAnotherProgramWorksInIsNeitherRenamedNorDeletedNorAnyFolderAboveIt)
{
    const kv::test::Sandbox temp;
    const auto top = temp.root().getChildFile ("top");
    ASSERT_TRUE (top.getChildFile ("inner/held").createDirectory());
    const Opened root (temp.root());

    {
        const strict::Hold console (top.getChildFile ("inner/held"), strict::Hold::Kind::currentFolder);
        ASSERT_TRUE (console.isHeld());
        const Opened inner (top.getChildFile ("inner"));

        EXPECT_EQ (inner.folder.rename ("held", inner.folder, "moved"), FsStatus::busy);
        EXPECT_TRUE (strict::lastRefusal().contains ("held open by another program")) << strict::lastRefusal();
        EXPECT_EQ (inner.folder.remove ("held"), FsStatus::busy);
        EXPECT_EQ (root.folder.rename ("top", root.folder, "top2"), FsStatus::busy);
    }

    EXPECT_EQ (root.folder.rename ("top", root.folder, "top2"), FsStatus::ok);
}

TEST (StrictRules, NamesThatDifferOnlyInCaseAreOneName)
{
    const kv::test::Sandbox temp;
    ASSERT_TRUE (temp.root().getChildFile ("Strandline2.vst3.kv-old").createDirectory());
    ASSERT_TRUE (temp.root().getChildFile ("other").createDirectory());
    const Opened folder (temp.root());

    FsStatus status;
    EXPECT_EQ (folder.folder.createFolder ("Strandline2.vst3.KV-OLD"), FsStatus::exists);
    EXPECT_EQ (folder.folder.createFile ("STRANDLINE2.vst3.kv-old", status), nullptr);
    EXPECT_EQ (status, FsStatus::exists);
    EXPECT_EQ (folder.folder.rename ("other", folder.folder, "strandline2.VST3.kv-old"), FsStatus::exists);
    EXPECT_TRUE (temp.root().getChildFile ("other").isDirectory());

    // A name's own case may change: it is the same item.
    EXPECT_EQ (folder.folder.createFolder ("Other2"), FsStatus::ok);
}

TEST (StrictRules, ANameDeletedWhileAScannerHoldsItStaysDeletePendingUntilItIsLetGo)
{
    const kv::test::Sandbox temp;
    const auto inner = temp.root().getChildFile ("inner");
    kv::test::writeText (inner.getChildFile ("scanned.txt"), "bytes");
    const Opened root (temp.root());
    const Opened folder (inner);

    auto scanner = std::make_unique<strict::Hold> (inner.getChildFile ("scanned.txt"), strict::Hold::Kind::sharingDelete);
    EXPECT_EQ (folder.folder.remove ("scanned.txt"), FsStatus::ok);

    // It can be neither looked at, opened nor made again, and keeps its folder from going.
    FsStatus status;
    EXPECT_EQ (folder.folder.kindOf ("scanned.txt", status), ItemKind::absent);
    EXPECT_EQ (status, FsStatus::busy);
    EXPECT_EQ (folder.folder.createFile ("SCANNED.txt", status), nullptr);
    EXPECT_EQ (status, FsStatus::busy);
    EXPECT_EQ (folder.folder.remove ("scanned.txt"), FsStatus::ok) << "a second delete finds it already going";
    EXPECT_NE (root.folder.remove ("inner"), FsStatus::ok);
    EXPECT_TRUE (inner.isDirectory());

    scanner.reset();
    EXPECT_FALSE (inner.getChildFile ("scanned.txt").exists());
    EXPECT_EQ (folder.folder.createFile ("scanned.txt", status) != nullptr, true);
}

#pragma once

#include <gtest/gtest.h>

#include "identity/BundleLocation.h"
#include "install/detail/InertNames.h"
#include "install/detail/Recovery.h"
#include "install/Install.h"
#include "platform/InstallerLock.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <filesystem>
#include <zlib.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

// The pass over three sandboxed destinations, with file operations that refuse one step.
namespace kv::test
{
    struct InstallPass : public ::testing::Test
    {
        kv::test::Sandbox sandbox;
        kv::test::FixtureArchives fixtures;

        juce::File destination (int i) const { return sandbox.root().getChildFile ("dest" + juce::String (i)); }
        juce::File bundle (int i) const { return bundleFileFor (destination (i), "Strandline2", i); }

        kv::install::InstallRequest request (FormatArray<bool> selected, bool uninstall = false) const
        {
            kv::install::InstallRequest r;
            r.uninstall = uninstall;
            r.productName = "Strandline2";
            r.selected = selected;
            r.destinationFolders = { destination (0), destination (1), destination (2) };
            r.archives = fixtures.archives();
            return r;
        }

        // An older copy with a file the new archive does not have.
        void installOldCopy (int i)
        {
            const auto old = bundle (i);
            if (i == 1)
                kv::test::writeText (old, "old clap module");
            else
                kv::test::writeText (old.getChildFile ("Contents/Resources/old-preset.txt"), "old preset");
        }

        // Nothing but the bundle (or nothing at all) may be left in a destination.
        void expectOnlyTheBundleIn (int i) const
        {
            for (const auto& item : destination (i).findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
                EXPECT_EQ (item.getFileName(), bundle (i).getFileName());
        }
    };

    inline juce::StringArray relativeItems (const juce::File& folder)
    {
        juce::StringArray items;
        for (const auto& [path, what] : kv::test::snapshotTree (folder))
            items.add (path + (what == "folder" ? "/" : ""));
        return items;
    }

    struct FailingMove final : public kv::fs::FileOperations
    {
        FailingMove() { holdRetryMs = 0; }
        juce::File refuse;
        kv::fs::FsStatus rename (const kv::fs::FolderHandle& from, const juce::String& name, const kv::fs::FolderHandle& to, const juce::String& toName) override
        {
            return from.pathOf (name) == refuse ? kv::fs::FsStatus (kv::fs::FsStatus::busy) : kv::fs::FileOperations::rename (from, name, to, toName);
        }
    };

    struct FailingWrite final : public kv::fs::FileOperations
    {
        FailingWrite() { holdRetryMs = 0; }
        juce::String refuseName;
        std::unique_ptr<kv::fs::HandleOutputStream> createFile (const kv::fs::FolderHandle& parent, const juce::String& name, kv::fs::FsStatus& status) override
        {
            if (name.upToFirstOccurrenceOf (".kv-inert", false, false) != refuseName)
                return kv::fs::FileOperations::createFile (parent, name, status);

            status = kv::fs::FsStatus::busy;
            return nullptr;
        }
    };
}

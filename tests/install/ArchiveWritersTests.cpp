#include <gtest/gtest.h>

#include "archive/Archive.h"
#include "identity/BundleLocation.h"
#include "identity/Formats.h"
#include "install/Install.h"
#include "messages/ArchiveWords.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <cstdio>

using namespace kv::archive;
using namespace kv::install;
using kv::messages::describeForMaker;

using kv::test::snapshotTree;

// Archives made by the tools makers use, from the same bundles: each must pass the check the
// build runs and install byte for byte; the ones the installer would refuse must be refused
// with the archive's entry, the reason and the fix.

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

    Run run (const juce::String& command)
    {
        Run result;
        if (auto* pipe = ::popen ((command + " 2>&1").toRawUTF8(), "r"))
        {
            char buffer[4096];
            while (auto got = std::fread (buffer, 1, sizeof (buffer), pipe))
                result.output += juce::String::fromUTF8 (buffer, (int) got);

            const auto status = ::pclose (pipe);
            result.exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
        }
        return result;
    }

    juce::String quoted (const juce::File& f) { return "'" + f.getFullPathName() + "'"; }

    struct ArchiveWriters : public ::testing::Test
    {
        kv::test::Sandbox sandbox;
        kv::test::FixtureArchives fixtures;
        juce::File bundles = sandbox.root().getChildFile ("bundles");

        // The three bundles as the installer lays them out, to zip again with other tools.
        void SetUp() override
        {
            InstallRequest r;
            r.productName = "Strandline2";
            r.selected = { true, true, true };
            r.destinationFolders = { bundles, bundles, bundles };
            r.archives = fixtures.archives();
            ASSERT_TRUE (runInstallPass (r).succeeded());
        }

        juce::String bundleName (int i) const { return bundleNameFor ("Strandline2", i); }

        // Writes the three archives into a new folder with one shell command per bundle,
        // run in the bundles' folder: $B is the bundle's name, $OUT the archive.
        juce::File writeSet (const juce::String& name, const juce::String& command)
        {
            const auto set = sandbox.root().getChildFile (name);
            set.createDirectory();

            for (int i = 0; i < numFormats; ++i)
            {
                const auto archive = set.getChildFile (formatArchiveNames[i]);
                const auto result = run ("cd " + quoted (bundles) + " && B='" + bundleName (i) + "' OUT=" + quoted (archive) + " sh -c '" + command + "'");
                EXPECT_EQ (result.exitCode, 0) << name << ": " << result.output;
            }

            return set;
        }

        ArchiveCheck check (const juce::File& set, int i) const
        {
            juce::MemoryBlock bytes;
            set.getChildFile (formatArchiveNames[i]).loadFileAsData (bytes);
            return checkArchiveFully (bytes.getData(), bytes.getSize(), bundleName (i));
        }

        juce::File checker() const { return juce::File (KV_TEST_BINARY_DIR).getChildFile ("tools/kv_archive_check"); }
    };
}

TEST_F (ArchiveWriters, ArchivesFromCommonToolsPassTheBuildCheckAndInstallByteForByte)
{
    const std::pair<const char*, const char*> writers[] = {
        { "info-zip", "zip -q -r \"$OUT\" \"$B\"" },
        { "info-zip-stored", "zip -q -r -0 \"$OUT\" \"$B\"" },
        { "7-zip", "7zz a -tzip -bso0 -bsp0 \"$OUT\" \"$B\"" },
        // Python writing to a pipe cannot seek back: every entry gets a data descriptor.
        { "python-stream", "python3 -c \"import os, sys, zipfile\n"
                           "with zipfile.ZipFile(sys.stdout.buffer, \\\"w\\\", zipfile.ZIP_DEFLATED) as z:\n"
                           "  top = sys.argv[1]\n"
                           "  paths = [top] if os.path.isfile(top) else [os.path.join(r, f) for r, d, fs in os.walk(top) for f in sorted(fs)]\n"
                           "  for p in paths:\n"
                           "    with open(p, \\\"rb\\\") as src, z.open(p, \\\"w\\\") as dst: dst.write(src.read())\n"
                           "\" \"$B\" | cat > \"$OUT\"" },
    };

    for (const auto& [name, command] : writers)
    {
        SCOPED_TRACE (name);
        const auto set = writeSet (name, command);

        for (int i = 0; i < numFormats; ++i)
            EXPECT_TRUE (check (set, i).passed()) << describeForMaker (formatArchiveNames[i], bundleName (i), check (set, i));

        const auto tool = run (quoted (checker()) + " " + quoted (set));
        EXPECT_EQ (tool.exitCode, 0) << tool.output;

        FormatArray<juce::MemoryBlock> bytes;
        InstallRequest r;
        r.productName = "Strandline2";
        r.selected = { true, true, true };
        const auto target = sandbox.root().getChildFile (juce::String ("installed-") + name);
        r.destinationFolders = { target, target, target };

        for (int i = 0; i < numFormats; ++i)
        {
            set.getChildFile (formatArchiveNames[i]).loadFileAsData (bytes[(size_t) i]);
            r.archives[(size_t) i] = { bytes[(size_t) i].getData(), bytes[(size_t) i].getSize() };
        }

        ASSERT_TRUE (runInstallPass (r).succeeded());
        for (int i = 0; i < numFormats; ++i)
            EXPECT_EQ (snapshotTree (target.getChildFile (bundleName (i))), snapshotTree (bundles.getChildFile (bundleName (i)))) << bundleName (i);
    }
}

TEST_F (ArchiveWriters, ArchivesTheInstallerWouldRefuseFailTheBuildWithTheEntryReasonAndFix)
{
    ASSERT_EQ (::symlink ("desktop.ini", bundles.getChildFile ("Strandline2.vst3/Contents/link").getFullPathName().toRawUTF8()), 0);

    struct Case
    {
        const char* name;
        const char* command;
        int format;
        const char* entry;
        const char* reason;
        const char* fix;
    };

    const Case cases[] = {
        { "zip64", "zip -q -r -fz \"$OUT\" \"$B\"", 1, "", "ZIP64", "leave out -fz" },
        { "bundle-contents-only", "if [ -d \"$B\" ]; then cd \"$B\" && zip -q -r \"$OUT\" .; else zip -q \"$OUT\" \"$B\"; fi", 0, nullptr, "not inside Strandline2.vst3", "every entry lies inside Strandline2.vst3" },
        { "link", "zip -q -r -y \"$OUT\" \"$B\"", 0, "Strandline2.vst3/Contents/link", "symbolic link", "leave out -y" },
        // One stored byte flipped in the middle of the module's data.
        { "corrupted", "zip -q -r -0 \"$OUT\" \"$B\" && python3 -c \"import sys; d = bytearray(open(sys.argv[1], \\\"rb\\\").read()); d[len(d) // 2] ^= 0xff; open(sys.argv[1], \\\"wb\\\").write(d)\" \"$OUT\"",
          2, "Strandline2.aaxplugin/Contents/x64/Strandline2.aaxplugin", "size and CRC-32", "make it again" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto set = writeSet (c.name, c.command);
        const auto result = check (set, c.format);

        EXPECT_FALSE (result.passed());
        if (c.entry != nullptr)
            EXPECT_EQ (result.entry, c.entry);
        else
            EXPECT_FALSE (result.entry.isEmpty() || result.entry.startsWith (bundleName (c.format)));

        const auto message = describeForMaker (formatArchiveNames[c.format], bundleName (c.format), result);
        EXPECT_TRUE (message.contains (c.reason)) << message;
        EXPECT_TRUE (message.contains (c.fix)) << message;

        const auto tool = run (quoted (checker()) + " " + quoted (set));
        EXPECT_EQ (tool.exitCode, 1) << tool.output;
        EXPECT_TRUE (tool.output.contains (set.getChildFile (formatArchiveNames[c.format]).getFullPathName())) << tool.output;
        EXPECT_TRUE (tool.output.contains ("Fix:")) << tool.output;
    }
}

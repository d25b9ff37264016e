#pragma once

#include <juce_core/juce_core.h>

#include "identity/FormatTable.h"
#include "install/Install.h"

#include <array>

namespace kv::bench
{
    // A fresh folder for one measurement, next to the build (the same disk the archives
    // and the reference tools use), removed when it goes.
    class ScratchFolder final
    {
    public:
        ScratchFolder();
        ~ScratchFolder();

        const juce::File& get() const noexcept { return folder; }

    private:
        juce::File folder;
        JUCE_DECLARE_NON_COPYABLE (ScratchFolder)
    };

    juce::File scratchParent();

    // The three archives of one module size: the installer's own (17 MB modules, embedded),
    // or 100 MB modules made by scripts/bench.sh into $KV_BENCH_LARGE_ARCHIVE_DIR and mapped
    // read-only from their files, as the executable maps its own.
    struct ArchiveSet
    {
        juce::File folder; // vst3.zip, clap.zip, aax.zip
        FormatArray<kv::install::EmbeddedArchive> archives;
    };

    // A format's destination inside the given folder, laid out as its default folder is
    // below Common Files.
    juce::File destinationIn (const juce::File& folder, int formatIndex);

    // The format's bundle in that destination.
    juce::File bundleIn (const juce::File& folder, int formatIndex);

    // nullptr when that set is not there.
    const ArchiveSet* archiveSet (int moduleMegabytes);

    // All three formats selected, destinations inside the given folder.
    kv::install::InstallRequest installEverythingInto (const juce::File& folder, bool uninstall = false, int moduleMegabytes = 17);

    juce::File archiveFile (int formatIndex, int moduleMegabytes = 17);

    // The three bundles of a set unpacked once by unzip, for copying with cp -r.
    juce::File unpackedBundles (int moduleMegabytes);

    // The largest archive and the largest entry of a set, in bytes.
    juce::int64 largestArchive (const ArchiveSet& set);
    juce::int64 largestEntry (const ArchiveSet& set);

    // Runs a shell command; false when it does not exit with 0.
    bool run (const juce::String& command);

    // Resident and peak resident size of this process, in bytes.
    juce::int64 residentBytes();
    juce::int64 peakResidentBytes();
}

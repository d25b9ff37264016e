#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include "archive/Archive.h"

#include <optional>

using namespace kv::archive;
using namespace kv::install;

using kv::bench::ScratchFolder;

namespace
{
    juce::String quoted (const juce::File& f) { return "'" + f.getFullPathName() + "'"; }

    void unzipEverythingInto (const juce::File& folder, int moduleMegabytes)
    {
        juce::String command;

        for (int i = 0; i < numFormats; ++i)
            command << "unzip -o -q " << quoted (kv::bench::archiveFile (i, moduleMegabytes)) << " -d "
                    << quoted (kv::bench::destinationIn (folder, i)) << " 2>/dev/null; ";

        kv::bench::run (command);
    }

    // The cost of writing the bytes at all: the bundles, already unpacked, copied onto the
    // same disk (cp uses copy_file_range here: the kernel copies, nothing passes through cp).
    bool copyEverythingInto (const juce::File& folder, int moduleMegabytes)
    {
        const auto unpacked = kv::bench::unpackedBundles (moduleMegabytes);
        juce::String command;

        for (int i = 0; i < numFormats; ++i)
        {
            const auto destination = kv::bench::destinationIn (folder, i);
            command << "mkdir -p " << quoted (destination) << " && cp -r "
                    << quoted (unpacked.getChildFile (juce::String (i)).getChildFile (kv::bench::bundleIn (folder, i).getFileName())) << " " << quoted (destination)
                    << " && ";
        }

        return kv::bench::run (command + "true");
    }

    bool haveArchives (benchmark::State& state)
    {
        if (kv::bench::archiveSet ((int) state.range (0)) != nullptr)
            return true;

        state.SkipWithError ("no archives of that module size (scripts/bench.sh makes them)");
        return false;
    }
}

namespace
{
    // Times only `measured`, each iteration in a fresh folder prepared by `prepare`; making
    // and removing the folder is not timed.
    template <typename Prepare, typename Measured>
    void timeInFreshFolders (benchmark::State& state, Prepare prepare, Measured measured)
    {
        for (auto _ : state)
        {
            state.PauseTiming();
            std::optional<ScratchFolder> folder;
            folder.emplace();
            prepare (folder->get());
            state.ResumeTiming();

            const auto ok = measured (folder->get());

            state.PauseTiming();
            if (! ok)
                state.SkipWithError ("the measured step failed");
            folder.reset();
            state.ResumeTiming();
        }
    }

    void nothingToPrepare (const juce::File&) {}

    void installEverything (const juce::File& folder)
    {
        runInstallPass (kv::bench::installEverythingInto (folder));
    }
}

// Our pass: integrity checks, staging and the swap included, from archives with modules of
// the given size in MB.
static void BM_InstallPass (benchmark::State& state)
{
    const auto size = (int) state.range (0);
    if (haveArchives (state))
        timeInFreshFolders (state, nothingToPrepare, [size] (const juce::File& folder)
                            { return runInstallPass (kv::bench::installEverythingInto (folder, false, size)).succeeded(); });
}

// What a user would do by hand: Info-ZIP's unzip of the same three archives.
static void BM_InstallUnzip (benchmark::State& state)
{
    const auto size = (int) state.range (0);
    if (haveArchives (state))
        timeInFreshFolders (state, nothingToPrepare, [size] (const juce::File& folder)
                            { unzipEverythingInto (folder, size); return true; });
}

static void BM_InstallCopy (benchmark::State& state)
{
    const auto size = (int) state.range (0);
    if (haveArchives (state))
        timeInFreshFolders (state, nothingToPrepare, [size] (const juce::File& folder)
                            { return copyEverythingInto (folder, size); });
}

// The floor of a pass: every entry of the three archives inflated and its CRC-32 checked in
// memory, nothing written.
static void BM_InflateOnly (benchmark::State& state)
{
    const auto* set = kv::bench::archiveSet ((int) state.range (0));

    if (set == nullptr)
        return state.SkipWithError ("no archives of that module size (scripts/bench.sh makes them)");

    for (auto _ : state)
    {
        for (size_t i = 0; i < set->archives.size(); ++i)
        {
            const auto& archive = set->archives[i];
            std::vector<ZipRecord> records;
            ArchivePlan plan;

            if (! checkArchiveLayout (archive.data, archive.size, bundleNameFor (product::bundleBaseName, i), records, plan).passed())
                return state.SkipWithError ("an archive does not pass the layout check");

            for (const auto& entry : plan.entries)
                if (! entry.isDirectory
                    && copyEntryVerified (archive.data, archive.size, records[(size_t) entry.index], nullptr) != EntryCopy::ok)
                    return state.SkipWithError ("an entry does not inflate");
        }
    }
}

static void BM_UninstallPass (benchmark::State& state)
{
    timeInFreshFolders (state, installEverything, [] (const juce::File& folder)
                        { return runInstallPass (kv::bench::installEverythingInto (folder, true)).succeeded(); });
}

static void BM_UninstallRmRf (benchmark::State& state)
{
    timeInFreshFolders (state, installEverything, [] (const juce::File& f)
                        {
                            juce::String command ("rm -rf");
                            for (int i = 0; i < numFormats; ++i)
                                command << " " << quoted (kv::bench::bundleIn (f, i));
                            return kv::bench::run (command); });
}

BENCHMARK (BM_InstallPass)->Arg (17)->Arg (100)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_InstallUnzip)->Arg (17)->Arg (100)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_InflateOnly)->Arg (17)->Arg (100)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_InstallCopy)->Arg (17)->Arg (100)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallPass)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallRmRf)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);

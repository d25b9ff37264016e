#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <optional>

using kv::bench::ScratchFolder;

namespace
{
    juce::String quoted (const juce::File& f) { return "'" + f.getFullPathName() + "'"; }

    void unzipEverythingInto (const juce::File& folder)
    {
        const juce::File destinations[] = { folder.getChildFile ("VST3"), folder.getChildFile ("CLAP"),
                                            folder.getChildFile ("Avid/Audio/Plug-Ins") };
        juce::String command;

        for (int i = 0; i < 3; ++i)
            command << "unzip -o -q " << quoted (kv::bench::archiveFile (i)) << " -d " << quoted (destinations[i]) << " 2>/dev/null; ";

        kv::bench::run (command);
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

// Our pass: integrity checks, staging and the swap included.
static void BM_InstallPass (benchmark::State& state)
{
    timeInFreshFolders (state, nothingToPrepare, [] (const juce::File& folder)
                        { return runInstallPass (kv::bench::installEverythingInto (folder)).succeeded(); });
}

// What a user would do by hand: Info-ZIP's unzip of the same three archives.
static void BM_InstallUnzip (benchmark::State& state)
{
    timeInFreshFolders (state, nothingToPrepare, [] (const juce::File& folder)
                        { unzipEverythingInto (folder); return true; });
}

static void BM_UninstallPass (benchmark::State& state)
{
    timeInFreshFolders (state, installEverything, [] (const juce::File& folder)
                        { return runInstallPass (kv::bench::installEverythingInto (folder, true)).succeeded(); });
}

static void BM_UninstallRmRf (benchmark::State& state)
{
    timeInFreshFolders (state, installEverything, [] (const juce::File& f)
                        { return kv::bench::run ("rm -rf " + quoted (f.getChildFile ("VST3/Strandline2.vst3")) + " "
                                                 + quoted (f.getChildFile ("CLAP/Strandline2.clap")) + " "
                                                 + quoted (f.getChildFile ("Avid/Audio/Plug-Ins/Strandline2.aaxplugin"))); });
}

BENCHMARK (BM_InstallPass)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_InstallUnzip)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallPass)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallRmRf)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);

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

// Our pass: integrity checks, staging and the swap included.
static void BM_InstallPass (benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        std::optional<ScratchFolder> folder;
        folder.emplace();
        state.ResumeTiming();

        const auto report = runInstallPass (kv::bench::installEverythingInto (folder->get()));

        state.PauseTiming();
        if (! report.succeeded())
            state.SkipWithError ("install failed");
        folder.reset();
        state.ResumeTiming();
    }
}

// What a user would do by hand: Info-ZIP's unzip of the same three archives.
static void BM_InstallUnzip (benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        std::optional<ScratchFolder> folder;
        folder.emplace();
        state.ResumeTiming();

        unzipEverythingInto (folder->get());

        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
}

static void BM_UninstallPass (benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        std::optional<ScratchFolder> folder;
        folder.emplace();
        runInstallPass (kv::bench::installEverythingInto (folder->get()));
        state.ResumeTiming();

        const auto report = runInstallPass (kv::bench::installEverythingInto (folder->get(), true));

        state.PauseTiming();
        if (! report.succeeded())
            state.SkipWithError ("uninstall failed");
        folder.reset();
        state.ResumeTiming();
    }
}

static void BM_UninstallRmRf (benchmark::State& state)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        std::optional<ScratchFolder> folder;
        folder.emplace();
        runInstallPass (kv::bench::installEverythingInto (folder->get()));
        const auto& f = folder->get();
        const auto command = "rm -rf " + quoted (f.getChildFile ("VST3/Strandline2.vst3")) + " "
                             + quoted (f.getChildFile ("CLAP/Strandline2.clap")) + " "
                             + quoted (f.getChildFile ("Avid/Audio/Plug-Ins/Strandline2.aaxplugin"));
        state.ResumeTiming();

        kv::bench::run (command);

        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
}

BENCHMARK (BM_InstallPass)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_InstallUnzip)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallPass)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
BENCHMARK (BM_UninstallRmRf)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);

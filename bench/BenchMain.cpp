#include <benchmark/benchmark.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include "BenchSupport.h"

int main (int argc, char** argv)
{
    // Nothing measured here may touch the machine's real folders.
    const auto root = kv::bench::scratchParent().getChildFile ("root");
    root.createDirectory();
    setenv ("KV_INSTALLER_ROOT", root.getFullPathName().toRawUTF8(), 1);

    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    kv::bench::scratchParent().deleteRecursively();
    return 0;
}

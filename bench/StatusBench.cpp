#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "main_screen/InstallStatus.h"
#include "pe/PeVersionReader.h"
#include "tools/payload/PeModuleWriter.h"

namespace
{
    // Three installed bundles whose modules have the given size, written once per size.
    struct InstalledModules
    {
        kv::bench::ScratchFolder folder;
        FormatArray<juce::File> bundles;
        FormatArray<juce::File> versionFiles;

        explicit InstalledModules (juce::int64 moduleBytes)
        {
            kv::payload::ModuleOptions options;
            options.fileBytes = (uint64_t) moduleBytes;
            const auto module = kv::payload::makeModule (options);

            for (int i = 0; i < numFormats; ++i)
            {
                bundles[(size_t) i] = bundleFileFor (folder.get().getChildFile ("f" + juce::String (i)), product_facts::productName, i);
                versionFiles[(size_t) i] = install_status::versionFileIn (bundles[(size_t) i], product_facts::productName, i);
                versionFiles[(size_t) i].getParentDirectory().createDirectory();
                versionFiles[(size_t) i].replaceWithData (module.data(), module.size());
            }
        }
    };

    // Counts what the reader asks of the file.
    struct CountingSource final : public kv::pe::ByteSource
    {
        kv::pe::FileByteSource file;
        juce::int64 bytes = 0;
        explicit CountingSource (const juce::File& f)
            : file (f.getFullPathName().toStdString())
        {
        }
        uint64_t size() const override { return file.size(); }
        bool read (uint64_t offset, void* destination, size_t n) override
        {
            bytes += (juce::int64) n;
            return file.read (offset, destination, n);
        }
    };
}

// statusOf for the three formats, bundles installed, at a given module size.
static void BM_StatusRead (benchmark::State& state)
{
    const InstalledModules modules (state.range (0) * 1024 * 1024);

    for (auto _ : state)
        for (int i = 0; i < numFormats; ++i)
            benchmark::DoNotOptimize (install_status::stateOf (modules.bundles[(size_t) i], modules.versionFiles[(size_t) i], "2.3.0"));

    CountingSource counting (modules.versionFiles[0]);
    const auto version = kv::pe::readPeFileVersion (counting);
    if (version != "2.3.0.0")
        state.SkipWithError ("version not read");

    state.counters["bytes_read_per_module"] = (double) counting.bytes;
}

BENCHMARK (BM_StatusRead)->Arg (1)->Arg (17)->Arg (100)->Unit (benchmark::kMicrosecond);

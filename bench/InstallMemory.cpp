// Peak resident memory of one install pass of all three formats, above the idle process.
// Usage: kv_install_memory [17|100]   (module size in MB; 100 needs KV_BENCH_LARGE_ARCHIVE_DIR)
// Prints: module_mb idle_bytes peak_bytes largest_archive_bytes largest_entry_bytes
#include <juce_events/juce_events.h>

#include "BenchSupport.h"

#include <cstdio>

using namespace kv::install;

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    const auto moduleMegabytes = argc > 1 ? std::atoi (argv[1]) : 17;
    const auto* set = kv::bench::archiveSet (moduleMegabytes);

    if (set == nullptr)
        return 2;

    const auto idle = kv::bench::residentBytes();

    {
        kv::bench::ScratchFolder folder;
        const auto report = runInstallPass (kv::bench::installEverythingInto (folder.get(), false, moduleMegabytes));
        if (! report.succeeded())
            return 1;
    }

    std::printf ("%d %lld %lld %lld %lld\n", moduleMegabytes, (long long) idle, (long long) kv::bench::peakResidentBytes(),
                 (long long) kv::bench::largestArchive (*set), (long long) kv::bench::largestEntry (*set));
    kv::bench::scratchParent().deleteRecursively();
    return 0;
}

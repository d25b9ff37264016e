// Peak resident memory of one install pass of all three formats, above the idle process.
// Prints: idle_bytes peak_bytes largest_archive_bytes
#include <juce_events/juce_events.h>

#include "BenchSupport.h"

#include <cstdio>

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    const auto archives = embeddedArchives();

    const auto idle = kv::bench::residentBytes();
    juce::int64 largest = 0;
    for (const auto& archive : archives)
        largest = juce::jmax (largest, (juce::int64) archive.size);

    {
        kv::bench::ScratchFolder folder;
        const auto report = runInstallPass (kv::bench::installEverythingInto (folder.get()));
        if (! report.succeeded())
            return 1;
    }

    std::printf ("%lld %lld %lld\n", (long long) idle, (long long) kv::bench::peakResidentBytes(), (long long) largest);
    kv::bench::scratchParent().deleteRecursively();
    return 0;
}

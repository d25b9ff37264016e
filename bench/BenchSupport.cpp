#include "BenchSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace kv::bench
{
    juce::File scratchParent()
    {
        return juce::File (KV_BENCH_ARCHIVE_DIR).getParentDirectory().getChildFile ("bench-scratch");
    }

    ScratchFolder::ScratchFolder()
        : folder (scratchParent().getNonexistentChildFile ("run", {}, false))
    {
        folder.createDirectory();
    }

    ScratchFolder::~ScratchFolder()
    {
        folder.deleteRecursively();
    }

    InstallRequest installEverythingInto (const juce::File& folder, bool uninstall)
    {
        InstallRequest request;
        request.uninstall = uninstall;
        request.productName = "Strandline2";
        request.selected = { true, true, true };
        request.destinationFolders = { folder.getChildFile ("VST3"), folder.getChildFile ("CLAP"),
                                       folder.getChildFile ("Avid/Audio/Plug-Ins") };
        request.archives = embeddedArchives();
        return request;
    }

    juce::File archiveFile (int formatIndex)
    {
        static const char* names[] = { "vst3.zip", "clap.zip", "aax.zip" };
        return juce::File (KV_BENCH_ARCHIVE_DIR).getChildFile (names[formatIndex]);
    }

    bool run (const juce::String& command)
    {
        return std::system (command.toRawUTF8()) == 0;
    }

    static juce::int64 statusField (const char* name)
    {
        std::ifstream status ("/proc/self/status");
        std::string line;

        while (std::getline (status, line))
            if (line.rfind (name, 0) == 0)
                return std::atoll (line.c_str() + std::strlen (name)) * 1024;

        return 0;
    }

    juce::int64 residentBytes() { return statusField ("VmRSS:"); }
    juce::int64 peakResidentBytes() { return statusField ("VmHWM:"); }
}

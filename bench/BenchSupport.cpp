#include "BenchSupport.h"

#include "archive/ZipDirectory.h"
#include "identity/BundleLocation.h"
#include "identity/ProductFacts.h"
#include "main_screen/EmbeddedArchives.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

using namespace kv::archive;
using namespace kv::install;

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

    const ArchiveSet* archiveSet (int moduleMegabytes)
    {
        static const ArchiveSet embedded { juce::File (KV_BENCH_ARCHIVE_DIR), embeddedArchives() };

        if (moduleMegabytes == 17)
            return &embedded;

        struct Mapped
        {
            ArchiveSet set;
            FormatArray<std::unique_ptr<juce::MemoryMappedFile>> files;
            bool ok = true;

            Mapped()
            {
                const auto* dir = std::getenv ("KV_BENCH_LARGE_ARCHIVE_DIR");
                set.folder = juce::File (dir != nullptr ? dir : "");

                for (int i = 0; i < numFormats; ++i)
                {
                    const auto file = set.folder.getChildFile (formatTable[i].archiveFileName);
                    files[(size_t) i] = std::make_unique<juce::MemoryMappedFile> (file, juce::MemoryMappedFile::readOnly);
                    ok = ok && dir != nullptr && files[(size_t) i]->getData() != nullptr;
                    set.archives[(size_t) i] = { files[(size_t) i]->getData(), files[(size_t) i]->getSize(), true };
                }
            }
        };

        static const Mapped large;
        return moduleMegabytes == 100 && large.ok ? &large.set : nullptr;
    }

    juce::File destinationIn (const juce::File& folder, int formatIndex)
    {
        return folder.getChildFile (juce::String (formatTable[formatIndex].defaultFolder).fromFirstOccurrenceOf ("Common Files/", false, false));
    }

    juce::File bundleIn (const juce::File& folder, int formatIndex)
    {
        return bundleFileFor (destinationIn (folder, formatIndex), product_facts::productName, formatIndex);
    }

    InstallRequest installEverythingInto (const juce::File& folder, bool uninstall, int moduleMegabytes)
    {
        InstallRequest request;
        request.uninstall = uninstall;
        request.productName = product_facts::productName;
        request.selected = { true, true, true };
        for (int i = 0; i < numFormats; ++i)
            request.destinationFolders[(size_t) i] = destinationIn (folder, i);

        if (const auto* set = archiveSet (moduleMegabytes))
            request.archives = set->archives;

        return request;
    }

    juce::File archiveFile (int formatIndex, int moduleMegabytes)
    {
        const auto* set = archiveSet (moduleMegabytes);
        return set != nullptr ? set->folder.getChildFile (formatTable[formatIndex].archiveFileName) : juce::File();
    }

    juce::File unpackedBundles (int moduleMegabytes)
    {
        static std::map<int, std::unique_ptr<ScratchFolder>> unpacked;
        auto& folder = unpacked[moduleMegabytes];

        if (folder == nullptr)
        {
            folder = std::make_unique<ScratchFolder>();
            for (int i = 0; i < numFormats; ++i)
                run ("unzip -o -q '" + archiveFile (i, moduleMegabytes).getFullPathName() + "' -d '"
                     + folder->get().getChildFile (juce::String (i)).getFullPathName() + "'");
        }

        return folder->get();
    }

    juce::int64 largestArchive (const ArchiveSet& set)
    {
        juce::int64 largest = 0;
        for (const auto& archive : set.archives)
            largest = juce::jmax (largest, (juce::int64) archive.size);
        return largest;
    }

    juce::int64 largestEntry (const ArchiveSet& set)
    {
        juce::int64 largest = 0;

        for (const auto& archive : set.archives)
        {
            std::vector<ZipRecord> records;
            if (readZipDirectory (archive.data, archive.size, records))
                for (const auto& record : records)
                    largest = juce::jmax (largest, (juce::int64) record.uncompressedSize);
        }

        return largest;
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

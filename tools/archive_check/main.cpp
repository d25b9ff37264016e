// kv_archive_check <folder>: checks each format's archive in the folder (vst3.zip and the
// others the format table names) with the installer's own archive checks, every entry
// inflated in full, and then has libzip read each one that passes: an archive two readers
// read differently would unpack differently with other tools. The build runs it on the
// archives it embeds, so an archive the installer would refuse never reaches a user.
// Exit code 0 when all pass; 1, with one line per fault on stderr, when any fails.

#include "identity/BundleLocation.h"
#include "identity/ProductConstants.h"
#include "archive/Archive.h"
#include "messages/ArchiveWords.h"
#include "tools/archive_check/SecondOpinion.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: kv_archive_check <folder holding " << formatArchiveNames.joinIntoString (", ") << ">\n";
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1])));
    const auto productName = product::bundleBaseName.replace ("_", " ");
    bool allPassed = true;

    for (int i = 0; i < numFormats; ++i)
    {
        const auto archive = folder.getChildFile (formatArchiveNames[i]);
        const auto bundleName = bundleNameFor (productName, i);
        juce::MemoryBlock bytes;

        if (! archive.loadFileAsData (bytes))
        {
            std::cerr << "kv_archive_check: " << archive.getFullPathName() << ": cannot be read\n";
            allPassed = false;
            continue;
        }

        auto check = kv::archive::checkArchiveFully (bytes.getData(), bytes.getSize(), bundleName);

        if (check.passed())
            if (const auto refusal = kv::archive::libzipRefusal (archive); refusal.isNotEmpty())
                check = { kv::archive::ArchiveVerdict::damaged, {}, kv::archive::ArchiveFinding::naming (kv::archive::ArchiveDefect::secondReaderRefuses, {}, refusal) };

        if (check.passed())
        {
            std::cout << "kv_archive_check: " << formatArchiveNames[i] << ": ok, " << bundleName << "\n";
        }
        else
        {
            std::cerr << "kv_archive_check: " << kv::messages::describeForMaker (archive.getFullPathName(), bundleName, check) << "\n";
            allPassed = false;
        }
    }

    return allPassed ? 0 : 1;
}

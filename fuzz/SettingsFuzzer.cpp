// The settings file on arbitrary bytes: reading, the attribute rules and the folder layer.
// Whatever the file says, no destination may land outside the sandbox, and a file that is
// read is never changed by reading it.
#include "FuzzSupport.h"
#include "platform/PlatformFolders.h"
#include "settings/DestinationSettings.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto& root = kv::fuzz::fuzzRoot();
    const auto makerFolder = settings::makerFolder();
    const auto settingsFile = settings::settingsFileIn (makerFolder);

    root.getChildFile ("C").deleteRecursively();
    root.getChildFile ("D").deleteRecursively();
    makerFolder.createDirectory();
    // Written through a stream: replaceWithData would delete the file for an empty input.
    {
        settingsFile.deleteFile();
        juce::FileOutputStream out (settingsFile);
        if (size > 0)
            out.write (data, size);
    }

    // Host absolute paths are used as they are; keep the fuzzer from creating folders on
    // this machine by leaving such inputs out (the mapping itself is still exercised).
    if (auto document = settings::readSettingsDocument (settingsFile))
    {
        for (const auto& name : settings::pathAttributes)
        {
            const auto folder = kv::platform::fileFromPath (document->getStringAttribute (name));

            if (folder != juce::File() && ! folder.isAChildOf (root))
                return 0;
        }
    }

    juce::File loadedMakerFolder;
    DestinationFolders folders;
    loadDestinationSettings (loadedMakerFolder, folders);

    for (const auto& folder : folders)
        kv::fuzz::require (folder == juce::File() || folder.isAChildOf (root));

    juce::MemoryBlock after;
    settingsFile.loadFileAsData (after);
    kv::fuzz::require (after.getSize() == size && (size == 0 || std::memcmp (after.getData(), data, size) == 0));

    // Saving keeps every other attribute of a readable file.
    if (auto before = settings::readSettingsDocument (settingsFile))
    {
        saveDestinationSetting (settingsFile, "CLAP_Path", "C:\\Fuzz\\CLAP");
        auto saved = settings::readSettingsDocument (settingsFile);
        kv::fuzz::require (saved != nullptr);
        kv::fuzz::require (saved->getStringAttribute ("CLAP_Path") == "C:\\Fuzz\\CLAP");

        // Compared by position: a hand-edited file may even repeat an attribute.
        kv::fuzz::require (saved->getNumAttributes() >= before->getNumAttributes());

        for (int i = 0; i < before->getNumAttributes(); ++i)
        {
            kv::fuzz::require (saved->getAttributeName (i) == before->getAttributeName (i));

            if (before->getAttributeName (i) != "CLAP_Path")
                kv::fuzz::require (saved->getAttributeValue (i) == before->getAttributeValue (i));
        }
    }

    return 0;
}

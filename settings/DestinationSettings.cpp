#include "settings/DestinationSettings.h"

#include "identity/ProductConstants.h"
#include "platform/PlatformFolders.h"
#include "settings/SettingsText.h"

namespace settings
{
    DestinationFolders defaultDestinationFolders()
    {
        DestinationFolders folders;
        for (int i = 0; i < numFormats; ++i)
            folders[(size_t) i] = kv::platform::fileFromPath (formatTable[i].defaultFolder);
        return folders;
    }

    juce::File makerFolder()
    {
        return kv::platform::commonApplicationDataFolder().getChildFile (product::makerFolderName);
    }

    juce::File settingsFileIn (const juce::File& folder)
    {
        return folder.getChildFile (product::settingsFileName);
    }

    // The bytes of the one file that was opened. Another installer may replace the file at
    // any moment: JUCE's loadFileAsData compares what it read with the size of whatever file
    // the name leads to by then, and fails when the two differ.
    static bool readWholeFile (const juce::File& file, juce::MemoryBlock& bytes)
    {
        juce::FileInputStream in (file);

        if (! in.openedOk())
            return false;

        juce::MemoryOutputStream out (bytes, false);
        juce::HeapBlock<char> buffer (16384);

        for (;;)
        {
            const auto got = in.read (buffer.get(), 16384);

            if (got <= 0)
                break;

            if (out.getDataSize() + (size_t) got > (size_t) maximumFileBytes)
                return false;

            out.write (buffer.get(), (size_t) got);
        }

        out.flush();
        return true;
    }

    std::unique_ptr<juce::XmlElement> readSettingsDocument (const juce::File& settingsFile)
    {
        if (! settingsFile.existsAsFile() || settingsFile.getSize() > maximumFileBytes)
            return nullptr;

        juce::MemoryBlock bytes;

        if (! readWholeFile (settingsFile, bytes))
            return nullptr;

        // Malformed text would reach JUCE's parser and path functions, which overrun or loop
        // forever on it, and deep nesting would exhaust the stack while parsing: such a file
        // is not a settings file.
        if (! isWellFormedFileText (bytes.getData(), bytes.getSize()))
            return nullptr;

        const auto text = decodeFileText (bytes.getData(), bytes.getSize());

        if (countElementTags (text) > maximumElementCount)
            return nullptr;

        auto document = juce::parseXML (text);

        if (document == nullptr || ! holdsOnlyWellFormedText (*document))
            return nullptr;

        return document;
    }

    std::unique_ptr<juce::XmlElement> createSettingsDocument (const juce::StringArray& paths)
    {
        auto document = std::make_unique<juce::XmlElement> (rootTag);
        document->setAttribute (noteAttribute, noteText);

        for (int position = 0; position < numFormats; ++position)
            for (int i = 0; i < numFormats; ++i)
                if (formatTable[i].settingsFilePosition == position)
                    document->setAttribute (pathAttributes[i], paths[i]);

        return document;
    }

    std::unique_ptr<juce::XmlElement> createSettingsDocument (const DestinationFolders& folders)
    {
        juce::StringArray paths;
        for (const auto& folder : folders)
            paths.add (folder.getFullPathName());
        return createSettingsDocument (paths);
    }

    bool writeSettingsDocument (const juce::XmlElement& document, const juce::File& settingsFile)
    {
        // The default format gives the shared layout: header, empty line, attributes wrapped
        // after 60 characters with 24 spaces of indent, CRLF line ends.
        return document.writeTo (settingsFile, juce::XmlElement::TextFormat());
    }
}

void loadDestinationSettings (juce::File& makerFolder, DestinationFolders& destinationFolders)
{
    destinationFolders = settings::defaultDestinationFolders();
    makerFolder = settings::makerFolder();

    const auto settingsFile = settings::settingsFileIn (makerFolder);

    if (settingsFile.existsAsFile())
    {
        const auto document = settings::readSettingsDocument (settingsFile);

        if (document == nullptr)
            return;

        for (int i = 0; i < settings::pathAttributes.size(); ++i)
        {
            // A missing attribute gives an empty destination: the file is the user's word.
            destinationFolders[(size_t) i] = kv::platform::fileFromPath (document->getStringAttribute (settings::pathAttributes[i]));

            if (destinationFolders[(size_t) i] != juce::File() && ! destinationFolders[(size_t) i].exists())
                destinationFolders[(size_t) i].createDirectory();
        }

        return;
    }

    // Only the file is written here: neither the maker folder nor any destination is created,
    // and a folder of that name is never replaced.
    if (makerFolder.isDirectory() && ! settingsFile.exists())
        settings::writeSettingsDocument (*settings::createSettingsDocument (destinationFolders), settingsFile);
}

SaveResult saveDestinationSetting (const juce::File& settingsFile, const juce::String& attributeName, const juce::String& path)
{
    auto document = settings::readSettingsDocument (settingsFile);

    if (document == nullptr)
        return SaveResult::noSettingsFile;

    document->setAttribute (attributeName, path);

    if (settings::writeSettingsDocument (*document, settingsFile))
        return SaveResult::saved;

    // The write goes to a new file beside it that then replaces it: when the file itself
    // still opens for writing, it is the folder that refused. Opening writes nothing, and
    // JUCE's own access test answers yes to every administrator.
    juce::FileOutputStream probe (settingsFile);
    return probe.openedOk() ? SaveResult::folderRefused : SaveResult::fileRefused;
}

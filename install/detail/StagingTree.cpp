#include "install/detail/StagingTree.h"

#include "archive/EntryInflater.h"
#include "install/detail/InertNames.h"
#include "install/detail/Refusal.h"

namespace kv::install
{
    using archive::ZipRecord;
    using fs::FolderHandle;
    using fs::FsStatus;

    // "/"-separated: the folder above, or "" for an item at the top.
    static juce::String parentOf (const juce::String& relativePath)
    {
        return relativePath.contains ("/") ? relativePath.upToLastOccurrenceOf ("/", false, false) : juce::String();
    }

    static juce::String leafOf (const juce::String& relativePath)
    {
        return leftovers::inertNameFor (relativePath.fromLastOccurrenceOf ("/", false, false));
    }

    // A file or folder that could not be written, as what the system said.
    static StagingTree::Result written (FsStatus failure)
    {
        return { problemFor (failure, InstallProblem::writeFailed), {}, failure.error };
    }

    StagingTree::StagingTree (fs::FileOperations& filesToUse, const FolderHandle& destination, const juce::String& stagingName)
        : files (filesToUse)
    {
        folders.emplace (juce::String(), files.openFolder (destination, stagingName, folderFailure));
    }

    const FolderHandle* StagingTree::folderAt (const juce::String& relativePath)
    {
        if (const auto found = folders.find (relativePath); found != folders.end())
            return found->second.isOpen() ? &found->second : nullptr;

        const auto* parent = folderAt (parentOf (relativePath));
        const auto name = leafOf (relativePath);

        if (parent == nullptr)
            return nullptr;

        const auto created = files.createFolder (*parent, name);
        FsStatus status = created;

        // A folder of the same name may already have come with an earlier entry.
        auto folder = created == FsStatus::ok || created == FsStatus::exists ? files.openFolder (*parent, name, status) : FolderHandle();
        const auto& stored = folders.emplace (relativePath, std::move (folder)).first->second;
        if (! stored.isOpen())
            folderFailure = status;
        return stored.isOpen() ? &stored : nullptr;
    }

    StagingTree::Result StagingTree::writeFile (const juce::MemoryBlock& archiveBytes, const ZipRecord& record, const FolderHandle& folder,
                                                const juce::String& name)
    {
        FsStatus status;
        auto out = files.createFile (folder, name, status);

        if (out == nullptr)
            return { problemFor (status, InstallProblem::writeFailed), {}, status.error };

        switch (archive::copyEntryVerified (archiveBytes.getData(), archiveBytes.getSize(), record, out.get()))
        {
            case archive::EntryCopy::ok: break;
            case archive::EntryCopy::damaged: return { InstallProblem::archiveDamaged, record.name };
            case archive::EntryCopy::writeFailed: return written (out->failure());
        }

        // The file carries its entry's time, as JUCE's own unpacking gives it, not the install's.
        const auto time = record.modificationTime();
        out->setTimes (time, time, time);
        return out->close() ? Result() : written (out->failure());
    }

    StagingTree::Result StagingTree::unpack (const juce::MemoryBlock& archiveBytes, const std::vector<ZipRecord>& records, const archive::ArchivePlan& plan)
    {
        for (const auto& entry : plan.entries)
        {
            const auto& record = records[(size_t) entry.index];

            if (entry.isDirectory)
            {
                if (folderAt (entry.relativePath) == nullptr)
                    return written (folderFailure);

                continue;
            }

            const auto* folder = folderAt (parentOf (entry.relativePath));

            if (folder == nullptr)
                return written (folderFailure);

            const auto result = writeFile (archiveBytes, record, *folder, leafOf (entry.relativePath));

            if (result.problem != InstallProblem::none)
                return result;
        }

        return {};
    }
}

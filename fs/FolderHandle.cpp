#include "fs/FolderHandle.h"

namespace kv::fs
{
    FolderHandle::FolderHandle (Native native, juce::File path)
        : handle (native)
        , folderPath (std::move (path))
    {
    }
    FolderHandle::~FolderHandle() { close(); }
    FolderHandle::FolderHandle (FolderHandle&& other) noexcept { *this = std::move (other); }

    FolderHandle& FolderHandle::operator= (FolderHandle&& other) noexcept
    {
        if (this != &other)
        {
            close();
            handle = std::exchange (other.handle, invalid);
            folderPath = other.folderPath;
        }

        return *this;
    }

    void FolderHandle::close() noexcept
    {
        if (handle != invalid)
            closeNative (handle);

        handle = invalid;
    }

    bool FolderHandle::isOpen() const noexcept { return handle != invalid; }
}

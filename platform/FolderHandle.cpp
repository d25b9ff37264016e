#include "platform/FolderHandle.h"

namespace kv::platform
{
    bool HandleOutputStream::write (const void* data, size_t size)
    {
        auto* bytes = static_cast<const char*> (data);

        while (size > 0 && ! failed)
        {
            const auto written = writeSome (bytes, size);

            if (written < 0)
                failed = true;
            else
            {
                bytes += written;
                size -= (size_t) written;
                position += written;
            }
        }

        return ! failed;
    }

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

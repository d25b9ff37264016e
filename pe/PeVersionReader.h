#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kv::pe
{
    /** Random access to the bytes of a file or a buffer. read() fills exactly `size` bytes or
    fails; it must fail, not crash, for any range past the end. */
    struct ByteSource
    {
        virtual ~ByteSource() = default;
        virtual uint64_t size() const = 0;
        virtual bool read (uint64_t offset, void* destination, size_t size) = 0;
    };

    /** Reads from a buffer it does not own. */
    class MemoryByteSource final : public ByteSource
    {
    public:
        MemoryByteSource (const void* bytes, size_t byteCount) noexcept
            : data (static_cast<const uint8_t*> (bytes))
            , length (byteCount)
        {
        }

        uint64_t size() const override { return length; }
        bool read (uint64_t offset, void* destination, size_t size) override;

    private:
        const uint8_t* data = nullptr;
        size_t length = 0;
    };

    /** Reads a regular file without buffering ahead, so the reader's few small reads are all the
    I/O there is. isOpen() is false for a missing path, a folder or an unreadable file. */
    class FileByteSource final : public ByteSource
    {
    public:
        explicit FileByteSource (const std::string& utf8Path);
        ~FileByteSource() override;

        bool isOpen() const noexcept { return impl != nullptr; }
        uint64_t size() const override;
        bool read (uint64_t offset, void* destination, size_t size) override;

    private:
        struct Impl;
        std::unique_ptr<Impl> impl;
    };

    /** The file version of a Windows PE image (PE32 or PE32+), from the VS_FIXEDFILEINFO of its
    first RT_VERSION resource, as "major.minor.patch.build". Empty for anything that is not a
    readable PE with a well-formed version resource.

    Walks the headers, the section table, one path through the resource directory and the
    start of the version block: a handful of small bounded reads, whatever the file's size.
    It never throws. */
    std::string readPeFileVersion (ByteSource& source);
    std::string readPeFileVersion (const std::string& utf8Path);

} // namespace kv::pe

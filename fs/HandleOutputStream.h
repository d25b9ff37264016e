#pragma once

#include "fs/FsStatus.h"

namespace kv::fs
{
    // A file opened for writing by handle; its times are set through the same handle.
    class HandleOutputStream : public juce::OutputStream
    {
    public:
        virtual bool setTimes (juce::Time created, juce::Time modified, juce::Time accessed) = 0;

        // Closes the file; false when a write or the close failed.
        virtual bool close() = 0;

        // Why the first write or the close failed, with the system's own error; ok while none has.
        FsStatus failure() const noexcept { return firstFailure; }

        // Writes all of it, a piece at a time, until the system refuses.
        bool write (const void* data, size_t size) override;

        void flush() override {}
        bool setPosition (juce::int64) override { return false; }
        juce::int64 getPosition() override { return position; }

    protected:
        // Writes a piece of the bytes: how many, 0 to try again, or -1 when the write failed.
        virtual juce::int64 writeSome (const char* bytes, size_t size) = 0;

        // Marks the stream failed, keeping the first cause.
        void fail (FsStatus cause) noexcept
        {
            if (! failed)
                firstFailure = cause == FsStatus::ok ? FsStatus (FsStatus::failed) : cause;
            failed = true;
        }

        bool failed = false;
        FsStatus firstFailure;

    private:
        juce::int64 position = 0;
    };
}

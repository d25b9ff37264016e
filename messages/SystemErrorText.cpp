#include "messages/SystemErrorText.h"

namespace kv::messages
{
    namespace
    {
        struct Named
        {
            juce::uint32 code;
            const char* name;
        };

        // The answers a file step can get, by the numbers Windows documents for them.
        constexpr Named win32Names[] {
            { 2, "ERROR_FILE_NOT_FOUND" },
            { 3, "ERROR_PATH_NOT_FOUND" },
            { 5, "ERROR_ACCESS_DENIED" },
            { 15, "ERROR_INVALID_DRIVE" },
            { 19, "ERROR_WRITE_PROTECT" },
            { 21, "ERROR_NOT_READY" },
            { 32, "ERROR_SHARING_VIOLATION" },
            { 33, "ERROR_LOCK_VIOLATION" },
            { 39, "ERROR_HANDLE_DISK_FULL" },
            { 55, "ERROR_DEV_NOT_EXIST" },
            { 80, "ERROR_FILE_EXISTS" },
            { 87, "ERROR_INVALID_PARAMETER" },
            { 112, "ERROR_DISK_FULL" },
            { 123, "ERROR_INVALID_NAME" },
            { 145, "ERROR_DIR_NOT_EMPTY" },
            { 183, "ERROR_ALREADY_EXISTS" },
            { 206, "ERROR_FILENAME_EXCED_RANGE" },
            { 267, "ERROR_DIRECTORY" },
            { 303, "ERROR_DELETE_PENDING" },
            { 1117, "ERROR_IO_DEVICE" },
            { 1167, "ERROR_DEVICE_NOT_CONNECTED" },
            { 1224, "ERROR_USER_MAPPED_FILE" },
            { 1295, "ERROR_DISK_QUOTA_EXCEEDED" },
            { 1920, "ERROR_CANT_ACCESS_FILE" },
            { 4390, "ERROR_NOT_A_REPARSE_POINT" },
        };

        constexpr Named ntstatusNames[] {
            { 0xC000000DU, "STATUS_INVALID_PARAMETER" },
            { 0xC000000EU, "STATUS_NO_SUCH_DEVICE" },
            { 0xC000000FU, "STATUS_NO_SUCH_FILE" },
            { 0xC0000022U, "STATUS_ACCESS_DENIED" },
            { 0xC0000034U, "STATUS_OBJECT_NAME_NOT_FOUND" },
            { 0xC0000035U, "STATUS_OBJECT_NAME_COLLISION" },
            { 0xC000003AU, "STATUS_OBJECT_PATH_NOT_FOUND" },
            { 0xC0000043U, "STATUS_SHARING_VIOLATION" },
            { 0xC0000056U, "STATUS_DELETE_PENDING" },
            { 0xC000007FU, "STATUS_DISK_FULL" },
            { 0xC00000A2U, "STATUS_MEDIA_WRITE_PROTECTED" },
            { 0xC00000A3U, "STATUS_DEVICE_NOT_READY" },
            { 0xC00000BAU, "STATUS_FILE_IS_A_DIRECTORY" },
            { 0xC0000101U, "STATUS_DIRECTORY_NOT_EMPTY" },
            { 0xC0000103U, "STATUS_NOT_A_DIRECTORY" },
            { 0xC0000121U, "STATUS_CANNOT_DELETE" },
            { 0xC000026EU, "STATUS_VOLUME_DISMOUNTED" },
            { 0xC0000275U, "STATUS_NOT_A_REPARSE_POINT" },
            { 0xC0000279U, "STATUS_IO_REPARSE_TAG_NOT_HANDLED" },
            { 0xC000044AU, "STATUS_QUOTA_EXCEEDED" },
            { 0xC000050BU, "STATUS_REPARSE_POINT_ENCOUNTERED" },
        };

        template <size_t size>
        juce::String nameIn (const Named (&table)[size], juce::uint32 code)
        {
            for (const auto& entry : table)
                if (entry.code == code)
                    return entry.name;
            return {};
        }

        juce::String joined (const juce::String& number, const juce::String& name)
        {
            return name.isEmpty() ? number : number + ", " + name;
        }
    }

    juce::String win32ErrorName (juce::uint32 error) { return nameIn (win32Names, error); }

    juce::String ntstatusName (juce::uint32 status) { return nameIn (ntstatusNames, status); }

    juce::String systemErrorText (const fs::SystemError& error)
    {
        switch (error.kind)
        {
            case fs::SystemError::Kind::none: return {};
            case fs::SystemError::Kind::posix:
            {
                const auto name = posixErrorName ((int) error.code);
                return name.isNotEmpty() ? name : "error " + juce::String (error.code);
            }
            case fs::SystemError::Kind::win32: return joined ("error " + juce::String (error.code), win32ErrorName (error.code));
            case fs::SystemError::Kind::ntstatus:
                return joined ("NTSTATUS 0x" + juce::String::toHexString ((juce::int64) error.code).toUpperCase().paddedLeft ('0', 8),
                               ntstatusName (error.code));
        }

        return {};
    }
}

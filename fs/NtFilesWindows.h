#pragma once

// What the Windows files of the handle layer share: ntdll's calls, which take a root
// directory and so reach an item from its parent's handle, and the mapping of their errors.
// Included only by fs/*Windows.cpp.
#include "fs/FolderHandle.h"
#include "fs/WindowsRules.h"
#include "platform/PlatformFolders.h"

#include <windows.h>
#include <winternl.h>

#include <string>

namespace kv::fs::windows
{
    constexpr ULONG openReparsePoint = 0x00200000; // FILE_OPEN_REPARSE_POINT
    constexpr ULONG directoryFile = 0x00000001, nonDirectoryFile = 0x00000040, synchronousIo = 0x00000020;
    constexpr ULONG dispositionOpen = 1, dispositionCreate = 2;
    constexpr ULONG fileDispositionInformation = 13, fileDispositionInformationEx = 64;
    constexpr ULONG dispositionDelete = 0x1, dispositionPosix = 0x2, dispositionIgnoreReadOnly = 0x10;

    using NtCreateFileFn = LONG (NTAPI*) (PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                          ULONG, PVOID, ULONG);
    using NtSetInformationFileFn = LONG (NTAPI*) (HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
    using RtlNtStatusToDosErrorFn = ULONG (NTAPI*) (LONG);
    constexpr ULONG fileRenameInformation = 10;

    struct Ntdll
    {
        NtCreateFileFn createFile = nullptr;
        NtSetInformationFileFn setInformation = nullptr;
        RtlNtStatusToDosErrorFn toDosError = nullptr;

        Ntdll()
        {
            if (auto* module = ::GetModuleHandleW (L"ntdll.dll"))
            {
                createFile = (NtCreateFileFn) (void*) ::GetProcAddress (module, "NtCreateFile");
                setInformation = (NtSetInformationFileFn) (void*) ::GetProcAddress (module, "NtSetInformationFile");
                toDosError = (RtlNtStatusToDosErrorFn) (void*) ::GetProcAddress (module, "RtlNtStatusToDosError");
            }
        }
    };

    const Ntdll& ntdll();

    FsStatus statusFromError (DWORD error);

    // An NTSTATUS read as itself first (windows_rules::codeFromNtStatus), and only where that
    // table leaves it, by the Win32 error ntdll maps it to; the NTSTATUS is kept for support.
    FsStatus statusFromNt (LONG status, windows_rules::NtStep step, bool isFolder = false);

    // How many names the file has: more than one, and its attributes are not ours to change.
    DWORD linkCount (HANDLE handle);
    FsStatus lastStatus();

    // Past 260 characters only the "\\?\" form of a path works everywhere.
    std::wstring longPath (const juce::File& file);

    // Opens a child of a folder by name: never through a link, which is opened itself.
    HANDLE openChild (HANDLE parent, const juce::String& name, ACCESS_MASK access, ULONG disposition, ULONG options, FsStatus& status);

    struct ScopedHandle
    {
        HANDLE handle;
        ~ScopedHandle()
        {
            if (handle != INVALID_HANDLE_VALUE)
                ::CloseHandle (handle);
        }
    };

    ItemKind kindOfOpened (HANDLE handle, DWORD* attributesOut = nullptr);

    // True when users other than SYSTEM, Administrators and TrustedInstaller may create, rename
    // or delete in the folder, or change its attributes, from its security descriptor; above
    // the destination, only when they may replace a part of the way down.
    bool othersMayChangeFolder (HANDLE folder, windows_rules::PartOfPath part = windows_rules::PartOfPath::destinationOrBelow);

    // Which file or folder the handle is of.
    bool identityOfOpened (HANDLE handle, ItemIdentity& identity);

    // True when both handles are of the same file or folder.
    bool sameItem (HANDLE a, HANDLE b);
}

/* Does to files what plug-in hosts and Explorer do, for the tests of the Windows build
   under Wine:
     host_helper load <module> <ready> <stop>   keeps the module loaded (LoadLibraryExW)
     host_helper open <file> <ready> <stop>     keeps it open, sharing reads only (no delete)
     host_helper mutex <name> <ready> <stop>    holds the named mutex, as another installer would
     host_helper attrib <path> [RHS]            adds those attributes (files and folders,
                                                which Wine's attrib cannot), then prints them
   <ready> is created once the hold is in place; the hold ends when <stop> exists. */
#include <windows.h>
#include <stdio.h>

static int fileExists (const wchar_t* path)
{
    return GetFileAttributesW (path) != INVALID_FILE_ATTRIBUTES;
}

static int attributes (const wchar_t* path, const wchar_t* add)
{
    DWORD now = GetFileAttributesW (path);

    if (now == INVALID_FILE_ATTRIBUTES)
        return 1;

    for (; add != NULL && *add != 0; ++add)
        now |= *add == L'R' ? FILE_ATTRIBUTE_READONLY : *add == L'H' ? FILE_ATTRIBUTE_HIDDEN
                                                    : *add == L'S'   ? FILE_ATTRIBUTE_SYSTEM
                                                                     : 0;

    if (add != NULL && ! SetFileAttributesW (path, now))
        return 1;

    now = GetFileAttributesW (path);
    wprintf (L"%ls%ls%ls\n", (now & FILE_ATTRIBUTE_READONLY) ? L"R" : L"", (now & FILE_ATTRIBUTE_HIDDEN) ? L"H" : L"",
             (now & FILE_ATTRIBUTE_SYSTEM) ? L"S" : L"");
    return 0;
}

int wmain (int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp (argv[1], L"attrib") == 0)
        return attributes (argv[2], argc > 3 ? argv[3] : NULL);

    if (argc != 5)
    {
        fwprintf (stderr, L"usage: host_helper load|open|mutex <path or name> <ready> <stop> | attrib <path> [RHS]\n");
        return 2;
    }

    if (wcscmp (argv[1], L"mutex") == 0)
    {
        HANDLE mutex = CreateMutexW (NULL, TRUE, argv[2]);

        if (mutex == NULL || GetLastError() == ERROR_ALREADY_EXISTS)
        {
            fwprintf (stderr, L"CreateMutexW did not give a new mutex: %lu\n", GetLastError());
            return 1;
        }
    }
    else if (wcscmp (argv[1], L"load") == 0)
    {
        if (LoadLibraryExW (argv[2], NULL, 0) == NULL)
        {
            fwprintf (stderr, L"LoadLibraryExW failed: %lu\n", GetLastError());
            return 1;
        }
    }
    else if (CreateFileW (argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL) == INVALID_HANDLE_VALUE)
    {
        fwprintf (stderr, L"CreateFileW failed: %lu\n", GetLastError());
        return 1;
    }

    HANDLE ready = CreateFileW (argv[3], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle (ready);

    while (! fileExists (argv[4]))
        Sleep (50);

    return 0;
}

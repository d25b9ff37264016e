/* Holds a file the way a plug-in host does, until told to stop, for the tests of the
   Windows build under Wine:
     hold_file load <module> <ready> <stop>   keeps the module loaded (LoadLibraryExW)
     hold_file open <file> <ready> <stop>     keeps it open, sharing reads only (no delete)
   <ready> is created once the hold is in place; the hold ends when <stop> exists. */
#include <windows.h>
#include <stdio.h>

static int fileExists (const wchar_t* path)
{
    return GetFileAttributesW (path) != INVALID_FILE_ATTRIBUTES;
}

int wmain (int argc, wchar_t** argv)
{
    if (argc != 5)
    {
        fwprintf (stderr, L"usage: hold_file load|open <path> <ready> <stop>\n");
        return 2;
    }

    if (wcscmp (argv[1], L"load") == 0)
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

/* uninstall.exe, the command that "Apps & features" and deployment tools
 * run: it waits for the real uninstall and returns its exit status. The
 * setup program's own uninstaller (uninstall-worker.exe beside it), started
 * without _?=, copies itself away and returns 0 at once, before anything is
 * removed and whatever then fails. So this copies the worker to a folder of
 * its own under %TEMP%, steps out of the install folder itself (a running
 * program can be renamed, not deleted), runs the copy with _?= and the
 * install folder, waits, and returns what it returned; the copy removes the
 * install folder. When the uninstall fails, it steps back in, so that
 * everything stays. Given _?= itself, it runs the worker in place and waits,
 * as before. Exit status 8 when no worker is beside it (a copy elsewhere). */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

enum { EXIT_NOT_OURS = 8, EXIT_SYSTEM = 7 };

static DWORD run(wchar_t *command)
{
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return EXIT_SYSTEM;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = EXIT_SYSTEM;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return status;
}

/* The command line after the program's own name, as it was given. */
static const wchar_t *arguments(void)
{
    const wchar_t *line = GetCommandLineW();
    if (*line == L'"') {
        line = wcschr(line + 1, L'"');
        line = line ? line + 1 : L"";
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

int wmain(void)
{
    wchar_t self[MAX_PATH], folder[MAX_PATH], worker[MAX_PATH];
    if (!GetModuleFileNameW(NULL, self, MAX_PATH))
        return EXIT_SYSTEM;
    wcscpy(folder, self);
    wchar_t *slash = wcsrchr(folder, L'\\');
    if (!slash)
        return EXIT_SYSTEM;
    *slash = 0;
    _snwprintf(worker, MAX_PATH, L"%ls\\uninstall-worker.exe", folder);
    worker[MAX_PATH - 1] = 0;
    if (GetFileAttributesW(worker) == INVALID_FILE_ATTRIBUTES) {
        fwprintf(stderr, L"uninstall: %ls is not beside it; nothing changed\n", worker);
        return EXIT_NOT_OURS;
    }
    const wchar_t *given = arguments();
    static wchar_t command[32768];
    if (wcsstr(given, L"_?=")) {
        _snwprintf(command, 32767, L"\"%ls\" %ls", worker, given);
        return (int)run(command);
    }

    wchar_t temp[MAX_PATH], away[MAX_PATH], copy[MAX_PATH], moved[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp))
        return EXIT_SYSTEM;
    _snwprintf(away, MAX_PATH, L"%lsconverter-config-uninstall-%lu", temp, GetCurrentProcessId());
    away[MAX_PATH - 1] = 0;
    CreateDirectoryW(away, NULL);
    _snwprintf(copy, MAX_PATH, L"%ls\\uninstall-worker.exe", away);
    _snwprintf(moved, MAX_PATH, L"%ls\\uninstall.exe", away);
    copy[MAX_PATH - 1] = moved[MAX_PATH - 1] = 0;
    if (!CopyFileW(worker, copy, FALSE))
        return EXIT_SYSTEM;
    const BOOL out = MoveFileExW(self, moved, MOVEFILE_REPLACE_EXISTING);
    /* _?= takes the rest of the line as the folder, unquoted: last. */
    _snwprintf(command, 32767, L"\"%ls\" %ls%ls_?=%ls", copy, given, *given ? L" " : L"", folder);
    command[32767] = 0;
    const DWORD status = run(command);
    if (status != 0 && out)
        MoveFileExW(moved, self, MOVEFILE_REPLACE_EXISTING);
    DeleteFileW(copy);
    return (int)status;
}

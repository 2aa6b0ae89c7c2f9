/* Stands in for netsh.exe under Wine, which has no Windows Firewall: appends
 * its command line, as one line of UTF-8, to netsh-calls.txt in the Windows
 * folder, and succeeds; while a file netsh-fail is there, it fails an "add"
 * as a firewall that refuses the rule would. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int wmain(void)
{
    wchar_t path[MAX_PATH];
    GetWindowsDirectoryW(path, MAX_PATH);
    wcscat(path, L"\\netsh-calls.txt");
    char line[8192];
    const int size = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line,
                                         sizeof line, NULL, NULL);
    FILE *log = _wfopen(path, L"ab");
    if (!log || size <= 0)
        return 1;
    fprintf(log, "%s\n", line);
    fclose(log);
    GetWindowsDirectoryW(path, MAX_PATH);
    wcscat(path, L"\\netsh-fail");
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES && strstr(line, " add ")) {
        printf("The rule could not be added.\n");
        return 1;
    }
    return 0;
}

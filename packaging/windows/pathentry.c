/* Adds the install folder to the machine's PATH once, or takes it out again,
 * for the Windows installer. PATH can be longer than the installer's own
 * strings, so the value is edited here, whole: every other entry stays as it
 * is, byte for byte, and the value keeps its type, so that adding and then
 * removing gives back exactly what was there. Other programs hear of the
 * change.
 *   pathentry add|remove FOLDER
 * Exit status 0 when PATH holds (or no longer holds) FOLDER, 1 on an error,
 * 2 when the new value would pass Windows's limit of 32,767 characters. */
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

static const wchar_t KEY[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
enum { PATH_LIMIT = 32767 };

/* An entry names the folder when, with its variables expanded and without
 * quotes or a trailing backslash, it matches without case:
 * %ProgramFiles%\x and "C:\Program Files\x" are the same folder. */
static void canonical(const wchar_t *text, size_t length, wchar_t *out, size_t room)
{
    wchar_t raw[PATH_LIMIT + 1];
    if (length > PATH_LIMIT)
        length = PATH_LIMIT;
    wmemcpy(raw, text, length);
    raw[length] = 0;
    if (!ExpandEnvironmentStringsW(raw, out, (DWORD)room))
        wcsncpy(out, raw, room);
    out[room - 1] = 0;
    size_t n = wcslen(out), start = 0;
    while (n > start && out[n - 1] == L'"')
        --n;
    while (start < n && out[start] == L'"')
        ++start;
    while (n > start && out[n - 1] == L'\\')
        --n;
    wmemmove(out, out + start, n - start);
    out[n - start] = 0;
}

static int same_folder(const wchar_t *entry, size_t length, const wchar_t *folder)
{
    static wchar_t a[PATH_LIMIT + 1], b[PATH_LIMIT + 1];
    if (length == 0)
        return 0;
    canonical(entry, length, a, PATH_LIMIT + 1);
    canonical(folder, wcslen(folder), b, PATH_LIMIT + 1);
    return _wcsicmp(a, b) == 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3 || (wcscmp(argv[1], L"add") != 0 && wcscmp(argv[1], L"remove") != 0))
        return 1;
    const int adding = wcscmp(argv[1], L"add") == 0;
    /* Windows Installer hands over "[INSTALLFOLDER]", which ends in a
     * backslash: the command line's \" then leaves a quote at the end. No
     * folder name holds a quote, and the entry is written without the
     * trailing backslash, as a folder typed by hand is. */
    wchar_t folder[MAX_PATH + 2];
    wcsncpy(folder, argv[2], MAX_PATH + 1);
    folder[MAX_PATH + 1] = 0;
    size_t length = wcslen(folder);
    while (length > 0 && folder[length - 1] == L'"')
        folder[--length] = 0;
    while (length > 3 && folder[length - 1] == L'\\')
        folder[--length] = 0;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return 1;
    DWORD type = REG_EXPAND_SZ, size = 0;
    LONG status = RegQueryValueExW(key, L"Path", NULL, &type, NULL, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        type = REG_EXPAND_SZ;
        size = 0;
    } else if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        RegCloseKey(key);
        return 1;
    }
    const size_t room = size / sizeof(wchar_t) + wcslen(folder) + 3;
    wchar_t *old = calloc(room, sizeof(wchar_t));
    wchar_t *new_value = calloc(room, sizeof(wchar_t));
    if (!old || !new_value)
        return 1;
    if (size > 0 && RegQueryValueExW(key, L"Path", NULL, &type, (BYTE *)old, &size) != ERROR_SUCCESS)
        return 1;

    /* Every entry as it is, empty ones included, but ours: splitting at ';'
     * and joining again gives back the value byte for byte. */
    int found = 0, first = 1;
    size_t out = 0;
    const wchar_t *entry = old;
    for (;;) {
        const wchar_t *end = wcschr(entry, L';');
        const size_t length = end ? (size_t)(end - entry) : wcslen(entry);
        if (same_folder(entry, length, folder)) {
            found = 1;
        } else {
            if (!first)
                new_value[out++] = L';';
            wmemcpy(new_value + out, entry, length);
            out += length;
            first = 0;
        }
        if (!end)
            break;
        entry = end + 1;
    }
    new_value[out] = 0;
    if (adding) {
        if (found) {
            out = wcslen(old); /* already there: the value stays exactly as it is */
            wmemcpy(new_value, old, out + 1);
        } else if (out == 0) {
            wcscpy(new_value, folder);
            out = wcslen(folder);
        } else if (new_value[out - 1] == L';') {
            /* A PATH that ends in ';' keeps ending in it. */
            wcscpy(new_value + out, folder);
            out += wcslen(folder);
            new_value[out++] = L';';
            new_value[out] = 0;
        } else {
            new_value[out++] = L';';
            wcscpy(new_value + out, folder);
            out += wcslen(folder);
        }
    }
    const int changed = adding ? !found : found;
    int result = 0;
    if (changed && out > PATH_LIMIT) {
        fwprintf(stderr, L"pathentry: PATH would be %zu characters, more than %d; left as it is\n",
                 out, PATH_LIMIT);
        result = 2;
    } else if (changed) {
        result = RegSetValueExW(key, L"Path", 0, type, (const BYTE *)new_value,
                                (DWORD)((out + 1) * sizeof(wchar_t))) == ERROR_SUCCESS
                     ? 0
                     : 1;
        DWORD_PTR ignored;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)L"Environment",
                            SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    wprintf(L"pathentry: %ls %ls: %ls\n", argv[1], folder,
            result == 0 ? (changed ? L"done" : L"nothing to do") : L"failed");
    RegCloseKey(key);
    return result;
}

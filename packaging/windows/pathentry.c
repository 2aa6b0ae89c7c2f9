/* Adds the install folder to the machine's PATH once, or takes it out again,
 * for the Windows installer. PATH can be longer than the installer's own
 * strings, so the value is edited here, whole: every other entry stays as it
 * is, and the value keeps its type. Other programs hear of the change.
 *   pathentry add|remove FOLDER
 * Exit status 0 when PATH holds (or no longer holds) FOLDER, 1 on an error. */
#include <windows.h>
#include <stdlib.h>
#include <wchar.h>

static const wchar_t KEY[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

/* An entry names the folder when it matches without case and without a
 * trailing backslash. */
static int same_folder(const wchar_t *entry, size_t length, const wchar_t *folder)
{
    size_t folder_length = wcslen(folder);
    while (length > 0 && entry[length - 1] == L'\\')
        --length;
    while (folder_length > 0 && folder[folder_length - 1] == L'\\')
        --folder_length;
    return length == folder_length && _wcsnicmp(entry, folder, length) == 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3 || (wcscmp(argv[1], L"add") != 0 && wcscmp(argv[1], L"remove") != 0))
        return 1;
    const int adding = wcscmp(argv[1], L"add") == 0;
    const wchar_t *folder = argv[2];
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
    const size_t room = size / sizeof(wchar_t) + wcslen(folder) + 2;
    wchar_t *old = calloc(room, sizeof(wchar_t));
    wchar_t *new_value = calloc(room, sizeof(wchar_t));
    if (!old || !new_value)
        return 1;
    if (size > 0 && RegQueryValueExW(key, L"Path", NULL, &type, (BYTE *)old, &size) != ERROR_SUCCESS)
        return 1;

    /* Every entry, empty ones included, goes back as it was but ours. */
    int found = 0, first = 1;
    size_t out = 0;
    const wchar_t *entry = old;
    for (;;) {
        const wchar_t *end = wcschr(entry, L';');
        const size_t length = end ? (size_t)(end - entry) : wcslen(entry);
        const int ours = length > 0 && same_folder(entry, length, folder);
        found |= ours;
        if (!ours && !(end == NULL && length == 0 && first)) {
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
    const int changed = adding ? !found : found;
    if (adding && found) {
        out = wcslen(old); /* already there: the value stays exactly as it is */
        wmemcpy(new_value, old, out);
    } else if (adding) {
        if (out > 0 && new_value[out - 1] != L';')
            new_value[out++] = L';';
        wcscpy(new_value + out, folder);
        out += wcslen(folder);
    }
    new_value[out] = 0;
    int result = 0;
    if (changed) {
        result = RegSetValueExW(key, L"Path", 0, type, (const BYTE *)new_value,
                                (DWORD)((out + 1) * sizeof(wchar_t))) == ERROR_SUCCESS
                     ? 0
                     : 1;
        DWORD_PTR ignored;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)L"Environment",
                            SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    RegCloseKey(key);
    return result;
}

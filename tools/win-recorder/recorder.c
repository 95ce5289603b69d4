/* A Windows program that records what it was started with, so that a test
 * can see what reaches an emulator started through the real Wine: its
 * arguments as Windows splits them, its current directory, and for each
 * argument the folder ("." or "headers" or "bios") from which a file of
 * that name opens, or "". It appends one JSON line to recorder.log beside
 * its own executable, and shows no window. */

#include <windows.h>

#include <shellapi.h>
#include <stdlib.h>
#include <wchar.h>

/* The JSON line, built as UTF-16 and written as UTF-8. */
static wchar_t *line;
static size_t used, capacity;

static void add(const wchar_t *text, size_t length)
{
    if (used + length + 1 > capacity) {
        capacity = 2 * (used + length + 1);
        line = realloc(line, capacity * sizeof *line);
        if (!line)
            ExitProcess(2);
    }
    wmemcpy(line + used, text, length);
    used += length;
    line[used] = L'\0';
}

static void addText(const wchar_t *text)
{
    add(text, wcslen(text));
}

static void addString(const wchar_t *text)
{
    addText(L"\"");
    for (; *text; ++text) {
        static const wchar_t hex[] = L"0123456789abcdef";
        if (*text == L'"' || *text == L'\\') {
            const wchar_t escaped[] = {L'\\', *text};
            add(escaped, 2);
        } else if (*text < 0x20) {
            const wchar_t escaped[] = {L'\\', L'u', L'0', L'0', hex[*text >> 4], hex[*text & 15]};
            add(escaped, 6);
        } else {
            add(text, 1);
        }
    }
    addText(L"\"");
}

static BOOL opens(const wchar_t *folder, const wchar_t *name)
{
    size_t size = wcslen(folder) + wcslen(name) + 2;
    wchar_t *path = malloc(size * sizeof *path);
    if (!path)
        return FALSE;
    wcscpy(path, folder);
    wcscat(path, L"\\");
    wcscat(path, name);
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    free(path);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    CloseHandle(file);
    return TRUE;
}

int main(void)
{
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return 1;

    addText(L"{\"program\":");
    addString(argv[0]);
    addText(L",\"arguments\":[");
    for (int i = 1; i < count; ++i) {
        if (i > 1)
            addText(L",");
        addString(argv[i]);
    }

    wchar_t cwd[MAX_PATH * 4];
    DWORD cwdLength = GetCurrentDirectoryW(MAX_PATH * 4, cwd);
    addText(L"],\"cwd\":");
    addString(cwdLength > 0 && cwdLength < MAX_PATH * 4 ? cwd : L"");

    static const wchar_t *const folders[] = {L".", L"headers", L"bios"};
    addText(L",\"foundIn\":[");
    for (int i = 1; i < count; ++i) {
        const wchar_t *found = L"";
        for (size_t f = 0; f < sizeof folders / sizeof *folders && !*found; ++f) {
            if (opens(folders[f], argv[i]))
                found = folders[f];
        }
        if (i > 1)
            addText(L",");
        addString(found);
    }
    addText(L"]}\n");

    /* The log goes beside the executable, whatever the current directory. */
    wchar_t logPath[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(NULL, logPath, MAX_PATH * 4 - 16);
    if (length == 0 || length >= MAX_PATH * 4 - 16)
        return 1;
    wchar_t *slash = wcsrchr(logPath, L'\\');
    wcscpy(slash ? slash + 1 : logPath, L"recorder.log");

    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, (int)used, NULL, 0, NULL, NULL);
    char *utf8 = malloc((size_t)bytes);
    if (!utf8)
        return 1;
    WideCharToMultiByte(CP_UTF8, 0, line, (int)used, utf8, bytes, NULL, NULL);
    HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(log, utf8, (DWORD)bytes, &written, NULL) && written == (DWORD)bytes;
    CloseHandle(log);
    return ok ? 0 : 1;
}

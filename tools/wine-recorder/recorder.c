/* A Windows program that writes down how it was started, so that a test can
 * see what reaches a program started through the real Wine: its command
 * line, its name and arguments as CommandLineToArgvW splits that line, the
 * arguments as the C runtime splits it, its working folder, and how it was
 * asked to show its window (STARTUPINFO's dwFlags and wShowWindow). It
 * appends one JSON line, in UTF-8, to recorder.log in its working folder,
 * and opens no window. */

#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
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
    static const wchar_t hex[] = L"0123456789abcdef";
    addText(L"\"");
    for (; *text; ++text) {
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

static void addList(const wchar_t *name, int count, wchar_t **items)
{
    addText(name);
    addText(L":[");
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            addText(L",");
        addString(items[i]);
    }
    addText(L"]");
}

static void addNumber(const wchar_t *name, unsigned long value)
{
    wchar_t text[32];
    swprintf(text, sizeof text / sizeof *text, L"%lu", value);
    addText(name);
    addText(L":");
    addText(text);
}

int wmain(int argc, wchar_t **argv)
{
    int count = 0;
    wchar_t **split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!split)
        return 1;
    wchar_t folder[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    if (length == 0 || length >= MAX_PATH * 4)
        return 1;
    STARTUPINFOW startup;
    GetStartupInfoW(&startup);

    addText(L"{\"commandLine\":");
    addString(GetCommandLineW());
    addText(L",\"program\":");
    addString(split[0]);
    addList(L",\"arguments\"", count - 1, split + 1);
    addList(L",\"crtArguments\"", argc - 1, argv + 1);
    addText(L",\"cwd\":");
    addString(folder);
    addNumber(L",\"flags\"", startup.dwFlags);
    addNumber(L",\"showWindow\"", startup.wShowWindow);
    addText(L"}\n");

    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line, (int)used, NULL, 0, NULL, NULL);
    char *utf8 = malloc((size_t)bytes);
    if (!utf8)
        return 1;
    WideCharToMultiByte(CP_UTF8, 0, line, (int)used, utf8, bytes, NULL, NULL);
    // Shared for writing too: the start before may still be closing its handle.
    const HANDLE log =
        CreateFileW(L"recorder.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(log, utf8, (DWORD)bytes, &written, NULL) && written == (DWORD)bytes;
    CloseHandle(log);
    return ok ? 0 : 1;
}

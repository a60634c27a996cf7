// What the Win32 companions share: each ends when its standard input closes (scripts/velmor
// closes it, or it closes with the script), and speaks to the script in lines of text on
// its standard output. Included by each companion's one source file.
#include <windows.h>

static DWORD companionThread;   // told to quit when the input closes

static DWORD WINAPI WatchInput(LPVOID)
{
    char buffer[64];
    DWORD count;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, buffer, sizeof buffer, &count, NULL) && count > 0) {
    }
    PostThreadMessageA(companionThread, WM_QUIT, 0, 0);
    return 0;
}

// The calling thread's message loop gets WM_QUIT once the input closes.
static void QuitWhenInputCloses(void)
{
    companionThread = GetCurrentThreadId();
    DWORD watcher;
    CloseHandle(CreateThread(NULL, 0, WatchInput, NULL, 0, &watcher));
}

static void WriteOutput(const char *text, int length)
{
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, NULL);
}

// Running the built velmor.exe as a child process and finding its windows.
#include "childbar.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

std::string VelmorExePath(void)
{
    const char* path = getenv("VELMOR_EXE");
    return path ? path : "";
}

// Now and then (a few in a thousand under load) Wine's new process ends before it has
// started, and CreateProcess fails with nothing said. The cause is not known yet: each such
// start is written down (VELMOR_FAILED_STARTS, which scripts/check reports) and tried once
// more, so that it is counted rather than taken for a fault of the program.
static void NoteFailedStart(const std::string& exe, DWORD error)
{
    const char* log = getenv("VELMOR_FAILED_STARTS");
    FILE* file = log ? fopen(log, "a") : NULL;
    fprintf(stderr, "starting %s failed (error %lu)\n", exe.c_str(), (unsigned long)error);
    if (file) {
        fprintf(file, "%s: error %lu\n", exe.c_str(), (unsigned long)error);
        fclose(file);
    }
}

bool StartChildProgram(const std::string& exe, const std::string& directory,
                       PROCESS_INFORMATION* process)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    for (int attempt = 1;; attempt++) {
        ZeroMemory(process, sizeof *process);
        if (CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                           directory.c_str(), &startup, process))
            return true;
        NoteFailedStart(exe, GetLastError());
        if (attempt == 2)
            return false;
    }
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    bool mustBeVisible;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch* search = (WindowSearch*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    char name[256];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, search->className) != 0)
        return TRUE;
    if (search->title) {
        GetWindowTextA(window, name, sizeof name);
        if (strcmp(name, search->title) != 0)
            return TRUE;
    }
    if (search->mustBeVisible && !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    WindowSearch search = { processId, className, title, false, NULL };
    EnumWindows(MatchWindow, (LPARAM)&search);
    return search.found;
}

HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = { processId, className, NULL, true, NULL };
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found || GetTickCount() - start > timeoutMs)
            return search.found;
        Sleep(10);
    }
}

HWND WaitForChildBar(PROCESS_INFORMATION* process)
{
    HWND bar = WaitForProcessWindow(process->dwProcessId, "QxBarClass", 15000);
    if (bar == NULL)
        FinishChildProgram(process, 0);
    return bar;
}

DWORD FinishChildProgram(PROCESS_INFORMATION* process, DWORD timeoutMs)
{
    DWORD status = STILL_ACTIVE;
    if (WaitForSingleObject(process->hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process->hProcess, &status);
    else
        TerminateProcess(process->hProcess, 1);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    return status;
}

// Running the built velmor.exe as a child process and finding its windows.
#include "childbar.h"
#include <stdlib.h>
#include <string.h>

std::string VelmorExePath(void)
{
    const char* path = getenv("VELMOR_EXE");
    return path ? path : "";
}

bool StartChildProgram(const std::string& exe, const std::string& directory,
                       PROCESS_INFORMATION* process)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    ZeroMemory(process, sizeof *process);
    return CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                          directory.c_str(), &startup, process) != FALSE;
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

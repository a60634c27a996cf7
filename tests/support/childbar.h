// Running the built velmor.exe as a child process and finding its windows.
#ifndef VELMOR_CHILDBAR_H
#define VELMOR_CHILDBAR_H

#include <windows.h>
#include <string>

// Path of the built program (VELMOR_EXE, given to every test by ctest).
std::string VelmorExePath(void);

// Starts the program with the given current directory; false when it cannot start.
bool StartChildProgram(const std::string& exe, const std::string& directory,
                       PROCESS_INFORMATION* process);

// The first top-level window of the process with this class (and title, when given).
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = NULL);
// Waits for a visible one.
HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs);

// Waits for the program's visible bar; when none comes, ends the program (and closes the
// handles), so that a failing test leaves no bar behind for the tests after it.
HWND WaitForChildBar(PROCESS_INFORMATION* process);

// Waits for the process to end; returns its exit status, or STILL_ACTIVE after the
// timeout (the process is then terminated). Closes the handles.
DWORD FinishChildProgram(PROCESS_INFORMATION* process, DWORD timeoutMs);

#endif

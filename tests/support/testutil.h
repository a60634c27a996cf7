// Helpers shared by the test programs: scratch directories, files, message pumping.
#ifndef VELMOR_TESTUTIL_H
#define VELMOR_TESTUTIL_H

#include <windows.h>
#include <functional>
#include <string>

// Creates an empty scratch directory, makes it current, and removes it afterwards.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    std::string path;
    std::string previous;
};

std::string ReadFileBytes(const char* path);        // "" when missing
void WriteFileBytes(const char* path, const std::string& bytes);
bool FileExists(const char* path);

// Dispatches messages until done() holds or timeoutMs passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
void PumpFor(DWORD ms);

// A steady clock for the benchmarks, in microseconds.
double MicrosecondsNow(void);

// How many times a test that repeats the same work does it: times, or fewer where
// VELMOR_REPEATS caps it (the emulated PC, where the shipped build's many repeats would only
// do again what shows nothing of its width; the twin does them all).
int RepeatCount(int times);

// Fixes the UTC time the program reads (hour, minute).
void SetFixedUtc(WORD hour, WORD minute);
void ClearFixedUtc(void);

#endif

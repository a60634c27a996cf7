// Scratch directories, file bytes, message pumping and the UTC seam for the tests.
#include "testutil.h"
#include <stdio.h>
#include <stdlib.h>
#include "zones/zones.h"

static void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

ScratchDir::ScratchDir()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    previous = buffer;
    GetTempPathA(MAX_PATH, buffer);
    static int serial;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%svelmor-test-%lu-%d", buffer, GetCurrentProcessId(), serial++);
        if (CreateDirectoryA(name, NULL)) {
            path = name;
            break;
        }
    }
    SetCurrentDirectoryA(path.c_str());
}

ScratchDir::~ScratchDir()
{
    SetCurrentDirectoryA(previous.c_str());
    RemoveTree(path);
}

std::string ReadFileBytes(const char* path)
{
    std::string bytes;
    FILE* file = fopen(path, "rb");
    if (!file)
        return bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

void WriteFileBytes(const char* path, const std::string& bytes)
{
    FILE* file = fopen(path, "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

double MicrosecondsNow(void)
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1e6 / frequency.QuadPart;
}

int RepeatCount(int times)
{
    const char* cap = getenv("VELMOR_REPEATS");
    if (cap && atoi(cap) > 0 && atoi(cap) < times)
        return atoi(cap);
    return times;
}

static SYSTEMTIME fixedTime;

void SetFixedUtc(WORD hour, WORD minute)
{
    GetSystemTime(&fixedTime);
    fixedTime.wHour = hour;
    fixedTime.wMinute = minute;
    fixedUtcTime = &fixedTime;
}

void ClearFixedUtc(void)
{
    fixedUtcTime = NULL;
}

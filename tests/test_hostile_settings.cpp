// 200 hostile settings files: each time the real program starts, shows the bar, closes
// cleanly and writes its two preferences.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "res/resource.h"
#include "childbar.h"
#include "testutil.h"

static unsigned randomState;

static unsigned NextRandom(void)
{
    randomState = randomState * 1103515245u + 12345u;
    return randomState >> 8;
}

static std::string RandomBytes(size_t count)
{
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = (char)NextRandom();
    return bytes;
}

static std::string RandomNumber(void)
{
    static const char* const numbers[] = {
        "1", "3", "99", "0", "-2", "2", "7", "-1", "2147483647", "-2147483648", "4294967295",
        "4294967296", "99999999999999999999", "-99999999999999999999", "0099", " 3", "3 ", "+1",
        "0x63", "1e3", "", "abc", "99abc", "--3", "\t1",
    };
    return numbers[NextRandom() % (sizeof numbers / sizeof numbers[0])];
}

static const char* const keys[] = { "ALIGN", "ONTOP", "ONE", "TWO", "THREE", "FOUR", "ONEDST", "FOURDST", "X", "Y" };
static const char* const sections[] = { "PREFS", "ZONES", "PIN1", "PIN4", "prefs", "Prefs", "ZONES ", " PREFS" };

static std::string RandomLine(void)
{
    std::string key = keys[NextRandom() % 10];
    return key + "=" + RandomNumber() + "\r\n";
}

static std::string RandomSection(void)
{
    std::string text = std::string("[") + sections[NextRandom() % 8] + "]\r\n";
    for (unsigned n = NextRandom() % 8; n > 0; n--)
        text += RandomLine();
    return text;
}

// File number i: ten kinds of damage, each with its own random details.
static std::string HostileFile(int i, std::string* kind)
{
    randomState = 0x5eed0000u + i;
    switch (i % 10) {
    case 0:
        *kind = "random bytes";
        return RandomBytes(1 + NextRandom() % 8192);
    case 1:
        *kind = "sections mixed with random bytes";
        return RandomSection() + RandomBytes(NextRandom() % 300) + RandomSection() + RandomBytes(NextRandom() % 300);
    case 2: {
        *kind = "a 1 MB line";
        std::string huge(1 << 20, "A7=[]"[NextRandom() % 5]);
        std::string text = RandomSection();
        switch (NextRandom() % 3) {
        case 0: return text + huge + "\r\n" + RandomSection();
        case 1: return text + "[PREFS]\r\nALIGN=" + huge + "\r\n";
        default: return "[PREFS]\r\n" + huge + "=1\r\nONTOP=0\r\n";
        }
    }
    case 3: {
        *kind = "no newline at the end";
        std::string text = RandomSection() + "[PREFS]\r\nONTOP=0\r\nALIGN=" + RandomNumber();
        return text;
    }
    case 4: {
        *kind = "duplicated sections and keys";
        std::string text;
        for (int n = 0; n < 3; n++)
            text += "[PREFS]\r\nALIGN=" + RandomNumber() + "\r\nALIGN=" + RandomNumber() + "\r\nONTOP=" +
                    RandomNumber() + "\r\n[ZONES]\r\nONE=" + RandomNumber() + "\r\nONE=" + RandomNumber() + "\r\n";
        return text;
    }
    case 5: {
        *kind = "NUL bytes";
        std::string text = RandomSection() + "[PREFS]\r\nALIGN=99\r\n";
        for (unsigned n = 1 + NextRandom() % 6; n > 0; n--)
            text.insert(NextRandom() % text.size(), 1, '\0');
        return text;
    }
    case 6: {
        *kind = "negative and huge numbers";
        const char* big[] = { "-2147483648", "2147483647", "4294967295", "-99999999999", "18446744073709551616" };
        std::string text = "[ZONES]\r\n";
        for (const char* key : { "ONE", "TWO", "THREE", "FOUR", "ONEDST", "TWODST", "THREEDST", "FOURDST" })
            text += std::string(key) + "=" + big[NextRandom() % 5] + "\r\n";
        text += std::string("[PREFS]\r\nALIGN=") + big[NextRandom() % 5] + "\r\nONTOP=" + big[NextRandom() % 5] + "\r\n";
        return text;
    }
    case 7: {
        *kind = "lone line ends and odd brackets";
        std::string text = "\r[PREFS\n]ALIGN=3\r\r\n[[PREFS]]\nONTOP=1\n[PREFS]\rALIGN=" + RandomNumber() +
                           "\n=\n==\n[\n]\n";
        return text + RandomSection();
    }
    case 8: {
        *kind = "a byte-order mark and random bytes";
        static const char* const marks[] = { "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF" };
        return std::string(marks[NextRandom() % 3]) + RandomSection() + RandomBytes(NextRandom() % 2000);
    }
    default: {
        *kind = "thousands of sections";
        std::string text;
        for (int n = 0; n < 4000; n++)
            text += RandomSection();
        return text;
    }
    }
}

// The value the program itself will read: the same platform call on the same file.
static int ReadAsTheProgramDoes(const std::string& file, const char* key)
{
    WritePrivateProfileStringA(NULL, NULL, NULL, file.c_str());   // drop the cached copy
    return (int)GetPrivateProfileIntA("PREFS", key, 1, file.c_str());
}

static void RunHostileFiles(int first, int count)
{
    ScratchDir dir;
    std::string file = dir.path + "\\VELMOR.INI";
    for (int i = first; i < first + count; i++) {
        std::string kind;
        WriteFileBytes(file.c_str(), HostileFile(i, &kind));
        SCOPED_TRACE(testing::Message() << "file " << i << ": " << kind);
        int align = ReadAsTheProgramDoes(file, "ALIGN");
        int ontop = ReadAsTheProgramDoes(file, "ONTOP");

        PROCESS_INFORMATION process;
        ASSERT_TRUE(StartChildProgram(VelmorExePath(), dir.path, &process));
        HWND bar = WaitForProcessWindow(process.dwProcessId, "QxBarClass", 15000);
        EXPECT_TRUE(bar != NULL) << "no bar";
        if (bar) {
            RECT rect;
            GetWindowRect(bar, &rect);
            EXPECT_EQ(align == 99 ? 218 : 54, rect.bottom - rect.top);
            PostMessageA(bar, WM_COMMAND, CMD_CLOSE, 0);
        }
        EXPECT_EQ(0u, FinishChildProgram(&process, 10000));
        EXPECT_EQ(align, ReadAsTheProgramDoes(file, "ALIGN"));
        EXPECT_EQ(ontop, ReadAsTheProgramDoes(file, "ONTOP"));
        DeleteFileA(file.c_str());
        if (testing::Test::HasFailure())
            return;
    }
}

// Groups of 25 programs started and closed, each well inside its time limit also on a slow machine.
// The first group has each kind; where repeats are cut, the first ten still do.
TEST(HostileSettings, Files0To24) { RunHostileFiles(0, RepeatCount(25)); }
TEST(HostileSettings, Files25To49) { RunHostileFiles(25, 25); }
TEST(HostileSettings, Files50To74) { RunHostileFiles(50, 25); }
TEST(HostileSettings, Files75To99) { RunHostileFiles(75, 25); }
TEST(HostileSettings, Files100To124) { RunHostileFiles(100, 25); }
TEST(HostileSettings, Files125To149) { RunHostileFiles(125, 25); }
TEST(HostileSettings, Files150To174) { RunHostileFiles(150, 25); }
TEST(HostileSettings, Files175To199) { RunHostileFiles(175, 25); }

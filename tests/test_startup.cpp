// Start-up: the version refusal, the bar window in each form, "ONTOP", the popup menu.
#include <gtest/gtest.h>
#include <string.h>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "barharness.h"
#include "childbar.h"
#include "dialogtest.h"
#include "testutil.h"

static const char refusalText[] =
    "You need to be using Windows95 or NT v4.0 to use Velmor!\n\nVelmor will now close...";

static std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Wine gives a program the Windows version named under AppDefaults\<exe name>.
struct VersionOverride {
    std::string key;
    VersionOverride(const std::string& exeName, const char* version)
        : key("Software\\Wine\\AppDefaults\\" + exeName)
    {
        HKEY handle;
        RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL);
        RegSetValueExA(handle, "Version", 0, REG_SZ, (const BYTE*)version, strlen(version) + 1);
        RegCloseKey(handle);
    }
    ~VersionOverride() { RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); }
};

struct ChildInfo { std::string text; bool iconStatic; int redPixels; };

static BOOL CALLBACK ReadBoxChild(HWND child, LPARAM param)
{
    ChildInfo* info = (ChildInfo*)param;
    if (ClassOf(child) != "Static")
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        info->iconStatic = true;
        // the error icon is the red one; the warning and information icons are not.
        // Read from the screen: the box belongs to another process
        HDC dc = GetDC(NULL);
        RECT area;
        GetWindowRect(child, &area);
        for (int y = area.top; y < area.bottom; y++)
            for (int x = area.left; x < area.right; x++) {
                COLORREF c = GetPixel(dc, x, y);
                if (c != CLR_INVALID && GetRValue(c) > 160 && GetGValue(c) < 80 && GetBValue(c) < 80)
                    info->redPixels++;
            }
        ReleaseDC(NULL, dc);
    } else if (!TextOf(child).empty()) {
        info->text = TextOf(child);
    }
    return TRUE;
}

// Runs a copy of velmor.exe under the given Windows version from a scratch directory.
static void RunUnderVersion(const char* version, const char* exeName, bool expectRefusal)
{
    ScratchDir dir;
    std::string exe = dir.path + "\\" + exeName;
    ASSERT_TRUE(CopyFileA(VelmorExePath().c_str(), exe.c_str(), FALSE)) << VelmorExePath();
    VersionOverride override(exeName, version);

    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartChildProgram(exe, dir.path, &process));
    if (!expectRefusal) {
        HWND bar = WaitForProcessWindow(process.dwProcessId, "QxBarClass", 15000);
        EXPECT_TRUE(bar != NULL) << "a Windows 4 version must start the bar";
        PostMessageA(bar, WM_COMMAND, CMD_CLOSE, 0);
        EXPECT_EQ(0u, FinishChildProgram(&process, 10000));
        EXPECT_TRUE(FileExists("VELMOR.INI"));
        return;
    }

    HWND box = NULL, bar = NULL;
    DWORD start = GetTickCount();
    while (!box && GetTickCount() - start < 15000) {
        box = FindProcessWindow(process.dwProcessId, "#32770");
        if (!bar)
            bar = FindProcessWindow(process.dwProcessId, "QxBarClass");
        Sleep(20);
    }
    ASSERT_TRUE(box != NULL) << "no refusal box under " << version;
    PumpUntil([&] { return IsWindowVisible(box) != FALSE; });
    PumpFor(300);
    EXPECT_EQ("Velmor", TextOf(box));
    ChildInfo info = { "", false, 0 };
    EnumChildWindows(box, ReadBoxChild, (LPARAM)&info);
    EXPECT_EQ(refusalText, info.text);
    EXPECT_TRUE(info.iconStatic) << "MB_ICONERROR shows an icon";
    EXPECT_GT(info.redPixels, 40) << "the icon is the red error icon";
    EXPECT_TRUE(bar == NULL) << "no bar window before the refusal";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD status = FinishChildProgram(&process, 10000);
    EXPECT_EQ((DWORD)IDOK, status) << "the exit status is the box's result";
    EXPECT_FALSE(FileExists("VELMOR.INI")) << "nothing is written when refusing";
}

TEST(Startup, RefusesWindows2000)
{
    RunUnderVersion("win2k", "velmor_w2k.exe", true);
}

TEST(Startup, RefusesNt351)
{
    RunUnderVersion("nt351", "velmor_nt3.exe", true);
}

TEST(Startup, Windows95RunsTheBar)
{
    RunUnderVersion("win95", "velmor_w95.exe", false);
}

struct FormCase {
    const char* ini;
    RECT rect;
    DWORD style;
};

static void ExpectForm(const char* ini, RECT expected, DWORD style)
{
    ScratchDir dir;
    HWND bar = StartBar(ini);
    ASSERT_TRUE(bar != NULL);
    RECT rect = WindowRect(bar);
    EXPECT_EQ(expected.left, rect.left);
    EXPECT_EQ(expected.top, rect.top);
    EXPECT_EQ(expected.right, rect.right);
    EXPECT_EQ(expected.bottom, rect.bottom);
    // top-level windows always clip their siblings; the platform adds that bit
    EXPECT_EQ(style | WS_VISIBLE | WS_CLIPSIBLINGS, (DWORD)GetWindowLongA(bar, GWL_STYLE));
    DWORD exStyle = GetWindowLongA(bar, GWL_EXSTYLE);
    EXPECT_EQ((DWORD)(WS_EX_TOOLWINDOW | WS_EX_TOPMOST), exStyle & ~WS_EX_WINDOWEDGE);
    EXPECT_EQ("QxBarClass", ClassOf(bar));
    EXPECT_EQ("Velmor", TextOf(bar));
    EXPECT_TRUE(IsWindowVisible(bar));
    CloseBar();
}

TEST(Startup, AlignOneDocksAtTheTop)
{
    int sw = GetSystemMetrics(SM_CXSCREEN);
    ExpectForm("[PREFS]\r\nALIGN=1\r\n", RECT{ 0, 0, sw, 54 }, WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME);
    EXPECT_EQ(PLACEMENT_TOP, placement);
}

TEST(Startup, AlignThreeDocksAtTheBottom)
{
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    ExpectForm("[PREFS]\r\nALIGN=3\r\n", RECT{ 0, sh - 54, sw, sh }, WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME);
    EXPECT_EQ(PLACEMENT_BOTTOM, placement);
}

TEST(Startup, AlignNinetyNineFloats)
{
    ExpectForm("[PREFS]\r\nALIGN=99\r\n", RECT{ 35, 35, 35 + 151, 35 + 218 },
               WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(PLACEMENT_FLOATING, placement);
}

// An edge the program never writes docks the bar where the default would, instead of
// covering the screen; the preference keeps what the file says.
TEST(Startup, UnlistedAlignDocksAtTheTop)
{
    int sw = GetSystemMetrics(SM_CXSCREEN);
    for (int align : { 7, 0, -2 }) {
        std::string ini = "[PREFS]\r\nALIGN=" + std::to_string(align) + "\r\n";
        SCOPED_TRACE(ini);
        ExpectForm(ini.c_str(), RECT{ 0, 0, sw, 54 }, WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME);
        EXPECT_EQ(ABE_TOP, (int)appBar.uEdge);
        EXPECT_EQ(align, alignPreference);
    }
}

TEST(Startup, OntopPreference)
{
    struct { const char* ini; bool topmost; bool checked; } cases[] = {
        { "[PREFS]\r\nONTOP=1\r\n", true, true },
        { "[PREFS]\r\nONTOP=0\r\n", false, false },
        { "[PREFS]\r\nONTOP=2\r\n", false, false },
        { "[PREFS]\r\nONTOP=1\r\nALIGN=99\r\n", true, true },
        { "[PREFS]\r\nONTOP=0\r\nALIGN=99\r\n", false, false },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.ini);
        ScratchDir dir;
        HWND bar = StartBar(c.ini);
        EXPECT_EQ(c.topmost, IsTopmost(bar));
        EXPECT_EQ(c.checked, OntopChecked());
        CloseBar();
    }
}

TEST(Startup, MenuHasSixItemsInOrder)
{
    ScratchDir dir;
    StartBar();
    ASSERT_TRUE(barMenu != NULL);
    ASSERT_EQ(6, GetMenuItemCount(barMenu));
    struct { UINT id; const char* text; bool separator; } items[] = {
        { CMD_CLOSE, "&Close\tAlt+F4", false },
        { 0, "", true },
        { CMD_ALWAYS_ON_TOP, "Always on &top", false },
        { 0, "", true },
        { CMD_ABOUT, "&About...", false },
        { CMD_PROPERTIES, "&Properties", false },
    };
    for (int i = 0; i < 6; i++) {
        SCOPED_TRACE(i);
        UINT state = GetMenuState(barMenu, i, MF_BYPOSITION);
        EXPECT_EQ(items[i].separator, (state & MF_SEPARATOR) != 0);
        if (items[i].separator)
            continue;
        EXPECT_EQ(items[i].id, GetMenuItemID(barMenu, i));
        char text[64] = "";
        GetMenuStringA(barMenu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(items[i].text, text);
        EXPECT_EQ(0u, state & (MF_GRAYED | MF_DISABLED | MF_POPUP));
    }
    CloseBar();
}

TEST(Startup, NoSettingsFileDocksOnTopAndWritesOnlyThePreferences)
{
    ScratchDir dir;
    HWND bar = StartBar();
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_TRUE(OntopChecked());
    EXPECT_FALSE(FileExists("VELMOR.INI"));
    CloseBar();
    EXPECT_EQ("[PREFS]\r\nALIGN=1\r\nONTOP=1\r\n", ReadFileBytes("VELMOR.INI"));
}

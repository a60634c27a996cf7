// The program's entry point. velmor.exe links no C runtime (Windows 95 as first sold has
// no msvcrt.dll), so the loader starts it here rather than in a runtime's start-up code.
#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunVelmor(instance);
}

// Named by the link as the image's entry point. Nothing else runs before it: no static
// constructors, no runtime initialisation.
extern "C" void WINAPI VelmorEntry(void)
{
    static char noArguments[] = "";
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, noArguments, SW_SHOWDEFAULT));
}

// Start-up: the version check and the bar window; the message loop.
#include "app/app.h"

int RunVelmor(HINSTANCE instance)
{
    appInstance = instance;
    LoadStartupState();
    LoadPreferences();
    return 0;
}

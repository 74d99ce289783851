#include <windows.h>

#include "ui/startup/basMain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tolvane::Main();
    return tolvane::RunMessageLoop();
}

#include "app/frmMain.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    skelvane::frmMain window;
    return window.Run(instance, showCommand);
}

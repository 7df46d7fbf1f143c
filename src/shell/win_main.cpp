#include <windows.h>

#include "shell/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    SetAppInstance(instance);
    return 0;
}

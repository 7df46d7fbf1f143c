#pragma once
// Process-wide values of the shell.

#include <windows.h>

// The instance handle that resources, windows and dialogs are loaded with.
HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

#include "framework/app.h"

namespace {
HINSTANCE g_instance = nullptr;
}

HINSTANCE AppInstance() {
    return g_instance;
}
void SetAppInstance(HINSTANCE instance) {
    g_instance = instance;
}

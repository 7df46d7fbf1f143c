#include <windows.h>

#include <gtest/gtest.h>

#include "shell/app.h"

TEST(WinSmoke, InstanceIsSet) { EXPECT_EQ(AppInstance(), GetModuleHandleA(nullptr)); }

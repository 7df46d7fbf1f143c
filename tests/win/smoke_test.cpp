#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/app.h"

TEST(WinSmoke, ProcessIsPreparedLikeTheProgram) {
    EXPECT_EQ(AppInstance(), GetModuleHandleA(nullptr));
    // The 8-bit Chinese texts survive only under code page 936; the runner
    // selects it unless told to test another code page.
    const char* wanted = std::getenv("OL_EXPECT_ACP");
    EXPECT_EQ(GetACP(), wanted ? static_cast<UINT>(std::atoi(wanted)) : 936u);
}

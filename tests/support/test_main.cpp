// Main of every test executable: refuses to run outside code page 932, where
// every double-byte case would pass or fail for the wrong reason.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (GetACP() != 932) {
        std::fprintf(stderr, "FATAL: the ANSI code page is %u, not 932; run under LANG=ja_JP.UTF-8\n", GetACP());
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // A failing test must not stop the run on Wine's crash dialog.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

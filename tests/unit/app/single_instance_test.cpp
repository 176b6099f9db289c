// A second copy of setup ends at once, silently, with the code that says another one runs.
#include "support/win_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, SecondCopyEndsWith1618WhileTheMutexIsHeld) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"TESSAR_INSTALL");
    ASSERT_NE(nullptr, mutex);
    // Any mode: the check comes before everything else, so nothing is installed here.
    const std::wstring program = L"\"" + testing_support::DistFolder() + L"setup.exe\" s";
    EXPECT_EQ(1618, testing_support::RunAndWait(program, 30000));
    CloseHandle(mutex);
}

} // namespace

// The command line as Windows splits it, and the run mode it selects.
#include "app/setup_command_line.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    const wchar_t* commandLine;
    RunMode mode;
};

RunMode ModeOf(const wchar_t* commandLine, int* paramCount = nullptr) {
    SetupCommandLineInfo info;
    ParseCommandLineInto(commandLine, info);
    if (paramCount)
        *paramCount = info.m_nParamCount;
    return ChooseRunMode(info);
}

class RunModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(RunModeTest, CommandLineSelectsMode) {
    EXPECT_EQ(GetParam().mode, ModeOf(GetParam().commandLine)) << GetParam().commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    DecisionTable, RunModeTest,
    ::testing::Values(ModeCase{L"setup.exe", RunMode::InstallWizard},
                      ModeCase{L"\"C:\\Program Files\\BRONDL\\Uninstall\\setup.exe\" delpkg",
                               RunMode::UninstallWizard},
                      ModeCase{L"setup.exe s", RunMode::SilentInstall},
                      ModeCase{L"setup.exe /S", RunMode::SilentInstall},
                      ModeCase{L"setup.exe -s", RunMode::SilentInstall},
                      ModeCase{L"setup.exe \"s\"", RunMode::SilentInstall},
                      ModeCase{L"setup.exe s delpkg", RunMode::UninstallWizard},
                      ModeCase{L"setup.exe delpkg s", RunMode::UninstallWizard},
                      ModeCase{L"setup.exe -DELPKG", RunMode::UninstallWizard},
                      ModeCase{L"setup.exe SilentDel", RunMode::SilentRemoval},
                      ModeCase{L"setup.exe /silentdel delpkg", RunMode::SilentRemoval},
                      ModeCase{L"setup.exe delpkg SILENTDEL s", RunMode::SilentRemoval},
                      ModeCase{L"setup.exe sx", RunMode::InstallWizard},
                      ModeCase{L"setup.exe delpkg2", RunMode::InstallWizard},
                      ModeCase{L"setup.exe -silent", RunMode::InstallWizard},
                      ModeCase{L"setup.exe \"s delpkg\"", RunMode::InstallWizard},
                      ModeCase{L"setup.exe //s", RunMode::InstallWizard},
                      ModeCase{L"setup.exe \"\"", RunMode::InstallWizard}));

TEST(CommandLine, EveryArgumentIsCountedOnce) {
    int count = 0;
    ModeOf(L"setup.exe a \"b c\" -d /e", &count);
    EXPECT_EQ(4, count);
    ModeOf(L"\"C:\\a b\\setup.exe\"", &count);
    EXPECT_EQ(0, count);
}

TEST(CommandLine, SwitchCharacterIsReportedAsFlag) {
    struct Recorder : CCommandLineInfo {
        void ParseParam(const wchar_t* param, BOOL flag, BOOL last) override {
            seen += param;
            seen += flag ? L"[flag]" : L"";
            seen += last ? L"[last]" : L"";
            seen += L" ";
        }
        std::wstring seen;
    } recorder;
    ParseCommandLineInto(L"setup.exe /delpkg -s plain \"quoted arg\"", recorder);
    EXPECT_EQ(L"delpkg[flag] s[flag] plain quoted arg[last] ", recorder.seen);
}

} // namespace

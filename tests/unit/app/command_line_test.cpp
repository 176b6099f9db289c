// The command line as Windows splits it, and the run mode it selects: strict, so that a switch
// setup does not know never opens a wizard nobody sees.
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
    ::testing::Values(
        ModeCase{L"setup.exe", RunMode::kInstallWizard},
        ModeCase{L"\"C:\\Program Files\\BRONDL\\Uninstall\\setup.exe\" delpkg",
                 RunMode::kUninstallWizard},
        ModeCase{L"setup.exe s", RunMode::kSilentInstall},
        ModeCase{L"setup.exe /S", RunMode::kSilentInstall},
        ModeCase{L"setup.exe -s", RunMode::kSilentInstall},
        ModeCase{L"setup.exe \"s\"", RunMode::kSilentInstall},
        ModeCase{L"setup.exe -DELPKG", RunMode::kUninstallWizard},
        ModeCase{L"setup.exe SilentDel", RunMode::kSilentRemoval},
        ModeCase{L"setup.exe s s", RunMode::kSilentInstall},
        ModeCase{L"setup.exe s /D=C:\\Custom\\Dir /log C:\\x.log", RunMode::kSilentInstall},
        ModeCase{L"setup.exe /DIR=\"C:\\A B\" /log=C:\\x.log", RunMode::kInstallWizard},
        ModeCase{L"setup.exe /?", RunMode::kHelp}, ModeCase{L"setup.exe -?", RunMode::kHelp},
        ModeCase{L"setup.exe /h", RunMode::kHelp}, ModeCase{L"setup.exe /HELP s", RunMode::kHelp},
        // Two modes at once, and everything setup does not know.
        ModeCase{L"setup.exe s delpkg", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe delpkg s", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe s SilentDel", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /silentdel delpkg", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe SilentDel /D=C:\\x", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe sx", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe delpkg2", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe -silent", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe --silent", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /quiet", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /VERYSILENT", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /q", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe S=1", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe \"s delpkg\"", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe //s", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe \"\"", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe s /log", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /log=", RunMode::kBadCommandLine},
        ModeCase{L"setup.exe /D=", RunMode::kBadCommandLine}));

TEST(CommandLine, OptionsKeepTheirValues) {
    SetupCommandLineInfo info;
    ParseCommandLineInto(L"setup.exe s /log \"C:\\My Logs\\a.log\" /D=\"C:\\Custom Dir\"", info);
    EXPECT_STREQ(L"C:\\My Logs\\a.log", info.m_szLogPath);
    EXPECT_STREQ(L"C:\\Custom Dir", info.m_szInstallDir);
    wchar_t problem[320] = {};
    SetupCommandLineInfo unknown;
    ParseCommandLineInto(L"setup.exe /quiet s", unknown);
    DescribeBadCommandLine(unknown, problem);
    EXPECT_STREQ(L"\"quiet\" is not an argument of setup.", problem);
}

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

// Starting programs and the service tool's runs, with a child that notes how it was started.
#include "engine/process_runner.h"

#include "engine_test_support.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using engine_testing::Split;

// One line of the child's log.
struct Start {
    std::wstring phase;
    std::wstring program;
    std::wstring commandLine;
};

class ProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_log = m_folder / L"echo.log";
        SetEnvironmentVariableW(L"SETUP_ECHO_LOG", m_log.c_str());
        SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", nullptr);
    }

    // Puts the echo child at path (inside the test's folder).
    void PlaceChild(const std::wstring& path) {
        ASSERT_TRUE(engine_testing::CopyFileTo(
            engine_testing::ThisProgramFolder() + L"command_line_echo.exe", path));
    }

    std::vector<Start> Starts() const {
        std::vector<Start> starts;
        for (const std::wstring& line : Split(engine_testing::ReadUtf16File(m_log), L'\n')) {
            const std::vector<std::wstring> fields = Split(line, L'\t');
            if (fields.size() == 3)
                starts.push_back({fields[0], fields[1], fields[2]});
        }
        return starts;
    }

    testing_support::TempFolder m_folder;
    std::wstring m_log;
};

TEST_F(ProcessRunnerTest, MissingProgramGivesNullAndNoMessage) {
    std::wstring commandLine = L"\"" + (m_folder / L"missing.exe") + L"\" min";
    EXPECT_EQ(nullptr, LaunchProcess(&commandLine[0], true));
}

TEST_F(ProcessRunnerTest, QuotedPathWithSpacesStartsThatProgram) {
    // Unquoted, "<folder>\Korvane Dir\child.exe" would run "<folder>\Korvane.exe" first.
    const std::wstring program = m_folder / L"Korvane Dir\\child.exe";
    PlaceChild(program);
    PlaceChild(m_folder / L"Korvane.exe");
    std::wstring commandLine = L"\"" + program + L"\" min";

    HANDLE process = LaunchProcess(&commandLine[0], true);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 30000));
    CloseHandle(process);

    const std::vector<Start> starts = Starts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(program, starts[0].program);
    EXPECT_EQ(commandLine, starts[0].commandLine);
}

TEST_F(ProcessRunnerTest, ServiceToolStopsThenRemovesEachRunEndedBeforeTheNext) {
    const std::wstring installDir = m_folder / L"Program Dir";
    PlaceChild(installDir + L"\\REriDezaz.exe");
    PlaceChild(m_folder / L"Program.exe");
    // Each run pretends to work a while: "-u" must not start before "-k" has ended.
    SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", L"300");

    StopAndRemoveService(installDir.c_str());

    // Both runs have ended when the call returns.
    const std::vector<Start> starts = Starts();
    ASSERT_EQ(4u, starts.size());
    const std::wstring tool = installDir + L"\\REriDezaz.exe";
    const wchar_t* phases[] = {L"start", L"end", L"start", L"end"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(phases[i], starts[i].phase);
        EXPECT_EQ(tool, starts[i].program);
        EXPECT_EQ(L"\"" + tool + (i < 2 ? L"\" -k" : L"\" -u"), starts[i].commandLine);
    }
}

TEST_F(ProcessRunnerTest, InstallServiceRunsTheToolToItsEnd) {
    const std::wstring installDir = m_folder / L"Program Dir";
    PlaceChild(installDir + L"\\REriDezaz.exe");
    PlaceChild(m_folder / L"Program.exe");
    SetEnvironmentVariableW(L"SETUP_ECHO_DELAY_MS", L"300");

    EXPECT_TRUE(InstallService(installDir.c_str()));

    const std::vector<Start> starts = Starts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(L"end", starts[1].phase);
    EXPECT_EQ(L"\"" + installDir + L"\\REriDezaz.exe\" -i", starts[1].commandLine);
}

TEST_F(ProcessRunnerTest, MissingServiceToolIsPassedOverQuietly) {
    const std::wstring installDir = m_folder / L"Never Installed";
    StopAndRemoveService(installDir.c_str());
    EXPECT_FALSE(InstallService(installDir.c_str()));
    EXPECT_TRUE(Starts().empty());
}

} // namespace

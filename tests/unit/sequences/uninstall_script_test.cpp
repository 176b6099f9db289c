// The self-removal script: its text, and what the real command interpreter does with it.
#include "engine/handles.h"
#include "engine/uninstall_script.h"
#include "sequence_test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <sstream>

using sequence_testing::FileExists;
using sequence_testing::ListFolder;
using sequence_testing::ReadAll;
using sequence_testing::WaitFor;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

std::string Oem(const std::wstring& text) {
    std::string bytes(text.size() * 4, '\0');
    const int size =
        WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                            static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return bytes;
}

// Where the script removes the install folder, and where it deletes itself.
constexpr size_t kInstallFolderLine = 16;
constexpr size_t kScriptDeletionLine = 23;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "every line ends in CR LF";
    return lines;
}

TEST(UninstallScriptText, RemovesTheUninstallerThenTheFolderThenItself) {
    std::string text;
    ASSERT_TRUE(ComposeUninstallScript(L"C:\\Program Files\\BRONDL",
                                       L"C:\\Program Files\\KvUninst.bat", 60, &text));
    EXPECT_EQ((std::vector<std::string>{
                  "@echo off",
                  "set KvUninstRound=0",
                  "set KvUninstGo=",
                  "set /p KvUninstGo=",
                  "set /p KvUninstWait=",
                  "IF NOT \"%KvUninstGo%\"==\"go\" GOTO DEL_SCRIPT",
                  ":DEL_DIR",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setup.exe\" 2>nul",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setup.ini\" 2>nul",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setupENU.dll\" 2>nul",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setupCHT.dll\" 2>nul",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setupCHS.dll\" 2>nul",
                  "del /f /q \"C:\\Program Files\\BRONDL\\Uninstall\\setupJPN.dll\" 2>nul",
                  "rd \"C:\\Program Files\\BRONDL\\Uninstall\" 2>nul",
                  "IF EXIST \"C:\\Program Files\\BRONDL\\Uninstall\\setup.exe\" GOTO WAIT_ROUND",
                  "IF EXIST \"C:\\Program Files\\BRONDL\\Uninstall\\setup.ini\" GOTO WAIT_ROUND",
                  "rd \"C:\\Program Files\\BRONDL\"",
                  "GOTO DEL_SCRIPT",
                  ":WAIT_ROUND",
                  "set /a KvUninstRound+=1",
                  "IF %KvUninstRound% LSS 60 ping -n 2 127.0.0.1 >nul",
                  "IF %KvUninstRound% LSS 60 GOTO DEL_DIR",
                  ":DEL_SCRIPT",
                  "del \"C:\\Program Files\\KvUninst.bat\"",
              }),
              Lines(text));
}

TEST(UninstallScriptText, PercentSignsInPathsAreDoubled) {
    std::string text;
    ASSERT_TRUE(
        ComposeUninstallScript(L"C:\\P\\100%OK %PATH%", L"C:\\P%\\KvUninst.bat", 60, &text));
    const std::vector<std::string> lines = Lines(text);
    EXPECT_EQ("rd \"C:\\P\\100%%OK %%PATH%%\"", lines[kInstallFolderLine]);
    EXPECT_EQ("del \"C:\\P%%\\KvUninst.bat\"", lines[kScriptDeletionLine]);
}

TEST(UninstallScriptText, IsWrittenInTheOemCodePage) {
    std::string text;
    const std::wstring dir = L"C:\\Program Files\\Caf\u00e9";
    ASSERT_EQ(std::wstring::npos, Oem(dir).find('?')) << "the OEM code page holds the accent";
    ASSERT_TRUE(ComposeUninstallScript(dir.c_str(), L"C:\\Program Files\\KvUninst.bat", 60, &text));
    EXPECT_EQ("rd \"" + Oem(dir) + "\"", Lines(text)[kInstallFolderLine]);
}

TEST(UninstallScriptText, APathOutsideTheOemCodePageIsWrittenByItsShortName) {
    TempFolder temp;
    const std::wstring dir = temp.Path() + L"\u4e2d\u6587 \u30d5\u30a9\u30eb\u30c0";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(dir.c_str(), shortPath, MAX_PATH));
    std::string text;
    ASSERT_TRUE(ComposeUninstallScript(dir.c_str(), L"C:\\Program Files\\KvUninst.bat", 60, &text));
    EXPECT_EQ("rd \"" + Oem(shortPath) + "\"", Lines(text)[kInstallFolderLine]);
    EXPECT_EQ(std::string::npos, text.find('?'));
}

TEST(UninstallScriptText, APathWithNoWayToWriteItGivesNoScript) {
    TempFolder temp;
    // It does not exist, so it has no short name either.
    const std::wstring dir = temp.Path() + L"\u4e2d\u6587";
    std::string text;
    EXPECT_FALSE(
        ComposeUninstallScript(dir.c_str(), L"C:\\Program Files\\KvUninst.bat", 60, &text));
    EXPECT_FALSE(ComposeUninstallScript(
        L"C:\\Program Files\\BRONDL", (temp.Path() + L"\u4e2d\\KvUninst.bat").c_str(), 60, &text));
}

// An installed uninstaller below a folder of the test's own, and the script beside it.
class UninstallScriptRun : public ::testing::Test {
protected:
    void Install(const std::wstring& folderName) {
        m_installDir = m_programs.Path() + folderName;
        m_scriptPath = m_programs / L"KvUninst.bat";
        for (const wchar_t* name : {L"setup.exe", L"setup.ini", L"setupENU.dll", L"setupJPN.dll"})
            ASSERT_TRUE(WriteBytes(m_installDir + L"\\Uninstall\\" + name, "x"));
    }
    // How the uninstaller that started the script ends.
    enum class Ending {
        kCompleted,    // it confirmed its removal and has ended
        kStillRunning, // it confirmed, and runs until m_release is closed
        kCutShort,     // it ended without confirming
    };
    bool Start(int rounds = kScriptWaitRounds, Ending ending = Ending::kCompleted) {
        const std::wstring folder = m_programs.Path().substr(0, m_programs.Path().size() - 1);
        const bool started = WriteAndStartUninstallScript(
            m_installDir.c_str(), m_scriptPath.c_str(), folder.c_str(), rounds, &m_release);
        if (ending != Ending::kCutShort)
            ConfirmUninstallScript(m_release.Get());
        if (ending != Ending::kStillRunning)
            m_release.Reset();
        return started;
    }
    bool ScriptGone() {
        return WaitFor([this] { return !FileExists(m_scriptPath); });
    }

    TempFolder m_programs;
    std::wstring m_installDir;
    std::wstring m_scriptPath;
    ScopedHandle m_release;
};

TEST_F(UninstallScriptRun, RemovesBothFoldersAndItself) {
    Install(L"BRONDL");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

TEST_F(UninstallScriptRun, HandlesFolderNamesThatMeanSomethingToTheInterpreter) {
    const std::wstring names[] = {
        L"A%B&C \u00e9 (x86) ^!",
        L"%PATH%",
        L"\u4e2d\u6587 \u30d5\u30a9\u30eb\u30c0",
    };
    for (const std::wstring& name : names) {
        Install(name);
        // A bystander whose name a mangled path could reach.
        ASSERT_TRUE(WriteBytes(m_programs / L"A", "keep"));
        ASSERT_TRUE(Start());
        ASSERT_TRUE(ScriptGone());
        EXPECT_EQ(std::vector<std::wstring>{L"A"}, ListFolder(m_programs.Path()));
        DeleteFileW((m_programs / L"A").c_str());
    }
}

TEST_F(UninstallScriptRun, AForeignFileKeepsTheInstallFolder) {
    Install(L"BRONDL");
    ASSERT_TRUE(WriteBytes(m_installDir + L"\\notes.txt", "mine"));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_EQ(std::vector<std::wstring>{L"notes.txt"}, ListFolder(m_installDir));
}

TEST_F(UninstallScriptRun, AForeignFileInTheUninstallFolderStaysWithItsFolders) {
    // Only the uninstaller's own files go: a file of someone else's in the Uninstall folder
    // keeps that folder, and so the install folder, with nothing of ours left in them.
    Install(L"BRONDL");
    ASSERT_TRUE(WriteBytes(m_installDir + L"\\Uninstall\\report.log", "someone else's"));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall"}, ListFolder(m_installDir));
    EXPECT_EQ(std::vector<std::wstring>{L"report.log"}, ListFolder(m_installDir + L"\\Uninstall"));
}

TEST_F(UninstallScriptRun, TouchesNothingBeforeTheUninstallerHasEnded) {
    // Started early, the script waits however long the uninstaller runs, even with every file
    // free, and goes to work as soon as it has ended. One round only: the files go only if its
    // first try, right after the end, finds them free.
    Install(L"BRONDL");
    ASSERT_TRUE(Start(1, Ending::kStillRunning));
    Sleep(1500);
    EXPECT_TRUE(FileExists(m_installDir + L"\\Uninstall\\setup.exe"));
    EXPECT_TRUE(FileExists(m_scriptPath));
    m_release.Reset();
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

TEST_F(UninstallScriptRun, InheritsNoOtherHandleOfTheUninstaller) {
    // An inheritable writing end of a pipe, as setup holds the output pipe of the deployment tool
    // that started it: a copy in the script would keep that tool waiting for the script's end.
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    ScopedHandle reader(readEnd);
    ScopedHandle writer(writeEnd);
    Install(L"BRONDL");
    ASSERT_TRUE(Start(kScriptWaitRounds, Ending::kStillRunning));
    writer.Reset();
    DWORD available = 0;
    EXPECT_FALSE(PeekNamedPipe(reader.Get(), nullptr, 0, nullptr, &available, nullptr))
        << "the script holds the pipe open";
    EXPECT_EQ(static_cast<DWORD>(ERROR_BROKEN_PIPE), GetLastError());
    m_release.Reset();
    ASSERT_TRUE(ScriptGone());
}

TEST_F(UninstallScriptRun, AnInterpreterThatDoesNotStartLeavesNothingBehind) {
    Install(L"BRONDL");
    ScopedHandle release;
    EXPECT_FALSE(WriteAndStartUninstallScript(m_installDir.c_str(), m_scriptPath.c_str(),
                                              (m_programs / L"no such folder").c_str(),
                                              kScriptWaitRounds, &release));
    EXPECT_FALSE(release);
    EXPECT_FALSE(FileExists(m_scriptPath));
}

TEST_F(UninstallScriptRun, AnUninstallerEndedByForceKeepsItsFiles) {
    // Ended before its removal was complete, the uninstaller stays, so that the removal can be
    // run again. The script still deletes itself.
    Install(L"BRONDL");
    ASSERT_TRUE(Start(kScriptWaitRounds, Ending::kCutShort));
    ASSERT_TRUE(ScriptGone());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"setup.exe", L"setup.ini", L"setupENU.dll", L"setupJPN.dll"}),
        ListFolder(m_installDir + L"\\Uninstall"));
}

TEST_F(UninstallScriptRun, WaitsForTheUninstallerToLetGo) {
    Install(L"BRONDL");
    {
        ScopedHandle held(CreateFileW((m_installDir + L"\\Uninstall\\setup.exe").c_str(),
                                      GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        ASSERT_TRUE(held);
        ASSERT_TRUE(Start());
        // The script keeps trying while the file is held: the uninstaller is still there.
        EXPECT_TRUE(FileExists(m_installDir + L"\\Uninstall\\setup.exe"));
    }
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

TEST_F(UninstallScriptRun, GivesUpAfterItsRoundsAndStillDeletesItself) {
    Install(L"BRONDL");
    ScopedHandle held(CreateFileW((m_installDir + L"\\Uninstall\\setup.exe").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(Start(2));
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(FileExists(m_installDir + L"\\Uninstall\\setup.exe"));
}

TEST_F(UninstallScriptRun, ReplacesAnOlderScript) {
    Install(L"BRONDL");
    ASSERT_TRUE(WriteBytes(m_scriptPath, std::string(10000, 'x')));
    std::string expected;
    ASSERT_TRUE(ComposeUninstallScript(m_installDir.c_str(), m_scriptPath.c_str(), 60, &expected));
    ScopedHandle held(CreateFileW((m_installDir + L"\\Uninstall\\setup.exe").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    // Held, the script loops a while: long enough to read what was written.
    ASSERT_TRUE(Start());
    EXPECT_EQ(expected, ReadAll(m_scriptPath));
    held.Reset();
    ASSERT_TRUE(ScriptGone());
}

TEST_F(UninstallScriptRun, APathItCannotSpellLeavesNoScriptBehind) {
    // Outside the OEM code page and without a short name (it does not exist).
    m_installDir = m_programs.Path() + L"\u4e2d\u6587";
    m_scriptPath = m_programs / L"KvUninst.bat";
    EXPECT_FALSE(Start());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

TEST(UninstallScriptGuard, WritesNothingForAnInstallFolderTheRemovalRefuses) {
    wchar_t programs[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs));
    const std::wstring script = std::wstring(programs) + L"\\KvUninst.bat";
    InstallConfig config = {};
    wcscpy(config.szAppFileName, L"App.exe");
    wcscpy(config.szAppName, L"App");
    const struct {
        const wchar_t* folderName;
        const wchar_t* installDir;
    } cases[] = {{L"", L""}, {L"", L"C:\\"}, {L"..", L"C:\\Windows\\.."}, {L"Windows", L"Windows"}};
    for (const auto& c : cases) {
        wcscpy(config.szAppFolderName, c.folderName);
        wcscpy(config.szInstallDir, c.installDir);
        EXPECT_EQ(nullptr, WriteUninstallScript(config)) << c.installDir;
        EXPECT_FALSE(FileExists(script));
    }
}

} // namespace

// The self-removal script: what the real command interpreter does with it.
#include "config/handles.h"
#include "engine/uninstall_script.h"
#include "sequence_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using sequence_testing::FileExists;
using sequence_testing::ListFolder;
using sequence_testing::WaitFor;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

// The uninstaller's files as an install leaves them.
const std::vector<std::wstring> kUninstallerFiles = {L"setup.exe", L"setup.ini", L"setupENU.dll",
                                                     L"setupJPN.dll"};

// An installed uninstaller below a folder of the test's own, and the script beside it.
class UninstallScriptRun : public ::testing::Test {
protected:
    void Install(const std::wstring& folderName) {
        m_installDir = m_programs.Path() + folderName;
        m_scriptPath = m_programs / L"KvUninst.bat";
        for (const std::wstring& name : kUninstallerFiles)
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
        const bool started = WriteAndStartUninstallScript(Removal(), m_scriptPath.c_str(),
                                                          folder.c_str(), rounds, &m_release);
        if (ending != Ending::kCutShort)
            ConfirmUninstallScript(m_release.Get());
        if (ending != Ending::kStillRunning)
            m_release.Reset();
        return started;
    }
    UninstallerRemoval Removal() const {
        return UninstallerRemoval{m_installDir, kUninstallerFiles, m_foldersAbove};
    }
    bool ScriptGone() {
        return WaitFor([this] { return !FileExists(m_scriptPath); });
    }

    TempFolder m_programs;
    std::wstring m_installDir;
    std::vector<std::wstring> m_foldersAbove;
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

TEST_F(UninstallScriptRun, RemovesTheFoldersTheInstallMadeAboveWhenEmpty) {
    // An install folder named on the command line, two levels below folders of its own.
    Install(L"Custom\\Tools\\Dir");
    m_foldersAbove = {m_programs / L"Custom", m_programs / L"Custom\\Tools"};
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());

    // One that holds something else stays, and so does everything above it.
    Install(L"Custom\\Tools\\Dir");
    ASSERT_TRUE(WriteBytes(m_programs / L"Custom\\notes.txt", "mine"));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_EQ(std::vector<std::wstring>{L"notes.txt"}, ListFolder(m_programs / L"Custom"));
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
    EXPECT_FALSE(WriteAndStartUninstallScript(Removal(), m_scriptPath.c_str(),
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
    EXPECT_EQ(kUninstallerFiles, ListFolder(m_installDir + L"\\Uninstall"));
}

TEST_F(UninstallScriptRun, WhileAFileIsHeldItTriesAgainAboutOnceASecondThenFinishes) {
    // The ended uninstaller's files may stay in use a moment longer (a virus scanner, the
    // system's own cache): the script keeps trying, with a pause between tries, and finishes once
    // they are free.
    Install(L"BRONDL");
    const std::wstring program = m_installDir + L"\\Uninstall\\setup.exe";
    ScopedHandle held(CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(Start(5));
    // Three tries without a pause would be over at once, script and all.
    Sleep(1500);
    EXPECT_TRUE(FileExists(m_scriptPath)) << "the script no longer pauses between its tries";
    EXPECT_TRUE(FileExists(program));
    // The files that are free went on the first try; the held one waits.
    EXPECT_FALSE(FileExists(m_installDir + L"\\Uninstall\\setup.ini"));
    held.Reset();
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
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ScriptGone());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

TEST_F(UninstallScriptRun, APathItCannotSpellLeavesNoScriptBehind) {
    // Outside the OEM code page and without a short name (it does not exist).
    m_installDir = m_programs.Path() + L"\u4e2d\u6587";
    m_scriptPath = m_programs / L"KvUninst.bat";
    EXPECT_FALSE(Start());
    EXPECT_TRUE(ListFolder(m_programs.Path()).empty());
}

} // namespace

// The checks that stand between setup.ini and any change to the system.
#include "engine/input_checks.h"
#include "sequence_test_support.h"

#include <gtest/gtest.h>

#include <string>

using sequence_testing::FakeInstallation;

namespace {

TEST(NameChecks, PlainNamesPass) {
    for (const wchar_t* name : {L"BRONDL", L"DIVodeZivar.exe", L"My App 2", L"A%B&C", L"Caf\u00e9",
                                L"\u4e2d\u6587", L".hidden", L"CONSOLE", L"COM10", L"nul-ish"})
        EXPECT_EQ(NameProblem::kNone, FindNameProblem(name)) << name;
}

TEST(NameChecks, EachKindOfWrongNameIsNamed) {
    const struct {
        const wchar_t* name;
        NameProblem problem;
    } cases[] = {
        {L"", NameProblem::kEmpty},
        {L"..\\..", NameProblem::kSeparator},
        {L"a/b", NameProblem::kSeparator},
        {L"C:\\Windows", NameProblem::kSeparator},
        {L".", NameProblem::kDotName},
        {L"..", NameProblem::kDotName},
        {L"CON", NameProblem::kReservedDevice},
        {L"nul", NameProblem::kReservedDevice},
        {L"Com1", NameProblem::kReservedDevice},
        {L"LPT1.txt", NameProblem::kReservedDevice},
        {L"aux .log", NameProblem::kReservedDevice},
        {L"CONIN$", NameProblem::kReservedDevice},
        {L"a:b", NameProblem::kForbiddenCharacter},
        {L"what?", NameProblem::kForbiddenCharacter},
        {L"*", NameProblem::kForbiddenCharacter},
        {L"a<b>", NameProblem::kForbiddenCharacter},
        {L"say \"hi\"", NameProblem::kForbiddenCharacter},
        {L"a|b", NameProblem::kForbiddenCharacter},
        {L"tab\there", NameProblem::kForbiddenCharacter},
        {L"name.", NameProblem::kTrailingDotOrSpace},
        {L"name ", NameProblem::kTrailingDotOrSpace},
        {L"...", NameProblem::kTrailingDotOrSpace},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.problem, FindNameProblem(c.name)) << c.name;
}

TEST(PathChecks, FullPathsOfFolders) {
    for (const wchar_t* path :
         {L"C:\\Program Files\\BRONDL", L"d:\\x", L"\\\\server\\share\\BRONDL",
          L"C:\\Program Files (x86)\\A%B&C \u4e2d\u6587"})
        EXPECT_TRUE(IsAbsoluteFolderPath(path)) << path;
    for (const wchar_t* path :
         {L"", L"BRONDL", L"C:", L"C:\\", L"C:BRONDL", L"\\BRONDL", L"C:\\Program Files\\",
          L"C:\\Program Files\\..\\..", L"C:\\a\\.\\b", L"C:\\a\\\\b", L"C:/a", L"C:\\a:b",
          L"\\\\server", L"\\\\server\\share", L"\\\\?\\C:\\x", L"\\\\.\\C:\\x", L"1:\\x"})
        EXPECT_FALSE(IsAbsoluteFolderPath(path)) << path;
}

class InstallCheckTest : public ::testing::Test {
protected:
    std::wstring InstallProblem() {
        wchar_t message[kCheckMessageLength] = {};
        if (CheckInstallInputs(m_fake.SetupDir().c_str(), m_fake.Config(), true, message))
            return L"";
        EXPECT_NE(L'\0', message[0]) << "a refusal always says why";
        return message;
    }
    void SetFolderName(const std::wstring& name) {
        wcscpy(m_fake.Config().szAppFolderName, name.c_str());
        const std::wstring dir = m_fake.ParentDir() + name;
        m_fake.Config().szInstallDir[0] = L'\0';
        if (dir.size() < MAX_PATH)
            wcscpy(m_fake.Config().szInstallDir, dir.c_str());
    }

    FakeInstallation m_fake;
};

TEST_F(InstallCheckTest, AWholeDistributionPasses) {
    EXPECT_EQ(L"", InstallProblem());
}

TEST_F(InstallCheckTest, AnEmptyFolderNameIsRefused) {
    m_fake.Config().szAppFolderName[0] = L'\0';
    m_fake.Config().szInstallDir[0] = L'\0';
    EXPECT_EQ(L"APPFolderName in setup.ini is empty: it must name the installed-programs entry.",
              InstallProblem());
}

TEST_F(InstallCheckTest, AFolderNameThatClimbsIsRefused) {
    SetFolderName(L"..\\..");
    const std::wstring problem = InstallProblem();
    EXPECT_NE(std::wstring::npos, problem.find(L"APPFolderName \"..\\..\"")) << problem;
    EXPECT_NE(std::wstring::npos, problem.find(L"path separator")) << problem;
}

TEST_F(InstallCheckTest, ADeviceAsProgramNameIsRefused) {
    wcscpy(m_fake.Config().szAppFileName, L"NUL.exe");
    const std::wstring problem = InstallProblem();
    EXPECT_NE(std::wstring::npos, problem.find(L"APPFileName \"NUL.exe\"")) << problem;
    EXPECT_NE(std::wstring::npos, problem.find(L"device")) << problem;
}

TEST_F(InstallCheckTest, AnAppNameIsTakenAsWrittenButNotEmpty) {
    // A display name, not a file name: only the shortcuts' file names are made from it.
    for (const wchar_t* name : {L"Manager: Pro", L"Manager w/ Monitor", L"v2.", L"..\\..\\x"}) {
        wcscpy(m_fake.Config().szAppName, name);
        EXPECT_EQ(L"", InstallProblem()) << name;
    }
    m_fake.Config().szAppName[0] = L'\0';
    EXPECT_EQ(L"AppName in setup.ini is empty: it must name the application.", InstallProblem());
}

TEST_F(InstallCheckTest, AnInstallFolderThatIsNoFullPathOfAFolderIsRefused) {
    wcscpy(m_fake.Config().szInstallDir, L"C:\\");
    EXPECT_EQ(L"The install folder \"C:\\\" is not a full path of a folder.", InstallProblem());
    wcscpy(m_fake.Config().szInstallDir, L"relative\\BRONDL");
    wcscpy(m_fake.Config().szAppFolderName, L"BRONDL");
    EXPECT_NE(L"", InstallProblem());
}

TEST_F(InstallCheckTest, AFolderNameTooLongForItsBufferIsRefused) {
    // The settings reader leaves the install folder empty when it does not fit.
    SetFolderName(std::wstring(250, L'L'));
    ASSERT_EQ(L'\0', m_fake.Config().szInstallDir[0]);
    const std::wstring problem = InstallProblem();
    EXPECT_NE(std::wstring::npos, problem.find(L"would be longer than 259 characters")) << problem;
}

TEST_F(InstallCheckTest, AFolderWhoseFilesWouldNotFitIsRefused) {
    // The folder fits; "\Uninstall\setupENU.dll" below it does not.
    SetFolderName(std::wstring(MAX_PATH - 16 - m_fake.ParentDir().size(), L'L'));
    ASSERT_NE(L'\0', m_fake.Config().szInstallDir[0]);
    const std::wstring problem = InstallProblem();
    EXPECT_EQ(0u, problem.find(L"The path of setup.exe in \"")) << problem;
}

TEST_F(InstallCheckTest, EveryFileTheProgramNeedsMustBeInTheDistribution) {
    // The service tool too: without it the service scheme cannot register the service.
    for (const wchar_t* name : {L"setup.exe", L"Application\\mingwm10.dll", L"Application\\App.exe",
                                L"Application\\REriDezaz.exe"}) {
        const std::wstring path = m_fake.DistFile(name);
        const std::wstring aside = path + L".aside";
        ASSERT_TRUE(MoveFileW(path.c_str(), aside.c_str()));
        EXPECT_EQ(L"The distribution is incomplete: \"" + path + L"\" is missing.",
                  InstallProblem());
        ASSERT_TRUE(MoveFileW(aside.c_str(), path.c_str()));
    }
}

TEST_F(InstallCheckTest, OptionalFilesMayBeMissing) {
    for (const wchar_t* name : {L"setupCHT.dll", L"Application\\center.gif"})
        ASSERT_TRUE(DeleteFileW(m_fake.DistFile(name).c_str()));
    EXPECT_EQ(L"", InstallProblem());
}

TEST_F(InstallCheckTest, AFolderInPlaceOfARequiredFileIsMissingToo) {
    const std::wstring path = m_fake.DistFile(L"Application\\App.exe");
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_NE(std::wstring::npos, InstallProblem().find(L"is missing"));
}

} // namespace

#include "engine/uninstall_script.h"

#include "config/paths.h"
#include "config/system_libraries.h"
#include "config/text.h"
#include "engine/file_table.h"
#include "config/handles.h"
#include "engine/inherited_handles.h"
#include "engine/input_checks.h"

#include <shlobj.h>

#include <cwchar>
#include <utility>

namespace {

const wchar_t kScriptBaseName[] = L"KvUninst";
// KvUninst.bat, then KvUninst1.bat to KvUninst9.bat.
constexpr int kScriptNameAttempts = 10;
// The line through which the uninstaller tells its script that the removal is complete. Written
// once, whole, and ending in CR LF: the interpreter's first read takes one line (Wine's drops the
// last character read, so the line end must be there), and any later write would end its second
// read, the wait for the uninstaller's end, too early.
const char kScriptGoAhead[] = "go\r\n";

// text in the OEM code page; false when a character has no place in it.
bool ToOemCodePage(const std::wstring& text, std::string* oem) {
    oem->clear();
    if (text.empty())
        return true;
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return false;
    oem->resize(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), &(*oem)[0], size, nullptr,
                            &usedDefault) != size ||
        usedDefault)
        return false;
    // Read back: what the interpreter will see must be the very path.
    std::wstring back(text.size() * 2, L'\0');
    const int length = MultiByteToWideChar(CP_OEMCP, 0, oem->data(), size, &back[0],
                                           static_cast<int>(back.size()));
    return length > 0 && back.compare(0, static_cast<size_t>(length), text) == 0 &&
           static_cast<size_t>(length) == text.size();
}

// A file that exists and that this program cannot open for writing: another program holds it.
bool IsHeldByAnotherProgram(const wchar_t* path) {
    ScopedHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        return false;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// A percent sign would start a variable: it is doubled.
std::wstring DoublePercentSigns(const std::wstring& text) {
    std::wstring doubled;
    for (const wchar_t c : text) {
        if (c == L'%')
            doubled.append(L"%%");
        else
            doubled.push_back(c);
    }
    return doubled;
}

// The path as the script must spell it: itself when the OEM code page holds it, else its short
// name. A percent sign would start a variable: it is doubled.
bool ScriptSpelling(const wchar_t* path, std::wstring* spelling) {
    std::string oem;
    std::wstring chosen = path;
    if (!ToOemCodePage(chosen, &oem)) {
        wchar_t shortPath[MAX_PATH] = {};
        const DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return false;
        chosen = shortPath;
        if (!ToOemCodePage(chosen, &oem))
            return false;
    }
    *spelling = DoublePercentSigns(chosen);
    return true;
}

// Runs the script through the system's own command interpreter, hidden. Not through the shell's
// "open" verb: setup runs elevated, and the user's file associations, like the interpreter's
// AutoRun commands (left out with /d), must not decide what runs with its rights.
// The script's input is a pipe whose writing end goes to *release and nowhere else: the script
// reads it first, and goes on only when that end has been closed.
bool StartHidden(const wchar_t* scriptPath, const wchar_t* workingDir, ScopedHandle* release) {
    wchar_t systemFolder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);
    wchar_t commandLine[2 * MAX_PATH + 32] = {};
    if (length == 0 || length >= MAX_PATH ||
        !FormatInto(commandLine, L"\"%ls\\cmd.exe\" /d /c \"\"%ls\"\"", systemFolder, scriptPath))
        return false;

    // The pipe's reading end and the null device are the interpreter's standard handles, and the
    // only handles it inherits; the writing end never becomes inheritable.
    HANDLE input = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&input, &writeEnd, nullptr, 0))
        return false;
    ScopedHandle scriptInput(input);
    ScopedHandle held(writeEnd);
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    ScopedHandle output(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!output ||
        !SetHandleInformation(scriptInput.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT))
        return false;
    const InheritedHandles inherited(scriptInput.Get(), output.Get());

    STARTUPINFOEXW startup = {};
    const DWORD listFlag = inherited.Apply(&startup);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = scriptInput.Get();
    startup.StartupInfo.hStdOutput = output.Get();
    startup.StartupInfo.hStdError = output.Get();
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, CREATE_NO_WINDOW | listFlag,
                        nullptr, workingDir, &startup.StartupInfo, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    *release = std::move(held);
    return true;
}

} // namespace

bool ComposeUninstallScript(const UninstallerRemoval& removal, const wchar_t* scriptPath,
                            int waitRounds, std::string* text) {
    std::wstring dir;
    std::wstring script;
    if (!ScriptSpelling(removal.installDir.c_str(), &dir) || !ScriptSpelling(scriptPath, &script))
        return false;
    std::vector<std::wstring> above;
    for (auto folder = removal.foldersAbove.rbegin(); folder != removal.foldersAbove.rend();
         ++folder) {
        std::wstring spelled;
        if (!ScriptSpelling(folder->c_str(), &spelled))
            return false;
        above.push_back(spelled);
    }
    // The uninstaller's files are the install's own, plain names that the code page holds; a
    // percent sign in one is doubled like in the paths.
    std::vector<std::wstring> names;
    for (const std::wstring& file : removal.files) {
        std::string oem;
        if (FindNameProblem(file.c_str()) != NameProblem::kNone || !ToOemCodePage(file, &oem))
            return false;
        names.push_back(DoublePercentSigns(file));
    }
    const std::wstring uninstallDir = dir + L"\\" + kUninstallFolderName;
    wchar_t roundsText[16] = {};
    FormatInto(roundsText, L"%d", waitRounds);
    const std::wstring rounds = roundsText;

    // First the script waits for the uninstaller to end: its input closes then. An uninstaller
    // that ended before it wrote "go" into that input did not complete its removal (it was ended
    // by force): its files stay, so that the removal can be run again. The loop then tries the
    // removal about once a second until the ended uninstaller has let go of its files,
    // and gives up after waitRounds; the script deletes itself in every case. ping is the pause:
    // the interpreter has no sleep of its own everywhere. Only the files the install put into the
    // Uninstall folder are deleted, by name, and the folder itself only when that leaves it empty:
    // whatever else lies there is not ours.
    std::wstring lines;
    lines += L"@echo off\r\n";
    lines += L"set KvUninstRound=0\r\n";
    lines += L"set KvUninstGo=\r\n";
    lines += L"set /p KvUninstGo=\r\n";
    lines += L"set /p KvUninstWait=\r\n";
    lines += L"IF NOT \"%KvUninstGo%\"==\"go\" GOTO DEL_SCRIPT\r\n";
    lines += L":DEL_DIR\r\n";
    for (const std::wstring& name : names)
        lines += L"del /f /q \"" + uninstallDir + L"\\" + name + L"\" 2>nul\r\n";
    lines += L"rd \"" + uninstallDir + L"\" 2>nul\r\n";
    for (const std::wstring& name : names)
        lines += L"IF EXIST \"" + uninstallDir + L"\\" + name + L"\" GOTO WAIT_ROUND\r\n";
    lines += L"rd \"" + dir + L"\"\r\n";
    for (const std::wstring& folder : above)
        lines += L"rd \"" + folder + L"\" 2>nul\r\n";
    lines += L"GOTO DEL_SCRIPT\r\n";
    lines += L":WAIT_ROUND\r\n";
    lines += L"set /a KvUninstRound+=1\r\n";
    lines += L"IF %KvUninstRound% LSS " + rounds + L" ping -n 2 127.0.0.1 >nul\r\n";
    lines += L"IF %KvUninstRound% LSS " + rounds + L" GOTO DEL_DIR\r\n";
    lines += L":DEL_SCRIPT\r\n";
    lines += L"del \"" + script + L"\"\r\n";
    return ToOemCodePage(lines, text);
}

bool WriteAndStartUninstallScript(const UninstallerRemoval& removal, const wchar_t* scriptPath,
                                  const wchar_t* workingDir, int waitRounds,
                                  ScopedHandle* release) {
    // The file exists before the text is composed: its short name may be needed.
    ScopedHandle file(CreateFileW(scriptPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::string text;
    DWORD written = 0;
    const bool complete =
        ComposeUninstallScript(removal, scriptPath, waitRounds, &text) &&
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    file.Reset();
    if (complete && StartHidden(scriptPath, workingDir, release))
        return true;
    DeleteFileW(scriptPath);
    return false;
}

HANDLE StartUninstallScript(const UninstallerRemoval& removal) {
    wchar_t programsFolder[MAX_PATH] = {};
    if (!GetCurrentShellFolderPath(CSIDL_PROGRAM_FILES, programsFolder))
        return nullptr;
    for (int attempt = 0; attempt < kScriptNameAttempts; ++attempt) {
        wchar_t scriptPath[MAX_PATH] = {};
        const bool formed =
            attempt == 0 ? FormatInto(scriptPath, L"%ls\\%ls.bat", programsFolder, kScriptBaseName)
                         : FormatInto(scriptPath, L"%ls\\%ls%d.bat", programsFolder,
                                      kScriptBaseName, attempt);
        if (!formed)
            return nullptr;
        // An older script that another program holds open can be neither replaced nor deleted:
        // this one takes the next name, so that the uninstaller is never left without one.
        if (IsHeldByAnotherProgram(scriptPath))
            continue;
        ScopedHandle release;
        if (!WriteAndStartUninstallScript(removal, scriptPath, programsFolder, kScriptWaitRounds,
                                          &release))
            return nullptr;
        // Left open on purpose for the rest of this process: the system closes it when the
        // process ends, however it ends, and only then does the script go on.
        return release.Release();
    }
    return nullptr;
}

void ConfirmUninstallScript(HANDLE script) {
    if (script == nullptr)
        return;
    DWORD written = 0;
    WriteFile(script, kScriptGoAhead, sizeof(kScriptGoAhead) - 1, &written, nullptr);
}

#include "engine/install_undo.h"

#include "config/paths.h"
#include "config/text.h"

#include <windows.h>

#include <utility>

namespace {

// A file that is ours to delete, read-only or not.
void DeleteOwnFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

} // namespace

InstallUndo::~InstallUndo() {
    if (!m_finished)
        Rollback();
}

bool InstallUndo::MakeRoom(const wchar_t* path) {
    const std::wstring target = path;
    if (!PathExists(path)) {
        OnRollback([target] { DeleteOwnFile(target); });
        return true;
    }
    // A free name in the same folder (so the move never copies), reserved by creating it.
    wchar_t folder[MAX_PATH] = {};
    GetFolderOfPath(path, folder);
    wchar_t aside[MAX_PATH] = {};
    if (folder[0] == L'\0' || GetTempFileNameW(folder, L"~st", 0, aside) == 0)
        return false;
    if (!MoveFileExW(path, aside, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(aside);
        return false;
    }
    const std::wstring kept = aside;
    m_movedAside.push_back(kept);
    OnRollback([target, kept] {
        DeleteOwnFile(target);
        MoveFileExW(kept.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    });
    return true;
}

void InstallUndo::NoteNewFolder(const wchar_t* path) {
    const std::wstring folder = path;
    OnRollback([folder] { RemoveDirectoryW(folder.c_str()); });
}

void InstallUndo::OnRollback(std::function<void()> step) {
    m_steps.push_back(std::move(step));
}

void InstallUndo::Commit() {
    m_finished = true;
    m_steps.clear();
    for (const std::wstring& kept : m_movedAside)
        DeleteOwnFile(kept);
    m_movedAside.clear();
}

void InstallUndo::Rollback() {
    m_finished = true;
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
        (*step)();
    m_steps.clear();
    m_movedAside.clear();
}

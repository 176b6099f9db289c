// What an install has changed so far, and how to take it back: an install that fails part-way
// leaves the machine as it found it. Files it replaces are moved aside, not overwritten, until
// the install is complete; then they are deleted.
#pragma once

#include <functional>
#include <string>
#include <vector>

class InstallUndo {
public:
    InstallUndo() = default;
    // An undo that was neither committed nor rolled back is rolled back.
    ~InstallUndo();
    InstallUndo(const InstallUndo&) = delete;
    InstallUndo& operator=(const InstallUndo&) = delete;

    // Makes room at path for a new file: an existing file is moved aside, into its own folder
    // under a free temporary name, and rollback deletes whatever is at path then and puts the old
    // file back. A path with nothing there is noted as new. False when an existing file could
    // not be moved (it is in use): then nothing is noted and nothing has changed.
    bool MakeRoom(const wchar_t* path);

    // A folder that did not exist before: rollback removes it when it is empty.
    void NoteNewFolder(const wchar_t* path);

    // Any other step to take back; rollback runs the steps in the reverse order of noting.
    void OnRollback(std::function<void()> step);

    // The install is complete: files moved aside are deleted, nothing will be taken back.
    void Commit();

    // Takes back every noted change, last first.
    void Rollback();

private:
    std::vector<std::function<void()>> m_steps;
    std::vector<std::wstring> m_movedAside;
    bool m_finished = false;
};

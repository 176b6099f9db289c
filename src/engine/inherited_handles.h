// Which handles a started program inherits: exactly the ones named, never whatever else setup
// happens to hold as inheritable (such as the output pipe of the deployment tool that started
// setup, which would then stay open for as long as the started program runs).
#pragma once

#include <windows.h>

#include <vector>

class InheritedHandles {
public:
    // Names the two handles to pass on. On Windows Vista and later they go into an attribute
    // list for CreateProcessW; older systems have no such list, and there setup's own standard
    // handles are made non-inheritable instead (nothing setup starts needs them).
    InheritedHandles(HANDLE first, HANDLE second);
    ~InheritedHandles();
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    // Prepares startup for CreateProcessW and returns the creation flag it then needs
    // (EXTENDED_STARTUPINFO_PRESENT, or 0 without a list).
    DWORD Apply(STARTUPINFOEXW* startup) const;

private:
    HANDLE m_handles[2];
    std::vector<unsigned char> m_listMemory;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
};

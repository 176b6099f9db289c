#include "engine/inherited_handles.h"

namespace {

// The attribute-list functions exist from Windows Vista on: looked up at run time, so that setup
// still starts on XP.
using InitializeListFunction = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD, PSIZE_T);
using UpdateListFunction = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD_PTR, PVOID,
                                         SIZE_T, PVOID, PSIZE_T);
using DeleteListFunction = VOID(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST);

template <typename Function> Function Kernel32Function(const char* name) {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 == nullptr ? nullptr
                               : reinterpret_cast<Function>(
                                     reinterpret_cast<void*>(GetProcAddress(kernel32, name)));
}

void KeepStandardHandlesToThisProcess() {
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE standard = GetStdHandle(which);
        if (standard != nullptr && standard != INVALID_HANDLE_VALUE)
            SetHandleInformation(standard, HANDLE_FLAG_INHERIT, 0);
    }
}

} // namespace

InheritedHandles::InheritedHandles(HANDLE first, HANDLE second) : m_handles{first, second} {
    const auto initialize =
        Kernel32Function<InitializeListFunction>("InitializeProcThreadAttributeList");
    const auto update = Kernel32Function<UpdateListFunction>("UpdateProcThreadAttribute");
    SIZE_T size = 0;
    if (initialize != nullptr && update != nullptr) {
        initialize(nullptr, 1, 0, &size);
        m_listMemory.resize(size);
    }
    const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_listMemory.data());
    if (size == 0 || !initialize(list, 1, 0, &size)) {
        KeepStandardHandlesToThisProcess();
        return;
    }
    m_list = list;
    if (!update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles, sizeof(m_handles), nullptr,
                nullptr))
        KeepStandardHandlesToThisProcess();
}

InheritedHandles::~InheritedHandles() {
    const auto erase = Kernel32Function<DeleteListFunction>("DeleteProcThreadAttributeList");
    if (m_list != nullptr && erase != nullptr)
        erase(m_list);
}

DWORD InheritedHandles::Apply(STARTUPINFOEXW* startup) const {
    startup->lpAttributeList = m_list;
    startup->StartupInfo.cb = m_list != nullptr ? sizeof(STARTUPINFOEXW) : sizeof(STARTUPINFOW);
    return m_list != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0;
}

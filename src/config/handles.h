// Owning wrappers for the system's handles that every layer uses: kernel handles, searches,
// registry keys, the service manager's handles. Each is released on every path that acquired
// it. Not copyable; movable where a function hands one on.
#pragma once

#include <windows.h>

// A kernel handle (process, thread, file). Holds null for "none", also when given
// INVALID_HANDLE_VALUE.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) { Reset(handle); }
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    HANDLE Release() {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

    void Reset(HANDLE handle = nullptr) {
        if (m_handle != nullptr)
            CloseHandle(m_handle);
        m_handle = (handle == INVALID_HANDLE_VALUE) ? nullptr : handle;
    }

private:
    HANDLE m_handle = nullptr;
};

// A search of FindFirstFileW, closed with FindClose.
class ScopedFindHandle {
public:
    ScopedFindHandle(const wchar_t* pattern, WIN32_FIND_DATAW* found)
        : m_search(FindFirstFileW(pattern, found)) {}
    ~ScopedFindHandle() {
        if (m_search != INVALID_HANDLE_VALUE)
            FindClose(m_search);
    }
    ScopedFindHandle(const ScopedFindHandle&) = delete;
    ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;

    explicit operator bool() const { return m_search != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_search; }

private:
    HANDLE m_search;
};

// An open registry key.
class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() { Reset(); }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    HKEY Get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

    // For the Reg* functions that return a key through a pointer; closes the one held before.
    HKEY* Receive() {
        Reset();
        return &m_key;
    }

    void Reset() {
        if (m_key != nullptr)
            RegCloseKey(m_key);
        m_key = nullptr;
    }

private:
    HKEY m_key = nullptr;
};

// A handle of the service manager or of one service, closed with CloseServiceHandle.
class ScopedServiceHandle {
public:
    explicit ScopedServiceHandle(SC_HANDLE handle = nullptr) : m_handle(handle) {}
    ~ScopedServiceHandle() {
        if (m_handle != nullptr)
            CloseServiceHandle(m_handle);
    }
    ScopedServiceHandle(const ScopedServiceHandle&) = delete;
    ScopedServiceHandle& operator=(const ScopedServiceHandle&) = delete;

    SC_HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    SC_HANDLE m_handle;
};

// Owning wrappers for COM: the apartment of the calling thread and one interface pointer, each
// released on every path that acquired it, the pointers before the apartment.
#pragma once

#include <windows.h>
#include <objbase.h>

// COM on the calling thread for the life of the object. Declare it before any ComPtr of the same
// scope, so that the pointers are released first.
//
// The multithreaded apartment: the engine uses only in-process objects that are registered for
// both apartments (the shell link), so they are made in place, and no apartment window is made
// (which would load the display driver and the theme library on a silent run). A thread already
// in the single-threaded apartment keeps it (the call fails with RPC_E_CHANGED_MODE and
// is not undone); COM is usable there all the same.
class ComInitialization {
public:
    ComInitialization() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComInitialization() {
        // S_FALSE (already initialised on this thread) is counted too and needs its uninitialise.
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

private:
    HRESULT m_result;
};

// One reference to a COM interface.
template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // For CoCreateInstance and QueryInterface; releases the one held before.
    void** ReceiveVoid() {
        Reset();
        return reinterpret_cast<void**>(&m_pointer);
    }

    void Reset() {
        if (m_pointer != nullptr)
            m_pointer->Release();
        m_pointer = nullptr;
    }

private:
    Interface* m_pointer = nullptr;
};

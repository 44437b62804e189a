#pragma once
// CHandle and CFileHandle: one kernel handle, closed when it goes out of
// scope. Win32 answers a failure with one of two values, and the class
// says which: CreateFileA with INVALID_HANDLE_VALUE (which is also the
// current process's pseudo-handle), OpenProcessToken, CreateProcessA and
// the rest with null. Either class holds "none" after a failure. A handle
// moves from one owner to another, and Detach hands it to a caller who
// closes it.
//
//     CFileHandle file(CreateFileA(...));
//     if (!file)
//         return false;

#include <windows.h>

template <bool kNoneIsInvalidValue> class CHandleOf {
  public:
    CHandleOf() = default;
    explicit CHandleOf(HANDLE handle) : m_handle(handle) {}
    ~CHandleOf() { Close(); }
    CHandleOf(const CHandleOf&) = delete;
    CHandleOf& operator=(const CHandleOf&) = delete;
    CHandleOf(CHandleOf&& other) : m_handle(other.Detach()) {}
    CHandleOf& operator=(CHandleOf&& other) {
        Attach(other.Detach());
        return *this;
    }

    // The value that stands for no handle.
    static HANDLE None() { return kNoneIsInvalidValue ? INVALID_HANDLE_VALUE : nullptr; }

    explicit operator bool() const { return m_handle != None(); }
    HANDLE Get() const { return m_handle; }
    // For a call that hands its handle back through a pointer; any handle
    // held before is closed first.
    HANDLE* Out() {
        Close();
        return &m_handle;
    }
    // Closes any handle held and takes `handle` instead.
    void Attach(HANDLE handle) { *Out() = handle; }
    // Hands the handle to the caller, who closes it; holds none afterwards.
    HANDLE Detach() {
        HANDLE handle = m_handle;
        m_handle = None();
        return handle;
    }
    // Closes the handle; false when the system reports a failure, which for
    // a file written to means its last bytes may not have reached the disk.
    // The object holds none afterwards either way.
    bool Close() {
        bool closed = m_handle == None() || CloseHandle(m_handle);
        m_handle = None();
        return closed;
    }

  private:
    HANDLE m_handle = None();
};

typedef CHandleOf<false> CHandle;
typedef CHandleOf<true> CFileHandle;

#pragma once
// CComRef: one reference to a COM interface, released when it goes out of
// scope, on every path. A call that fails leaves its out pointer null
// (COM's rule), so the object then holds none.
//
//     CComRef<IPersistFile> file;
//     link->QueryInterface(IID_IPersistFile, file.OutVoid());
//     if (file)
//         file->Save(path, TRUE);

#include <unknwn.h>

template <class T> class CComRef {
  public:
    CComRef() = default;
    ~CComRef() { Reset(); }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    explicit operator bool() const { return m_object != nullptr; }
    T* operator->() const { return m_object; }
    T* Get() const { return m_object; }
    // For a call that hands out a reference; any reference held before is
    // released first.
    T** Out() {
        Reset();
        return &m_object;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset() {
        if (m_object)
            m_object->Release();
        m_object = nullptr;
    }

  private:
    T* m_object = nullptr;
};

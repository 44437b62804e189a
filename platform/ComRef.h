#pragma once
// CComRef: one reference to a COM interface, released when it goes out of
// scope, on every path. A call that fails leaves its out pointer null
// (COM's rule), so the object then holds none. A call that hands out an
// interface names it once: IID_PPV_ARGS gives the identifier from the
// pointer's type (__uuidof), so a call cannot ask for one interface and
// store it as another.
//
//     CComRef<IPersistFile> file;
//     link->QueryInterface(IID_PPV_ARGS(file.Out()));
//     if (file)
//         file->Save(path, TRUE);
//
// Between two references, `from.QueryInterface(to)` does the same.

#include <objbase.h>

template <class T> class CComRef {
  public:
    CComRef() = default;
    ~CComRef() { Reset(); }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    CComRef(CComRef&& other) : m_object(other.Detach()) {}
    CComRef& operator=(CComRef&& other) {
        Attach(other.Detach());
        return *this;
    }

    explicit operator bool() const { return m_object != nullptr; }
    T* operator->() const { return m_object; }
    T* Get() const { return m_object; }
    // For a call that hands out a reference; any reference held before is
    // released first.
    T** Out() {
        Reset();
        return &m_object;
    }
    // Releases any reference held and takes `object`'s, which the caller
    // handed over.
    void Attach(T* object) { *Out() = object; }
    // Hands the reference to the caller, who releases it; holds none
    // afterwards.
    T* Detach() {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }
    void Reset() {
        if (m_object)
            m_object->Release();
        m_object = nullptr;
    }
    // The interface `U` of the object held, into `other`; none there when
    // the object lacks it or nothing is held.
    template <class U> HRESULT QueryInterface(CComRef<U>& other) const {
        U** out = other.Out();
        return m_object ? m_object->QueryInterface(IID_PPV_ARGS(out)) : E_POINTER;
    }

  private:
    T* m_object = nullptr;
};

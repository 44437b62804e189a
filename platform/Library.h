#pragma once
// CLibrary: one library loaded by hand, freed when it goes out of scope.
// It moves from owner to owner; Detach hands the module to a caller who
// frees it.

#include <windows.h>

class CLibrary {
  public:
    CLibrary() = default;
    explicit CLibrary(HMODULE module) : m_module(module) {}
    // FreeLibrary fails harmlessly on null.
    ~CLibrary() { FreeLibrary(m_module); }
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;
    CLibrary(CLibrary&& other) : m_module(other.Detach()) {}
    CLibrary& operator=(CLibrary&& other) {
        CLibrary taken(other.Detach());
        HMODULE held = m_module;
        m_module = taken.m_module;
        taken.m_module = held;
        return *this;
    }

    explicit operator bool() const { return m_module != nullptr; }
    HMODULE Get() const { return m_module; }
    HMODULE Detach() {
        HMODULE module = m_module;
        m_module = nullptr;
        return module;
    }

  private:
    HMODULE m_module = nullptr;
};

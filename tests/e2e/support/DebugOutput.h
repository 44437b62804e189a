#pragma once
// Reading what this process writes with OutputDebugString. The call first
// raises DBG_PRINTEXCEPTION_C with the text, and a vectored exception
// handler sees it on the writing thread before the call goes on (to a
// debugger or the system's buffer), which Wine does as Windows does: a
// text is stored by the time OutputDebugString returns, so "nothing was
// written" can fail without waiting. One capture at a time.

#include <windows.h>

#include <string>
#include <vector>

#include "Where.h"

namespace e2e {

class DebugOutputCapture {
  public:
    // Starts listening; fails when another capture lives.
    explicit DebugOutputCapture(Where where = Where::Here());
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // The texts written so far, one per OutputDebugString call.
    std::vector<std::string> Texts() const;

  private:
    static LONG CALLBACK Handle(EXCEPTION_POINTERS* exception);

    void* handler_ = nullptr;
    mutable CRITICAL_SECTION lock_;
    std::vector<std::string> texts_;
};

} // namespace e2e

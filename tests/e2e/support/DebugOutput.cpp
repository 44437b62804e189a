#include "DebugOutput.h"

namespace e2e {

namespace {

// The exception OutputDebugStringA raises: its text's size and address.
const DWORD kDebugPrint = 0x40010006; // DBG_PRINTEXCEPTION_C

DebugOutputCapture* active = nullptr;

} // namespace

DebugOutputCapture::DebugOutputCapture(Where where) {
    Require(!active, where, "another debug output capture lives");
    InitializeCriticalSection(&lock_);
    active = this;
    handler_ = AddVectoredExceptionHandler(1, Handle);
    if (!handler_) {
        active = nullptr;
        DeleteCriticalSection(&lock_);
        Fail(where, "cannot listen to the debug output");
    }
}

DebugOutputCapture::~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(handler_);
    active = nullptr;
    DeleteCriticalSection(&lock_);
}

LONG CALLBACK DebugOutputCapture::Handle(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (active && record->ExceptionCode == kDebugPrint && record->NumberParameters >= 2) {
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        EnterCriticalSection(&active->lock_);
        active->texts_.push_back(text);
        LeaveCriticalSection(&active->lock_);
    }
    // The call goes on as without the capture.
    return EXCEPTION_CONTINUE_SEARCH;
}

std::vector<std::string> DebugOutputCapture::Texts() const {
    EnterCriticalSection(&lock_);
    std::vector<std::string> texts = texts_;
    LeaveCriticalSection(&lock_);
    return texts;
}

} // namespace e2e

#include "DebugOutput.h"

#include <stdexcept>
#include <string.h>

#include "tools/windriver/Wait.h"

namespace e2e {

using namespace windriver;

namespace {

// The buffer: the writer's process id, then its NUL-terminated text.
const DWORD kBufferSize = 4096;

// Written by the capture itself to mark how far the listener has got.
const char kSentinel[] = "e2e debug-output barrier\n";

} // namespace

DebugOutputCapture::DebugOutputCapture() {
    InitializeCriticalSection(&lock_);
    mutex_ = CreateMutexA(nullptr, FALSE, "DBWinMutex");
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize,
                                  "DBWIN_BUFFER");
    bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
    bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (mapping_)
        view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (taken || !mutex_ || !view_ || !bufferReady_ || !dataReady_ || !stop_)
        throw std::runtime_error("cannot listen to the debug output");
    thread_ = CreateThread(nullptr, 0, Listen, this, 0, nullptr);
    if (!thread_)
        throw std::runtime_error("cannot start the debug output listener");
}

DebugOutputCapture::~DebugOutputCapture() {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, kTimeoutMs);
        CloseHandle(thread_);
    }
    if (view_)
        UnmapViewOfFile(view_);
    for (HANDLE handle : {mapping_, bufferReady_, dataReady_, stop_, mutex_}) {
        if (handle)
            CloseHandle(handle);
    }
    DeleteCriticalSection(&lock_);
}

DWORD WINAPI DebugOutputCapture::Listen(LPVOID param) {
    DebugOutputCapture* self = static_cast<DebugOutputCapture*>(param);
    HANDLE waits[] = {self->stop_, self->dataReady_};
    for (;;) {
        SetEvent(self->bufferReady_);
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return 0;
        Entry entry;
        memcpy(&entry.pid, self->view_, sizeof entry.pid);
        const char* text = self->view_ + sizeof entry.pid;
        entry.text.assign(text, strnlen(text, kBufferSize - sizeof entry.pid));
        EnterCriticalSection(&self->lock_);
        if (entry.pid == GetCurrentProcessId() && entry.text == kSentinel)
            ++self->sentinelsStored_;
        else
            self->entries_.push_back(entry);
        LeaveCriticalSection(&self->lock_);
    }
}

void DebugOutputCapture::CatchUp() {
    // Writers take turns through the buffer, and the listener frees it only
    // after storing a text: once this text is stored, so is every earlier one.
    ++sentinelsWritten_;
    OutputDebugStringA(kSentinel);
    WaitUntil(
        [this] {
            EnterCriticalSection(&lock_);
            bool stored = sentinelsStored_ >= sentinelsWritten_;
            LeaveCriticalSection(&lock_);
            return stored;
        },
        "the debug-output listener");
}

std::vector<std::string> DebugOutputCapture::Texts(DWORD pid) {
    CatchUp();
    std::vector<std::string> texts;
    EnterCriticalSection(&lock_);
    for (const Entry& entry : entries_) {
        if (!pid || entry.pid == pid)
            texts.push_back(entry.text);
    }
    LeaveCriticalSection(&lock_);
    return texts;
}

} // namespace e2e

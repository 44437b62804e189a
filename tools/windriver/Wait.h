#pragma once
// The one bound of every wait of a driver or a test. A wait polls for a condition
// (a window, a file, a process end) and returns as soon as it holds; the
// bound only decides when to give up, so it is generous enough for a machine
// whose cores are all busy. Reaching it is a failure that says what did not
// happen.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace windriver {

const DWORD kTimeoutMs = 60000;
// How often a wait looks again.
const DWORD kPollMs = 20;

// Returns once `condition()` holds; throws, naming `what`, after `timeoutMs`.
// A measurement that times when the condition begins to hold looks more
// often (`pollMs`).
template <class Condition>
void WaitUntil(Condition condition, const std::string& what, DWORD timeoutMs = kTimeoutMs,
               DWORD pollMs = kPollMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            throw std::runtime_error("gave up after " + std::to_string(timeoutMs / 1000) +
                                     " s waiting for " + what);
        Sleep(pollMs);
    }
}

} // namespace windriver

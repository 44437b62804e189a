#pragma once
// The desktop's shell as a program that asks it to start another sees it.

namespace e2e {

// Starts the desktop when it is not up yet and waits until its shell has
// registered the desktop window with ShellWindows, which Wine's desktop
// process does last, after its window exists. True once the shell answers
// for the desktop; false when it has not within kTimeoutMs.
bool WaitForDesktopShell();

} // namespace e2e

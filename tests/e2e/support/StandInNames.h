#pragma once
// Names that the test programs share with the stand-ins they start; the
// stand-ins include this alone (the rest of the support library needs
// GoogleTest).

namespace e2e {

// The event that the probe's "pause" command waits for.
constexpr const char kProbeContinueEvent[] = "e2e-probe-continue";

// The window property that e2e_iconhook.dll leaves on a message box's icon
// control: the resource number of the system icon it shows (IDI_HAND 32513,
// IDI_QUESTION 32514, IDI_EXCLAMATION 32515, IDI_ASTERISK 32516).
constexpr const char kIconProperty[] = "e2e.icon";

// The property it leaves on every dialog: kErrorModeSet with the error mode
// of the dialog's program (GetErrorMode) in its low bits.
constexpr const char kErrorModeProperty[] = "e2e.error-mode";
constexpr unsigned kErrorModeSet = 0x10000;

// Where it logs each shell copy that a program named Setup.exe starts, one
// line each: "owner=<window as a number> flags=0x<hex> title=<title>"; out
// of the way of the tests that list what C:\ holds.
constexpr const char kCopyLog[] = "C:\\windows\\temp\\e2e-copies.log";

} // namespace e2e

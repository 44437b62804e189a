#pragma once
// Everything an end-to-end test needs: include this one header.

#include "DebugOutput.h"
#include "Medium.h"
#include "Paths.h"
#include "Process.h"
#include "Registry.h"
#include "RunProbe.h"
#include "Session.h"
#include "ShellLink.h"
#include "StubLog.h"
#include "tools/windriver/Ui.h"
#include "tools/windriver/Wait.h"

// The window driver's names are the harness's own.
namespace e2e {
using namespace windriver;
}

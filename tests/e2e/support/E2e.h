#pragma once
// Everything an end-to-end test needs: include this one header.

#include "DebugOutput.h"
#include "Medium.h"
#include "Paths.h"
#include "Probe.h"
#include "Process.h"
#include "Registry.h"
#include "Session.h"
#include "ShellLink.h"
#include "StubLog.h"
#include "Ui.h"
#include "Wait.h"

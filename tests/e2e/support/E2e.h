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
#include "ShellWindows.h"
#include "StubLog.h"
#include "Where.h"
#include "tools/windriver/OtherWindows.h"
#include "tools/windriver/Wait.h"
#include "tools/windriver/WindowsPath.h"

// The window driver's names are the harness's own.
namespace e2e {
using windriver::ChildWindows, windriver::ChooseComboItem, windriver::ClassOf,
    windriver::ComboItems, windriver::ComboSelection, windriver::ControlText, windriver::IsChecked,
    windriver::IsEnabled, windriver::IsVisible, windriver::kTimeoutMs, windriver::MessageBoxInfo,
    windriver::PostClick, windriver::PostClickOn, windriver::ReadMessageBox, windriver::Send,
    windriver::SetText, windriver::Settle, windriver::TopLevelWindows, windriver::WaitForDialogBox,
    windriver::WaitForMessageBox, windriver::WaitForWindow, windriver::WaitForWindowGone,
    windriver::WindowsPath, windriver::WindowText;
} // namespace e2e

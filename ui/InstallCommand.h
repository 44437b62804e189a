#pragma once
// The installation with the dialog's messages, for the dialog itself and
// for the elevated part that a dialog without administrator rights starts.

#include "install/Installation.h"
#include "platform/Window.h"
#include "text/SetupPair.h"

// Finds the medium again (none: its message, then the process ends with
// kExitNoMedium) and runs the installation from the text `typed` and
// `language`; every message is owned by `owner`, in the language of
// `texts`.
SetupExit InstallWithMessages(const CWnd& owner, LanguageTexts& texts, const char* typed,
                              const char* language, bool glideDriverPresent,
                              PathBuffer& installDir);

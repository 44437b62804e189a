#pragma once
// The installation with the dialog's messages, for the dialog itself and
// for the elevated part that a dialog without administrator rights starts.

#include "install/Installation.h"
#include "platform/Window.h"
#include "text/SetupPair.h"

// Runs the installation from the disc at `sourceRoot` ("D:\\") and the text
// `typed` and `language`; every message is owned by `owner`, in the
// language of `texts`.
SetupExit InstallWithMessages(const CWnd& owner, LanguageTexts& texts, const char* sourceRoot,
                              const char* typed, const char* language, bool glideDriverPresent,
                              PathBuffer& installDir);

// The message that no drive holds the game's disc, owned by `owner`.
void TellNoMedium(const CWnd& owner, LanguageTexts& texts);

#pragma once
// The question while programs hold files of the game folder, which the
// dialog's installation and the uninstaller ask before they change
// anything.

#include <windows.h>

#include "common/FilesInUse.h"
#include "text/SetupPair.h"

// Says that programs hold files in `folder` (`found`), in a box owned by
// `owner` (null: none) in the language of `texts`, with Retry and Cancel:
// whether the user chose Retry.
bool AskRetryWhileInUse(HWND owner, LanguageTexts& texts, const char* folder,
                        const InUseList& found);

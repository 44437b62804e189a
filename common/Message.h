#pragma once
// A message of setup's own: texts of the catalogue, which a log writes in
// English and a window shows in the user's language.

#include <windows.h>

#include "text/TextCatalogue.h"

struct InstallMessage {
    TextRef text;
    TextRef caption; // English null: the application's name
    UINT style;
};

// "%1 is a link to another folder; ...": nothing installed or removed.
inline constexpr InstallMessage kLinkRefused = {kText<TXT_LINK_REFUSED>, kText<TXT_ERROR_CAPTION>,
                                                MB_ICONHAND};
// "%1 cannot be locked against changes ...": nothing installed or removed.
inline constexpr InstallMessage kFolderNotHeld = {kText<TXT_FOLDER_NOT_HELD>,
                                                  kText<TXT_ERROR_CAPTION>, MB_ICONHAND};

#pragma once
// The log of a run without a window (/LOG): the installation's steps or
// the removal's, one line each, in English.

#include "common/Message.h"
#include "platform/Handle.h"

class RunLog {
  public:
    // Starts a new log at `path`. False when it cannot be written, when a
    // file is already there (it is never written over), or when the path
    // lies in `gameFolder` or `uninstallerFolder` (either may be null):
    // the log never goes where the game's or the uninstaller's files are.
    // From Vista on that is asked of the made file's final path, against
    // each folder's, and a refused file is deleted through its handle;
    // before, the full path's text is all there is to compare.
    bool Open(const char* path, const char* gameFolder, const char* uninstallerFolder);
    // Writes one line, at once: a run that is killed still shows how far it
    // got.
    void Line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // A folder on the way to the game folder is a link, named `link` in
    // `refusal`.
    void RefuseLink(const InstallMessage& refusal, const char* link);

  private:
    CFileHandle m_file;
};

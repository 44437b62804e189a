#pragma once
// The log of a run without a window (/LOG): the installation's steps or
// the removal's, one line each, in English.

#include "common/CommandLine.h"
#include "common/FilesInUse.h"
#include "common/Message.h"
#include "platform/Handle.h"

// A value as a log line quotes it (QuoteLogValue); a line is never longer.
class CLogValue {
  public:
    explicit CLogValue(const char* value) { QuoteLogValue(value, m_text, sizeof m_text); }
    operator const char*() const { return m_text; }

  private:
    char m_text[512];
};

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
    // Starts the elevated part's log at `path`, in place of the last one:
    // the elevated part writes no file the player named, but this one lies
    // in a folder that only administrators may write. False when it cannot
    // be made.
    bool OpenElevated(const char* path);
    // Around the elevated part's run, in the player's process: once it has
    // ended, the log it kept at `path` is copied into this one (when one is
    // open), or a line says that it kept none.
    void BeforeElevatedPart(const char* path);
    void AfterElevatedPart(const char* path);
    // Writes one line, at once: a run that is killed still shows how far it
    // got.
    void Line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // A folder on the way to the game folder is a link or cannot be held,
    // named `link` in `refusal`.
    void RefuseLink(const InstallMessage& refusal, const char* link);
    // A program holds files below the game folder `folder` (`found`).
    void FilesInUse(const char* folder, const InUseList& found);

  private:
    CFileHandle m_file;
    // When the elevated part's log was last written before the run (zero:
    // there was none).
    FILETIME m_before = {};
};

#pragma once
// The installation without a window: each step's result goes to a log file
// (none: nowhere), nothing is asked, and the run's result is its exit code.

#include "install/CommandLine.h"
#include "install/Installation.h"
#include "platform/Handle.h"

// A value as a log line quotes it (QuoteLogValue); a line is never longer.
class CLogValue {
  public:
    explicit CLogValue(const char* value) { QuoteLogValue(value, m_text, sizeof m_text); }
    operator const char*() const { return m_text; }

  private:
    char m_text[512];
};

class LogReport : public InstallReport {
  public:
    // Starts a new log at `path`. False when it cannot be written, when a
    // file is already there (it is never written over), or when the path
    // lies in `gameFolder` or `uninstallerFolder` (either may be null):
    // the log never goes where the game's or the uninstaller's files are.
    // From Vista on that is asked of the made file's final path, against
    // each folder's, and a refused file is deleted through its handle;
    // before, the full path's text is all there is to compare.
    bool Open(const char* path, const char* gameFolder, const char* uninstallerFolder);
    // Starts the elevated part's log: "<Program Files>\Brightfen\Setup.log",
    // in place of the last one. The elevated part writes no file the player
    // named, but this folder lets only administrators write. False when it
    // cannot be made.
    bool OpenElevated();
    // Around the elevated part's run, in the player's process: once it has
    // ended, the log it kept is copied into this one (when one is open),
    // or a line says that it kept none.
    void BeforeElevatedPart();
    void AfterElevatedPart();
    // Writes one line, at once: a run that is killed still shows how far it
    // got.
    void Line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    void StepRan(const char* step, const InstallMessage* failure, DWORD error) override;
    void Tell(const InstallMessage&) override {}
    void RefuseLink(const InstallMessage& refusal, const char* link) override;
    // Nobody is there to decide: the copy does not start.
    bool GoOnWithoutRoom(uint64_t needed, uint64_t available) override;

  private:
    CFileHandle m_file;
    // When the elevated part's log was last written before the run (zero:
    // there was none).
    FILETIME m_before = {};
};

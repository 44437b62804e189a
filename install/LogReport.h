#pragma once
// The installation without a window: each step's result goes to a log file
// (none: nowhere), nothing is asked, and the run's result is its exit code.

#include "install/Installation.h"
#include "platform/Handle.h"

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
    void KeptAs(const char* path) override;

  private:
    CFileHandle m_file;
};

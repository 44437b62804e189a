#pragma once
// The installation as plain steps over a request, apart from any window:
// the setup dialog, the unattended command line and the tests run the same
// steps. What happens reaches the caller through an InstallReport: the
// dialog shows message boxes, the unattended run writes its log.

#include <windows.h>

#include <stdint.h>

#include "common/ExitCodes.h"
#include "common/FilesInUse.h"
#include "common/Message.h"
#include "common/PathRules.h"

extern const InstallMessage kNoMedium;

struct InstallRequest {
    const char* typedFolder; // the install-path text as typed
    const char* language;    // a language of the medium, as its list names it
    bool glideDriverPresent;
    HWND owner;            // of every window the steps open; none: no window at all
    const char* copyTitle; // the title of the copy's progress window (with an owner)
};

class InstallReport {
  public:
    // A step has run: `failure` is null when it succeeded, else its
    // message, with the system's error code at the time.
    virtual void StepRan(const char* step, const InstallMessage* failure, DWORD error) = 0;
    // A failure the user must be told of, once the steps have ended.
    virtual void Tell(const InstallMessage& failure) = 0;
    // A folder on the way to the installation folder, or below it, is a
    // link, or one on the way cannot be held, named `link` in `refusal`:
    // nothing was written.
    virtual void RefuseLink(const InstallMessage& refusal, const char* link) = 0;
    // The drive lacks space for the new copy: whether to go on.
    virtual bool GoOnWithoutSpace(uint64_t needed, uint64_t available) = 0;
    // Before anything is copied, a program holds files of the earlier
    // installation in `folder` (`found`): whether to look again.
    virtual bool RetryWhileInUse(const char* folder, const InUseList& found) = 0;
    // A player's file of the earlier installation is kept at `path`, under
    // another name than it had, as the new installation has one like it.
    virtual void KeptAs(const char* path) { (void)path; }

  protected:
    ~InstallReport() = default;
};

// Runs the installation from the medium at `sourceRoot` ("D:\"). On
// success `installDir` holds the installation folder. The working directory
// is as it was when it returns.
SetupExit RunInstallation(const InstallRequest& request, const char* sourceRoot,
                          InstallReport& report, PathBuffer& installDir);

// Starts the installation's own Setup.exe in its folder, quoted, as the
// player (StartAsPlayer).
void StartInstalledSetup(const char* installDir);

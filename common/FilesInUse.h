#pragma once
// Whether programs hold files of a folder open, so that the folder cannot
// be moved aside or removed whole (the game is running), and which.
//
// Every file and folder below the folder is opened to read, sharing
// nothing: such an open fails with a sharing violation exactly when another
// handle that reads, writes or deletes the item is open (an open for its
// attributes alone takes no part in sharing), on NT and on Windows 95 and 98
// for files. A running program also holds its program and libraries as
// mapped images, which no open sees: from Vista on the Restart Manager
// names the programs that use the held items and the folder's programs and
// libraries, and one that it names holds the folder too. The folder itself
// is not opened: the run that asks holds it.

#include "common/PathRules.h"

// What the check finds, as it finds it.
class InUseReport {
  public:
    // `path`, below the folder, is open in a program.
    virtual void HeldItem(const char* path) = 0;
    // `program`, as Windows names it (its window's title, or the service's
    // name), uses files of the folder.
    virtual void HeldBy(const char* program) = 0;

  protected:
    ~InUseReport() = default;
};

// Whether a program holds anything below `folder` open; each held item and
// each program that Windows names is told to `report`.
bool FindFilesInUse(const char* folder, InUseReport& report);

// What messages and the log say of it: the programs that hold files,
// with commas between, or where Windows cannot tell, the first item held.
class InUseList : public InUseReport {
  public:
    void HeldItem(const char* path) override;
    void HeldBy(const char* program) override;

    char what[512] = "";

  private:
    bool m_named = false;
};

// Looks at `folder` again while a program holds it and `retry`, told what
// was found, asks to: whether no program holds it in the end.
typedef bool (*RetryInUse)(void* context, const InUseList& found);
bool NoProgramHolds(const char* folder, RetryInUse retry, void* context);

#pragma once
// The installation without a window: each step's result goes to the run's
// log (none: nowhere), nothing is asked, and the run's result is its exit
// code.

#include "common/RunLog.h"
#include "install/Installation.h"

class LogReport : public RunLog, public InstallReport {
  public:
    void StepRan(const char* step, const InstallMessage* failure, DWORD error) override;
    void Tell(const InstallMessage&) override {}
    void RefuseLink(const InstallMessage& refusal, const char* link) override {
        RunLog::RefuseLink(refusal, link);
    }
    // Nobody is there to decide: the copy does not start.
    bool GoOnWithoutSpace(uint64_t needed, uint64_t available) override;
    // Nobody is there to close the program: the run ends.
    bool RetryWhileInUse(const char* folder, const InUseList& found) override {
        FilesInUse(folder, found);
        return false;
    }
    void KeptAs(const char* path) override;
};

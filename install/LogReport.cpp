#include "install/LogReport.h"

#include "install/SpaceRules.h"

void LogReport::StepRan(const char* step, const InstallMessage* failure, DWORD error) {
    if (!failure)
        Line("%s: ok", step);
    else if (error)
        Line("%s: failed: %s (error %lu)", step, failure->text.english, (unsigned long)error);
    else
        Line("%s: failed: %s", step, failure->text.english);
}

void LogReport::KeptAs(const char* path) {
    Line("player's file kept as: %s", path);
}

bool LogReport::GoOnWithoutSpace(uint64_t needed, uint64_t available) {
    Line("room: %lu MB needed, %lu MB free", (unsigned long)MegabytesNeeded(needed),
         (unsigned long)MegabytesFree(available));
    return false;
}

#include "platform/FindFile.h"

bool WalkBelow(const char* folder, bool whole, VisitEntry visit, void* context) {
    char pattern[text::kPathBufferSize];
    if (!PathInFolder(pattern, folder, "*.*"))
        return !whole;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        char path[text::kPathBufferSize];
        if (entry.IsDots())
            continue;
        if (!PathInFolder(path, folder, entry.Name())) {
            if (whole)
                return false;
            continue;
        }
        if (!visit(context, path, entry) ||
            (entry.IsFolder() && !entry.IsLink() && !WalkBelow(path, whole, visit, context)))
            return false;
    }
    return true;
}

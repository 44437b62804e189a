#include "platform/CmdTarget.h"

const MessageMapEntry rootEntries[] = {{0, 0, 0, kSigEnd, MessageHandler()}};
const MessageMap CCmdTarget::messageMap = {nullptr, rootEntries};

static bool Matches(const MessageMapEntry& entry, UINT message, UINT code, UINT id) {
    if (entry.message != message)
        return false;
    return message != WM_COMMAND || (entry.code == code && entry.id == id);
}

const MessageMapEntry* CCmdTarget::FindHandler(UINT message, UINT code, UINT id) const {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MessageMapEntry* entry = map->entries; entry->signature != kSigEnd; ++entry) {
            if (Matches(*entry, message, code, id))
                return entry;
        }
    }
    return nullptr;
}

void CCmdTarget::CallHandler(const MessageMapEntry& entry, WPARAM wParam, LPARAM lParam,
                             LRESULT* result) {
    *result = 0;
    switch (entry.signature) {
    case kSigVoid:
        (this->*entry.handler.asVoid)();
        break;
    case kSigBool:
        *result = (this->*entry.handler.asBool)();
        break;
    case kSigUintLparam:
        (this->*entry.handler.asUintLparam)((UINT)wParam, lParam);
        break;
    case kSigCursor:
        *result = (LRESULT)(this->*entry.handler.asCursor)();
        break;
    case kSigEnd:
        break;
    }
}

#pragma once
// The root of everything that owns a message table: windows and the
// application object.

#include "platform/MessageMap.h"

class CCmdTarget {
  public:
    virtual ~CCmdTarget() {}

    static const MessageMap messageMap;
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }

    // Finds the first row for this message in this object's table or its
    // bases' tables. For WM_COMMAND the notification code and id must match.
    const MessageMapEntry* FindHandler(UINT message, UINT code, UINT id) const;

    // Calls the row's handler with the message's arguments; *result gets
    // what the handler returns (0 for handlers without a result).
    void CallHandler(const MessageMapEntry& entry, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

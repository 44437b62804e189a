#pragma once
// Message tables: static arrays of {message, notification code, control id,
// handler} rows, each table chained to its base class's table. A class
// declares its table with DECLARE_MESSAGE_MAP(Class, Base) and defines it in
// its source file:
//
//   BEGIN_MESSAGE_MAP(CSetupDlg)
//   ON_WM_PAINT(OnPaint)
//   ON_CONTROL(CBN_SELCHANGE, IDC_LANGUAGE, ApplyLanguage)
//   END_MESSAGE_MAP()
//
// Each entry macro fixes the handler's signature, written next to it below;
// a handler of another signature does not compile.

#include <windows.h>

class CCmdTarget;

template <class Signature> using HandlerOf = Signature CCmdTarget::*;

enum MessageSignature {
    kSigEnd,        // marks the end of a table
    kSigVoid,       // void Handler()
    kSigBool,       // BOOL Handler()
    kSigUintLparam, // void Handler(UINT, LPARAM)
    kSigCursor,     // HCURSOR Handler()
};

// A handler of any of the signatures above; the row's signature says which
// member holds it.
union MessageHandler {
    constexpr MessageHandler() : asVoid(nullptr) {}
    constexpr MessageHandler(HandlerOf<void()> h) : asVoid(h) {}
    constexpr MessageHandler(HandlerOf<BOOL()> h) : asBool(h) {}
    constexpr MessageHandler(HandlerOf<void(UINT, LPARAM)> h) : asUintLparam(h) {}
    constexpr MessageHandler(HandlerOf<HCURSOR()> h) : asCursor(h) {}

    HandlerOf<void()> asVoid;
    HandlerOf<BOOL()> asBool;
    HandlerOf<void(UINT, LPARAM)> asUintLparam;
    HandlerOf<HCURSOR()> asCursor;
};

struct MessageMapEntry {
    UINT message;
    UINT code; // notification code, for WM_COMMAND
    UINT id;   // control or command id, for WM_COMMAND
    MessageSignature signature;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base; // null for the root table
    const MessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP(theClass, baseClass)                                                   \
  protected:                                                                                       \
    typedef theClass ThisClass;                                                                    \
    typedef baseClass BaseClass;                                                                   \
    static const MessageMapEntry messageEntries[];                                                 \
                                                                                                   \
  public:                                                                                          \
    static const MessageMap messageMap;                                                            \
    const MessageMap* GetMessageMap() const override {                                             \
        return &messageMap;                                                                        \
    }                                                                                              \
                                                                                                   \
  private:

#define BEGIN_MESSAGE_MAP(theClass)                                                                \
    const MessageMap theClass::messageMap = {&theClass::BaseClass::messageMap,                     \
                                             theClass::messageEntries};                            \
    const MessageMapEntry theClass::messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, kSigEnd, MessageHandler() }                                                         \
    }                                                                                              \
    ;

// Checks the handler against its row's signature and stores it.
#define MESSAGE_HANDLER(handler, ...)                                                              \
    MessageHandler(static_cast<HandlerOf<__VA_ARGS__>>(&ThisClass::handler))

// void handler() for WM_COMMAND with the given notification code and id.
#define ON_CONTROL(code, id, handler)                                                              \
    {WM_COMMAND, (UINT)(code), (UINT)(id), kSigVoid, MESSAGE_HANDLER(handler, void())},

// void handler() for a menu or accelerator command (notification code 0).
#define ON_COMMAND(id, handler) ON_CONTROL(0, id, handler)

// void handler() for a button click.
#define ON_BN_CLICKED(id, handler) ON_CONTROL(BN_CLICKED, id, handler)

// BOOL handler(): nonzero lets the dialog manager set the initial focus.
#define ON_WM_INITDIALOG(handler) {WM_INITDIALOG, 0, 0, kSigBool, MESSAGE_HANDLER(handler, BOOL())},

// void handler(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND(handler)                                                                  \
    {WM_SYSCOMMAND, 0, 0, kSigUintLparam, MESSAGE_HANDLER(handler, void(UINT, LPARAM))},

// void handler()
#define ON_WM_PAINT(handler) {WM_PAINT, 0, 0, kSigVoid, MESSAGE_HANDLER(handler, void())},

// HCURSOR handler()
#define ON_WM_QUERYDRAGICON(handler)                                                               \
    {WM_QUERYDRAGICON, 0, 0, kSigCursor, MESSAGE_HANDLER(handler, HCURSOR())},

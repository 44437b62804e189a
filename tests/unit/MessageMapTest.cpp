// The message tables: rows match by message, and for WM_COMMAND by
// notification code and control id; a class's own rows come before its
// base's, and anything else falls through to the base table.

#include <gtest/gtest.h>

#include <string>

#include "platform/Window.h"

namespace {

// Each handler appends its name to `ran`.
class BaseTarget : public CWnd {
  public:
    std::string ran;
    void OnBaseCommand() { ran += "base command;"; }
    void OnBasePaint() { ran += "base paint;"; }

    DECLARE_MESSAGE_MAP(BaseTarget, CWnd)
};

BEGIN_MESSAGE_MAP(BaseTarget)
ON_CONTROL(EN_CHANGE, 200, OnBaseCommand)
ON_WM_PAINT(OnBasePaint)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
  public:
    void OnSelect() { ran += "select;"; }
    void OnClick() { ran += "click;"; }
    void OnSys(UINT id, LPARAM lParam) {
        ran += "sys " + std::to_string(id) + " " + std::to_string(lParam) + ";";
    }
    void OnOwnPaint() {
        ran += "paint;";
        Default();
    }
    BOOL OnInit() { return 7; }
    HCURSOR OnDrag() { return (HCURSOR)0x1234; }

    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        return OnWndMsg(message, wParam, lParam, result);
    }

    DECLARE_MESSAGE_MAP(DerivedTarget, BaseTarget)
};

BEGIN_MESSAGE_MAP(DerivedTarget)
ON_CONTROL(CBN_SELCHANGE, 100, OnSelect)
ON_BN_CLICKED(100, OnClick)
ON_WM_SYSCOMMAND(OnSys)
ON_WM_PAINT(OnOwnPaint)
ON_WM_INITDIALOG(OnInit)
ON_WM_QUERYDRAGICON(OnDrag)
END_MESSAGE_MAP()

// Each row: the handler that ran with its arguments, whether the message
// counts as handled, and the result a handler returned.
TEST(MessageMap, EachMessageRunsTheHandlerOfItsFirstMatchingRow) {
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool handled;
        const char* ran;
        LRESULT result;
    } cases[] = {
        {"code and id of a row", WM_COMMAND, MAKEWPARAM(100, CBN_SELCHANGE), 0, true, "select;", 0},
        {"another code, same id", WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0, true, "click;", 0},
        {"same id, a code of no row", WM_COMMAND, MAKEWPARAM(100, CBN_DROPDOWN), 0, false, "", 0},
        {"same code, an id of no row", WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0, false, "", 0},
        {"a row of the base table", WM_COMMAND, MAKEWPARAM(200, EN_CHANGE), 0, true,
         "base command;", 0},
        {"a message of no row", WM_TIMER, 0, 0, false, "", 0},
        // The derived paint handler asks for default processing: unhandled.
        {"derived row before the base's", WM_PAINT, 0, 0, false, "paint;", 0},
        {"arguments", WM_SYSCOMMAND, 0xF060, 0x00280010, true, "sys 61536 2621456;", 0},
        {"a returned BOOL", WM_INITDIALOG, 0, 0, true, "", 7},
        {"a returned handle", WM_QUERYDRAGICON, 0, 0, true, "", 0x1234},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DerivedTarget target;
        LRESULT result = 0;
        EXPECT_EQ(c.handled, target.Dispatch(c.message, c.wParam, c.lParam, &result));
        EXPECT_EQ(c.ran, target.ran);
        EXPECT_EQ(c.result, result);
    }
}

} // namespace

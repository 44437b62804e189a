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
    UINT lastSysCommand = 0;
    LPARAM lastSysParam = 0;
    void OnSelect() { ran += "select;"; }
    void OnClick() { ran += "click;"; }
    void OnSys(UINT id, LPARAM lParam) {
        lastSysCommand = id;
        lastSysParam = lParam;
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

TEST(MessageMap, EachMessageRunsTheHandlerOfItsFirstMatchingRow) {
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        bool handled;
        const char* ran;
    } cases[] = {
        {"code and id of a row", WM_COMMAND, MAKEWPARAM(100, CBN_SELCHANGE), true, "select;"},
        {"another code, same id", WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), true, "click;"},
        {"same id, a code of no row", WM_COMMAND, MAKEWPARAM(100, CBN_DROPDOWN), false, ""},
        {"same code, an id of no row", WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), false, ""},
        {"a row of the base table", WM_COMMAND, MAKEWPARAM(200, EN_CHANGE), true, "base command;"},
        {"a message of no row", WM_TIMER, 0, false, ""},
        // The derived paint handler asks for default processing: unhandled.
        {"derived row before the base's", WM_PAINT, 0, false, "paint;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DerivedTarget target;
        LRESULT result;
        EXPECT_EQ(c.handled, target.Dispatch(c.message, c.wParam, 0, &result));
        EXPECT_EQ(c.ran, target.ran);
    }
}

TEST(MessageMap, HandlersReceiveTheirArgumentsAndReturnTheirResults) {
    DerivedTarget target;
    LRESULT result = 0;
    EXPECT_TRUE(target.Dispatch(WM_SYSCOMMAND, 0xF060, 0x00280010, &result));
    EXPECT_EQ(0xF060u, target.lastSysCommand);
    EXPECT_EQ(0x00280010, target.lastSysParam);
    EXPECT_TRUE(target.Dispatch(WM_INITDIALOG, 0, 0, &result));
    EXPECT_EQ(7, result);
    EXPECT_TRUE(target.Dispatch(WM_QUERYDRAGICON, 0, 0, &result));
    EXPECT_EQ(0x1234, result);
}

} // namespace

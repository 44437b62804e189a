// The message tables: rows match by message, and for WM_COMMAND by
// notification code and control id; a class's own rows come before its
// base's, and anything else falls through to the base table.

#include <gtest/gtest.h>

#include "platform/Window.h"

namespace {

class BaseTarget : public CWnd {
  public:
    int baseCommands = 0;
    int basePaints = 0;
    void OnBaseCommand() { ++baseCommands; }
    void OnBasePaint() { ++basePaints; }

    DECLARE_MESSAGE_MAP(BaseTarget, CWnd)
};

BEGIN_MESSAGE_MAP(BaseTarget)
ON_CONTROL(EN_CHANGE, 200, OnBaseCommand)
ON_WM_PAINT(OnBasePaint)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
  public:
    int selections = 0;
    int clicks = 0;
    UINT lastSysCommand = 0;
    LPARAM lastSysParam = 0;
    int paints = 0;
    void OnSelect() { ++selections; }
    void OnClick() { ++clicks; }
    void OnSys(UINT id, LPARAM lParam) {
        lastSysCommand = id;
        lastSysParam = lParam;
    }
    void OnOwnPaint() {
        ++paints;
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

TEST(MessageMap, CommandRowsMatchCodeAndIdTogether) {
    DerivedTarget target;
    LRESULT result;
    EXPECT_TRUE(target.Dispatch(WM_COMMAND, MAKEWPARAM(100, CBN_SELCHANGE), 0, &result));
    EXPECT_TRUE(target.Dispatch(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0, &result));
    EXPECT_EQ(1, target.selections);
    EXPECT_EQ(1, target.clicks);

    // Same id with another code, and same code with another id: no row.
    EXPECT_FALSE(target.Dispatch(WM_COMMAND, MAKEWPARAM(100, CBN_DROPDOWN), 0, &result));
    EXPECT_FALSE(target.Dispatch(WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0, &result));
    EXPECT_EQ(1, target.selections);
    EXPECT_EQ(1, target.clicks);
}

TEST(MessageMap, UnmatchedRowsFallBackToTheBaseTable) {
    DerivedTarget target;
    LRESULT result;
    EXPECT_TRUE(target.Dispatch(WM_COMMAND, MAKEWPARAM(200, EN_CHANGE), 0, &result));
    EXPECT_EQ(1, target.baseCommands);
    EXPECT_FALSE(target.Dispatch(WM_TIMER, 0, 0, &result));
}

TEST(MessageMap, DerivedRowsComeBeforeTheBaseRowsForTheSameMessage) {
    DerivedTarget target;
    LRESULT result;
    // The derived paint handler asks for default processing: handled == false.
    EXPECT_FALSE(target.Dispatch(WM_PAINT, 0, 0, &result));
    EXPECT_EQ(1, target.paints);
    EXPECT_EQ(0, target.basePaints);
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

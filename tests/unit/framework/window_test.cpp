// CWnd: attaching by creation and by subclassing, the named handlers and their default
// processing, reflection of notifications to the child's object, detaching when the window goes.
#include "framework/framework.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

const RECT kParentRect = {50, 50, 450, 350};

// Records what reaches its handlers.
class RecordingWnd : public CWnd {
public:
    std::vector<UINT_PTR> timers;
    std::vector<WORD> commandIds;
    std::vector<UINT> notifyCodes;
    POINT lastClick = {-1, -1};
    bool throwOnTimer = false;

protected:
    void OnTimer(UINT_PTR id) override {
        if (throwOnTimer)
            throw std::runtime_error("handler failed");
        timers.push_back(id);
    }
    void OnLButtonDown(UINT, POINT point) override { lastClick = point; }
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commandIds.push_back(LOWORD(wParam));
        return TRUE;
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        notifyCodes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        *result = 77;
        return TRUE;
    }
};

// A child control that consumes its notifications when told to, and draws itself.
class ReflectingButton : public CButton {
public:
    bool consume = false;
    int childNotifications = 0;
    int drawItems = 0;
    int preSubclassCalls = 0;
    HWND hwndInPreSubclass = nullptr;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == WM_COMMAND || message == WM_NOTIFY) {
            ++childNotifications;
            if (consume) {
                *result = 5;
                return TRUE;
            }
        }
        return CButton::OnChildNotify(message, wParam, lParam, result);
    }
    void DrawItem(DRAWITEMSTRUCT*) override { ++drawItems; }

protected:
    void PreSubclassWindow() override {
        ++preSubclassCalls;
        hwndInPreSubclass = m_hWnd;
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, kParentRect,
                                      nullptr, 0));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    HWND MakeButton(DWORD style, int id) {
        return CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | style, 10, 10, 80, 24,
                               m_parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    RecordingWnd m_parent;
};

TEST_F(WindowTest, CreatedWindowIsAttachedAndFoundByHandle) {
    EXPECT_TRUE(IsWindow(m_parent.GetSafeHwnd()));
    EXPECT_EQ(&m_parent, CWnd::FromHandle(m_parent));
    EXPECT_EQ(nullptr, CWnd::FromHandle(GetDesktopWindow()));
}

TEST_F(WindowTest, NamedHandlersReceiveTheirMessages) {
    m_parent.SendMessage(WM_TIMER, 42);
    m_parent.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34));
    ASSERT_EQ(1u, m_parent.timers.size());
    EXPECT_EQ(42u, m_parent.timers[0]);
    EXPECT_EQ(12, m_parent.lastClick.x);
    EXPECT_EQ(34, m_parent.lastClick.y);
}

TEST_F(WindowTest, MessagesWithoutHandlerGetTheWindowsOwnProcessing) {
    m_parent.SetWindowText(L"new title");
    CString text;
    m_parent.GetWindowText(text);
    EXPECT_STREQ(L"new title", text);
    EXPECT_EQ(9, m_parent.GetWindowTextLength());
}

TEST_F(WindowTest, AnExceptionInAHandlerStaysInsideTheWindowProcedure) {
    m_parent.throwOnTimer = true;
    EXPECT_EQ(0, m_parent.SendMessage(WM_TIMER, 1));
    m_parent.throwOnTimer = false;
    m_parent.SendMessage(WM_TIMER, 2);
    EXPECT_EQ(1u, m_parent.timers.size());
}

TEST_F(WindowTest, SubclassingRunsPreSubclassWindowWithTheHandleSet) {
    HWND button = MakeButton(BS_PUSHBUTTON, 7);
    ReflectingButton control;
    ASSERT_TRUE(control.SubclassWindow(button));
    EXPECT_EQ(1, control.preSubclassCalls);
    EXPECT_EQ(button, control.hwndInPreSubclass);
    EXPECT_EQ(&control, CWnd::FromHandle(button));
    EXPECT_EQ(7, control.GetDlgCtrlID());
    EXPECT_EQ(m_parent.GetSafeHwnd(), control.GetParent());
    // A second object cannot take a window that already has one.
    ReflectingButton other;
    EXPECT_FALSE(other.SubclassWindow(button));
}

TEST_F(WindowTest, ClickNotificationGoesToTheChildFirstThenToTheParent) {
    ReflectingButton control;
    ASSERT_TRUE(control.SubclassWindow(MakeButton(BS_PUSHBUTTON, 7)));
    control.SendMessage(BM_CLICK);
    EXPECT_EQ(1, control.childNotifications);
    ASSERT_EQ(1u, m_parent.commandIds.size());
    EXPECT_EQ(7, m_parent.commandIds[0]);
}

TEST_F(WindowTest, ChildThatConsumesItsNotificationHidesItFromTheParent) {
    ReflectingButton control;
    ASSERT_TRUE(control.SubclassWindow(MakeButton(BS_PUSHBUTTON, 7)));
    control.consume = true;
    control.SendMessage(BM_CLICK);
    EXPECT_EQ(1, control.childNotifications);
    EXPECT_TRUE(m_parent.commandIds.empty());

    NMHDR header = {control.m_hWnd, 7, 0x1234};
    EXPECT_EQ(5, m_parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)));
    EXPECT_TRUE(m_parent.notifyCodes.empty());
}

TEST_F(WindowTest, NotifyFromAWindowWithoutObjectReachesOnNotify) {
    HWND plain = MakeButton(BS_PUSHBUTTON, 8);
    NMHDR header = {plain, 8, 0x8200};
    EXPECT_EQ(77, m_parent.SendMessage(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&header)));
    ASSERT_EQ(1u, m_parent.notifyCodes.size());
    EXPECT_EQ(0x8200u, m_parent.notifyCodes[0]);
}

TEST_F(WindowTest, OwnerDrawnChildDrawsItselfThroughReflectedDrawItem) {
    ReflectingButton control;
    ASSERT_TRUE(control.SubclassWindow(MakeButton(BS_OWNERDRAW, 9)));
    control.Invalidate();
    control.UpdateWindow();
    EXPECT_GE(control.drawItems, 1);
}

TEST_F(WindowTest, DestroyingTheWindowDetachesItsObject) {
    ReflectingButton control;
    HWND button = MakeButton(BS_PUSHBUTTON, 7);
    ASSERT_TRUE(control.SubclassWindow(button));
    ::DestroyWindow(button);
    EXPECT_EQ(nullptr, control.GetSafeHwnd());
}

TEST_F(WindowTest, ObjectDestroyedBeforeItsWindowLeavesTheWindowWorking) {
    HWND button = MakeButton(BS_PUSHBUTTON, 7);
    {
        ReflectingButton control;
        ASSERT_TRUE(control.SubclassWindow(button));
    }
    EXPECT_EQ(nullptr, CWnd::FromHandle(button));
    SendMessageW(button, BM_CLICK, 0, 0); // would reach a dead object if still hooked
    EXPECT_EQ(1u, m_parent.commandIds.size());
}

TEST_F(WindowTest, ModifyStyleChangesOnlyTheGivenBits) {
    ReflectingButton control;
    ASSERT_TRUE(control.SubclassWindow(MakeButton(BS_PUSHBUTTON | WS_TABSTOP, 7)));
    EXPECT_TRUE(control.ModifyStyle(WS_TABSTOP, WS_GROUP));
    DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(0u, style & WS_TABSTOP);
    EXPECT_NE(0u, style & WS_GROUP);
    EXPECT_NE(0u, style & WS_VISIBLE);
    EXPECT_FALSE(control.ModifyStyle(0, WS_GROUP)); // no change
    EXPECT_TRUE(control.ModifyStyleEx(0, WS_EX_TRANSPARENT));
    EXPECT_NE(0u, static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)) & WS_EX_TRANSPARENT);
}

TEST_F(WindowTest, TimerOfTheWindowArrivesAtOnTimer) {
    ASSERT_NE(0u, m_parent.SetTimer(3, 10));
    MSG msg;
    // Bounded: the timer is due after 10 ms; give up after a generous number of waits.
    for (int i = 0; i < 500 && m_parent.timers.empty(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    EXPECT_TRUE(m_parent.KillTimer(3));
    ASSERT_FALSE(m_parent.timers.empty());
    EXPECT_EQ(3u, m_parent.timers[0]);
}

} // namespace

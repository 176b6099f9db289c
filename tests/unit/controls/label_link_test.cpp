// CTextLabelCtrl as a link (web, mail, notifying the parent), its cursor, and flashing.
#include "controls/shell_open.h"
#include "controls/text_label_ctrl.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::Capture;
using testing_support::Pixels;
using testing_support::PumpMessagesUntil;
using testing_support::TestParent;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const int kLabelId = 300;

struct OpenedLink {
    bool hasVerb;
    std::wstring verb;
    std::wstring target;
};
std::vector<OpenedLink> g_opened;

void RecordOpen(const wchar_t* verb, const wchar_t* target) {
    g_opened.push_back({verb != nullptr, verb ? verb : L"", target ? target : L""});
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_opened.clear();
        m_previous = SetShellOpenFunction(RecordOpen);
    }
    void TearDown() override { SetShellOpenFunction(m_previous); }
    void Make(const wchar_t* text) {
        ASSERT_TRUE(m_label.CreateEx(0, L"STATIC", text, WS_CHILD | WS_VISIBLE,
                                     RECT{10, 10, 210, 40}, m_parent, kLabelId));
    }
    void Click() { m_label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }

    TestParent m_parent;
    CTextLabelCtrl m_label;
    ShellOpenFunction m_previous = nullptr;
};

TEST_F(LinkTest, WebLinkWithoutTargetOpensItsTextWithOpen) {
    Make(L"http://example.com/a b");
    m_label.LinkMode(TRUE);
    EXPECT_NE(0u, m_label.GetStyle() & SS_NOTIFY);
    Click();
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_TRUE(g_opened[0].hasVerb);
    EXPECT_EQ(L"open", g_opened[0].verb);
    EXPECT_EQ(L"http://example.com/a b", g_opened[0].target);
    EXPECT_TRUE(m_parent.notifications.empty());
}

TEST_F(LinkTest, WebLinkWithTargetOpensTheTarget) {
    Make(L"Visit us");
    m_label.LinkMode(TRUE).LinkTarget(L"http://example.com/");
    Click();
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(L"open", g_opened[0].verb);
    EXPECT_EQ(L"http://example.com/", g_opened[0].target);
}

TEST_F(LinkTest, MailLinkOpensMailtoTextWithTheDefaultVerbAndIgnoresTheTarget) {
    Make(L"someone@example.com");
    m_label.MailLinkMode(TRUE).LinkTarget(L"http://example.com/");
    Click();
    m_label.Caption(L"mailto:x@example.com");
    Click();
    ASSERT_EQ(2u, g_opened.size());
    EXPECT_FALSE(g_opened[0].hasVerb);
    EXPECT_EQ(L"mailto:someone@example.com", g_opened[0].target);
    EXPECT_EQ(L"mailto:mailto:x@example.com", g_opened[1].target);
}

TEST_F(LinkTest, NotifyingLinkSendsExactlyOneNotificationAndOpensNothing) {
    Make(L"http://example.com/");
    m_label.LinkMode(TRUE, TRUE);
    Click();
    EXPECT_TRUE(g_opened.empty());
    ASSERT_EQ(1u, m_parent.notifications.size());
    const NMHDR& header = m_parent.notifications[0];
    EXPECT_EQ(0x8200u, header.code);
    EXPECT_EQ(static_cast<UINT_PTR>(kLabelId), header.idFrom);
    EXPECT_EQ(m_label.GetSafeHwnd(), header.hwndFrom);
}

TEST_F(LinkTest, LabelWithoutLinkModeOpensNothingAndDropsSsNotify) {
    Make(L"http://example.com/");
    m_label.LinkMode(TRUE).LinkMode(FALSE);
    EXPECT_EQ(0u, m_label.GetStyle() & SS_NOTIFY);
    Click();
    EXPECT_TRUE(g_opened.empty());
    EXPECT_TRUE(m_parent.notifications.empty());
}

TEST_F(LinkTest, LinkCursorIsShownOverTheLabel) {
    Make(L"link");
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    m_label.LinkMode(TRUE).LinkCursor(hand);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(TRUE, m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd),
                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hand, GetCursor());
}

class FlashTest : public LinkTest {
protected:
    int BlackPixels() {
        Pixels pixels = Capture(m_label);
        return pixels.Count([](COLORREF c) { return c == kBlack; });
    }
    // Runs the message loop until the label's next flash tick has been handled.
    bool WaitForTick() {
        m_ticks = 0;
        PumpMessagesUntil([this] { return m_ticks > 0; }, 5000);
        return m_ticks > 0;
    }
    void CountTicks() {
        m_hook =
            SetWindowsHookExW(WH_GETMESSAGE, CountTimerMessages, nullptr, GetCurrentThreadId());
        s_self = this;
    }
    void TearDown() override {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
        LinkTest::TearDown();
    }
    static LRESULT CALLBACK CountTimerMessages(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code >= 0 && wParam == PM_REMOVE && msg->message == WM_TIMER &&
            msg->hwnd == s_self->m_label.m_hWnd) {
            ++s_self->m_ticks;
            s_self->m_tickIds.push_back(msg->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    int m_ticks = 0;
    std::vector<WPARAM> m_tickIds;
    HHOOK m_hook = nullptr;
    static FlashTest* s_self;
};
FlashTest* FlashTest::s_self = nullptr;

TEST_F(FlashTest, FlashingTextHidesAndShowsTheTextOnTheTimer) {
    Make(L"WWWWWW");
    m_label.Background(kWhite).TextColor(kBlack);
    ASSERT_GT(BlackPixels(), 20);
    CountTicks();
    m_label.FlashingText(TRUE);
    m_label.Redraw();
    EXPECT_EQ(0, BlackPixels()); // first phase: text in the background's colour

    ASSERT_TRUE(WaitForTick());
    EXPECT_GT(BlackPixels(), 20);
    ASSERT_TRUE(WaitForTick());
    EXPECT_EQ(0, BlackPixels());
    EXPECT_EQ(1u, m_tickIds[0]);

    // Starting again while the text shows begins with the hidden phase.
    ASSERT_TRUE(WaitForTick());
    ASSERT_GT(BlackPixels(), 20);
    m_label.FlashingText(TRUE);
    m_label.Redraw();
    EXPECT_EQ(0, BlackPixels());
    ASSERT_TRUE(WaitForTick());
    EXPECT_GT(BlackPixels(), 20);
    ASSERT_TRUE(WaitForTick());
    ASSERT_EQ(0, BlackPixels());

    // Stopping leaves the last look until something repaints the label.
    m_label.FlashingText(FALSE);
    EXPECT_EQ(0, BlackPixels());
    m_label.Redraw();
    EXPECT_GT(BlackPixels(), 20);
}

TEST_F(FlashTest, TransparentLabelWithoutBrushFlashesToBlack) {
    Make(L"WWWWWW");
    m_label.TextColor(RGB(200, 0, 0)).Transparent(TRUE).FlashingText(TRUE);
    m_label.Redraw();
    EXPECT_GT(BlackPixels(), 20);
    m_label.FlashingText(FALSE);
}

TEST_F(FlashTest, FlashingBackgroundAlternatesBetweenTextColourAndOwnColour) {
    Make(L"");
    m_label.Background(RGB(10, 20, 30)).TextColor(RGB(200, 100, 0));
    CountTicks();
    m_label.FlashingBackground(TRUE);
    m_label.Redraw();
    EXPECT_EQ(RGB(200, 100, 0), Capture(m_label).At(5, 5));
    ASSERT_TRUE(WaitForTick());
    EXPECT_EQ(RGB(10, 20, 30), Capture(m_label).At(5, 5));
    ASSERT_TRUE(WaitForTick());
    EXPECT_EQ(RGB(200, 100, 0), Capture(m_label).At(5, 5));
    m_label.FlashingBackground(FALSE);
    m_label.Redraw();
    EXPECT_EQ(RGB(10, 20, 30), Capture(m_label).At(5, 5));
}

} // namespace

// The failed state explains itself: what failed in the description, above the generic "Click
// Finish" where both fit; the bar stopped where the work stopped, drawn in red; the focus on
// Finish.
#include "wizard_harness.h"

#include "unit/controls/pixels.h"

#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

using namespace wizard_testing;
using testing_support::Capture;
using testing_support::Pixels;
using testing_support::TempFolder;

namespace {

const wchar_t kReason[] = L"Cannot copy DIVodeZivar.exe to C:\\Program Files\\BRONDL (error 5: "
                          L"Access is denied.)";
const wchar_t kClickFinish[] = L"Click Finish to close the wizard.";

bool IsRed(COLORREF colour) {
    return GetRValue(colour) > 150 && GetGValue(colour) < 80 && GetBValue(colour) < 80;
}

RECT PlaceOf(HWND window, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The size the description's text needs, measured as the label draws it.
SIZE NeededByDescription(HWND window) {
    const HWND label = GetDlgItem(window, IDC_DESCRIPTION);
    auto* object = dynamic_cast<CTextLabelCtrl*>(CWnd::FromHandle(label));
    const std::wstring text = Look(window, IDC_DESCRIPTION).text;
    RECT client = {};
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, object->GetLabelFont());
    RECT needed = client;
    const int height =
        DrawTextW(dc, text.c_str(), -1, &needed, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return {needed.right - needed.left, height};
}

class WizardFailure : public ::testing::Test {
protected:
    void SetUp() override {
        // The tests read the focus: a wizard of a test beside this one must not take it.
        ASSERT_TRUE(m_desktop.Entered());
        ASSERT_TRUE(m_language.Loaded());
    }

    // Begins the work, holds the bar at 40 and ends the work with the given failure.
    WizardScript::Step Fail(BOOL bRemoval, const std::wstring& reason) {
        return [bRemoval, reason](WizardDialog& dialog, HWND window) {
            KillTimer(window, IDT_PROGRESS);
            SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 40, 0);
            dialog.ShowWorkEnded(bRemoval, FALSE, reason.empty() ? nullptr : reason.c_str());
        };
    }

    PrivateDesktop m_desktop;
    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardFailure, DescriptionSaysWhatFailedThenHowToClose) {
    for (BOOL removal : {FALSE, TRUE}) {
        WizardDialog wizard(m_folder.Path().c_str(), removal, nullptr);
        WizardScript script(wizard);
        script.Do([removal](WizardDialog&, HWND window) {
            PostProgress(window, removal ? SP_REMOVE_BEGIN : SP_INSTALL_BEGIN);
        });
        script.Do(Fail(removal, kReason));
        script.Do([removal](WizardDialog& dialog, HWND window) {
            EXPECT_EQ(dialog.GetState(), WizardDialog::State::kFailed);
            EXPECT_EQ(Look(window, IDC_HEADING).text,
                      removal ? L"Removal failed" : L"Installation failed");
            EXPECT_EQ(Look(window, IDC_DESCRIPTION).text,
                      std::wstring(kReason) + L"\r\n" + kClickFinish);
            EXPECT_EQ(ProgressPos(window), 40) << "the bar stays where the work stopped";
            EXPECT_EQ(FocusedId(window), IDOK);
            EXPECT_EQ(DefaultId(window), IDOK);
            EndDialog(window, IDCANCEL);
        });
        script.Run();
    }
}

TEST_F(WizardFailure, WithoutAReasonTheGenericTextShows) {
    for (const wchar_t* reason : {static_cast<const wchar_t*>(nullptr), L""}) {
        WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
        WizardScript script(wizard);
        script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
        script.Do([reason](WizardDialog& dialog, HWND window) {
            KillTimer(window, IDT_PROGRESS);
            dialog.ShowWorkEnded(FALSE, FALSE, reason);
        });
        script.Do([](WizardDialog&, HWND window) {
            EXPECT_EQ(Look(window, IDC_HEADING).text, L"Installation failed");
            EXPECT_EQ(Look(window, IDC_DESCRIPTION).text, kClickFinish);
            EndDialog(window, IDCANCEL);
        });
        script.Run();
    }
}

// A reason longer than the description's four lines, with a path longer than a line: cut, ending
// in "...", and inside the box.
TEST_F(WizardFailure, LongReasonIsCutToTheDescriptionsBox) {
    std::wstring reason = L"Cannot copy C:\\Setup\\Application\\";
    for (int i = 0; i < 12; ++i)
        reason += L"VeryLongFolderNameWithoutSpaces\\";
    reason += L"DIVodeZivar.exe (error 5: Access is denied.)";
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
    script.Do(Fail(FALSE, reason));
    script.Do([&reason](WizardDialog&, HWND window) {
        const std::wstring shown = Look(window, IDC_DESCRIPTION).text;
        ASSERT_GT(shown.size(), 40u);
        EXPECT_EQ(shown.substr(0, 40), reason.substr(0, 40));
        EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
        const RECT box = PlaceOf(window, IDC_DESCRIPTION);
        const SIZE needed = NeededByDescription(window);
        EXPECT_LE(needed.cx, box.right - box.left);
        EXPECT_LE(needed.cy, box.bottom - box.top);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

TEST_F(WizardFailure, BarTurnsRedWhereTheWorkStopped) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    int redWhileRunning = -1;
    script.Do([](WizardDialog&, HWND window) { PostProgress(window, SP_INSTALL_BEGIN); });
    script.Do([&redWhileRunning](WizardDialog&, HWND window) {
        KillTimer(window, IDT_PROGRESS);
        SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 40, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        redWhileRunning = Capture(window).Count(PlaceOf(window, IDC_PROGRESS), IsRed);
    });
    script.Do(Fail(FALSE, kReason));
    script.Do([](WizardDialog&, HWND window) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    script.Do([](WizardDialog&, HWND window) {
        const RECT bar = PlaceOf(window, IDC_PROGRESS);
        const int width = bar.right - bar.left;
        const Pixels screen = Capture(window);
        const RECT filled = {bar.left, bar.top, bar.left + width * 35 / 100, bar.bottom};
        const RECT empty = {bar.left + width * 45 / 100, bar.top, bar.right, bar.bottom};
        EXPECT_GT(screen.Count(filled, IsRed), (filled.right - filled.left) * 10);
        EXPECT_EQ(screen.Count(empty, IsRed), 0);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
    EXPECT_EQ(redWhileRunning, 0);
}

} // namespace

// The wizard's skin on screen: size and place of the window, its shape, the places of its
// controls, the painted texts; and a usable window when the background bitmap is missing.
#include "wizard_harness.h"

#include "unit/controls/pixels.h"

#include "framework/win_app.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wizard_testing;
using testing_support::Capture;
using testing_support::Pixels;
using testing_support::TempFolder;

namespace {

bool IsDarkRed(COLORREF colour) {
    return GetRValue(colour) >= 60 && GetRValue(colour) <= 110 && GetGValue(colour) < 30 &&
           GetBValue(colour) < 30;
}
bool IsWhite(COLORREF colour) {
    return colour == RGB(255, 255, 255);
}
bool IsLight(COLORREF colour) {
    return GetRValue(colour) > 200 && GetGValue(colour) > 200 && GetBValue(colour) > 200;
}

RECT ClientRectOf(HWND window, int id) {
    RECT rect = {};
    HWND control = GetDlgItem(window, id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectPlace(HWND window, int id, int x, int y, int width, int height) {
    const RECT rect = ClientRectOf(window, id);
    EXPECT_EQ(rect.left, x) << "control " << id;
    EXPECT_EQ(rect.top, y) << "control " << id;
    EXPECT_EQ(rect.right - rect.left, width) << "control " << id;
    EXPECT_EQ(rect.bottom - rect.top, height) << "control " << id;
}

class WizardSkin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()); }

    LanguageLibrary m_language{L"ENU"};
    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardSkin, WindowHasTheSkinsSizeCentredOnTheScreen) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 220);
        EXPECT_EQ(rect.top, 179);
        EXPECT_EQ(rect.right - rect.left, 584);
        EXPECT_EQ(rect.bottom - rect.top, 411);
        RECT client = {};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 584) << "no frame: the client area is the whole bitmap";
        EXPECT_EQ(client.bottom, 411);
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(WizardSkin, ShapeLeavesOutTheCorners) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        CRgn shape;
        shape.CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(GetWindowRgn(window, shape), COMPLEXREGION);
        int outside = 0;
        for (int y = 0; y < 411; ++y)
            for (int x = 0; x < 584; ++x)
                outside += PtInRegion(shape, x, y) ? 0 : 1;
        EXPECT_EQ(outside, 71);
        EXPECT_FALSE(PtInRegion(shape, 0, 0));
        EXPECT_FALSE(PtInRegion(shape, 583, 410));
        EXPECT_TRUE(PtInRegion(shape, 292, 0));
        EXPECT_TRUE(PtInRegion(shape, 0, 205));
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

TEST_F(WizardSkin, ControlsArePlacedInPixels) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        ExpectPlace(window, IDC_TITLE, 14, 7, 524, 18);
        ExpectPlace(window, IDC_HEADING, 35, 55, 514, 35);
        ExpectPlace(window, IDC_DESCRIPTION, 200, 170, 354, 60);
        ExpectPlace(window, IDC_CLOSE, 552, 11, 20, 17);
        ExpectPlace(window, IDC_ACTION, 312, 380, 111, 22);
        ExpectPlace(window, IDOK, 312, 380, 111, 22);
        ExpectPlace(window, IDCANCEL, 451, 380, 111, 22);
        ExpectPlace(window, IDC_PROGRESS, 205, 235, 339, 30);
        const RECT check = ClientRectOf(window, IDC_LAUNCH);
        EXPECT_EQ(check.left, 200);
        EXPECT_EQ(check.top, 235);
        EXPECT_EQ(check.right, 554) << "its text's room ends with the description's";
        EXPECT_EQ(check.bottom - check.top, 28) << "the glyph's height and 4";
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

TEST_F(WizardSkin, TitleIsDarkRedOnLightAndHeadingWhite) {
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    script.Do([](WizardDialog&, HWND window) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    script.Do([](WizardDialog&, HWND window) {
        const Pixels capture = Capture(window);
        ASSERT_EQ(capture.width, 584);
        const RECT title = {14, 7, 538, 22};
        const RECT titleRest = {420, 7, 538, 22}; // beyond the caption's end
        const RECT heading = {35, 55, 549, 90};
        const RECT belowHeading = {200, 110, 560, 165};
        EXPECT_GT(capture.Count(title, IsDarkRed), 60);
        EXPECT_EQ(capture.Count(titleRest, IsDarkRed), 0);
        EXPECT_GT(capture.Count({560, 24, 580, 34}, IsLight), 100) << "light title band";
        EXPECT_GT(capture.Count(heading, IsWhite), 60);
        EXPECT_EQ(capture.Count(belowHeading, IsWhite), 0);
        EXPECT_EQ(capture.Count(heading, IsDarkRed), 0);
        EndDialog(window, IDCANCEL);
    });
    script.Run();
}

// A copy of the built setup.exe whose background bitmap cannot be loaded, as the resource
// module. Its data becomes four zero bytes: Wine's UpdateResource does not delete resources.
class WithoutBackground {
public:
    explicit WithoutBackground(const TempFolder& folder) {
        const std::wstring copy = folder / L"skinless.exe";
        const std::wstring original = testing_support::DistFolder() + L"setup.exe";
        if (!CopyFileW(original.c_str(), copy.c_str(), FALSE))
            return;
        HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
        if (update == nullptr)
            return;
        char broken[4] = {};
        const BOOL removed =
            UpdateResourceW(update, RT_BITMAP, MAKEINTRESOURCEW(IDB_BACKGROUND),
                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), broken, sizeof(broken));
        if (!EndUpdateResourceW(update, !removed) || !removed)
            return;
        m_module = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        m_app.m_hInstance = m_module;
    }
    ~WithoutBackground() {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    bool Ready() const { return m_module != nullptr; }

private:
    CWinApp m_app;
    HMODULE m_module = nullptr;
};

TEST_F(WizardSkin, MissingBackgroundIsReportedAndLeavesAUsableWindow) {
    TempFolder resources;
    WithoutBackground skinless(resources);
    ASSERT_TRUE(skinless.Ready());
    {
        CBitmap probe;
        ASSERT_FALSE(probe.LoadBitmap(IDB_BACKGROUND)) << "the copy still has its background";
        ASSERT_TRUE(probe.LoadBitmap(IDB_BUTTON_NORMAL));
    }
    WizardDialog wizard(m_folder.Path().c_str(), FALSE, nullptr);
    WizardScript script(wizard);
    HWND wizardWindow = nullptr;
    script.Do([&wizardWindow](WizardDialog&, HWND window) {
        wizardWindow = window;
        RECT templateRect = {0, 0, 287, 179};
        MapDialogRect(window, &templateRect);
        RECT rect = {};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.right - rect.left, templateRect.right);
        EXPECT_EQ(rect.bottom - rect.top, templateRect.bottom);
        CRgn shape;
        shape.CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(window, shape), ERROR) << "no shape without the skin";
        RECT client = {};
        GetClientRect(window, &client);
        for (int id : {IDC_ACTION, IDCANCEL, IDC_CLOSE}) {
            const RECT place = ClientRectOf(window, id);
            EXPECT_TRUE(Look(window, id).visible) << id;
            EXPECT_GE(place.left, 0) << id;
            EXPECT_GE(place.top, 0) << id;
            EXPECT_LE(place.right, client.right) << id;
            EXPECT_LE(place.bottom, client.bottom) << id;
        }
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], L"Error loading bitmap");
    EXPECT_EQ(m_boxes.Owners()[0], wizardWindow) << "the box belongs to the wizard";
}

} // namespace

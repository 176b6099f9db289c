// Every text of the wizard inside its box, in the thirteen languages and in every state, at the
// display's dpi of the test's prefix (win32@96dpi, win32@120dpi, win32@144dpi): each control's
// text measured in the font the control draws it with, against the control's own size. The
// wizard in the longest languages is saved in every state as a screenshot (BMP files beside the
// test program, in screenshots\<dpi>dpi\).
#include "wizard_harness.h"

#include "unit/controls/pixels.h"

#include "res/resource.h"
#include "ui/setup_progress.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace wizard_testing;
using testing_support::Pixels;
using testing_support::TempFolder;

namespace {

const wchar_t* const kLanguages[] = {L"ENU", L"CHT", L"CHS", L"JPN", L"KOR", L"FRA", L"DEU",
                                     L"ITA", L"RUS", L"ESN", L"SVE", L"NLD", L"PTB"};
// The longest texts: German and Russian among the alphabets, Japanese among the others; and
// English, the fallback language.
const wchar_t* const kScreenshotLanguages[] = {L"DEU", L"RUS", L"JPN", L"ENU"};
const wchar_t kReason[] = L"Cannot copy DIVodeZivar.exe to C:\\Program Files (x86)\\BRONDL "
                          L"(error 5: Access is denied.)";
const int kFaceBorder = 5; // a push face's border, kept unstretched around the text

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

SIZE ClientSize(HWND control) {
    RECT client = {};
    GetClientRect(control, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// Measures texts in one font on the screen.
class Measure {
public:
    explicit Measure(HFONT font) : m_dc(GetDC(nullptr)), m_previous(SelectObject(m_dc, font)) {}
    ~Measure() {
        SelectObject(m_dc, m_previous);
        ReleaseDC(nullptr, m_dc);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    // The size text needs when drawn with format (multi-line formats wrap within width).
    SIZE Needed(const std::wstring& text, UINT format, int width) const {
        RECT rect = {0, 0, width, 0};
        const int height = DrawTextW(m_dc, text.c_str(), -1, &rect, format | DT_CALCRECT);
        return {rect.right - rect.left, height};
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// What of the visible texts does not fit its control, as lines for the test's message.
std::vector<std::string> ClippedTexts(HWND window) {
    std::vector<std::string> clipped;
    auto check = [&clipped](int id, const std::wstring& text, SIZE needed, SIZE room) {
        if (needed.cx > room.cx || needed.cy > room.cy)
            clipped.push_back("control " + std::to_string(id) + " \"" + Narrow(text) + "\" needs " +
                              std::to_string(needed.cx) + "x" + std::to_string(needed.cy) +
                              ", has " + std::to_string(room.cx) + "x" + std::to_string(room.cy));
    };
    for (int id : {IDC_TITLE, IDC_HEADING, IDC_DESCRIPTION}) {
        const HWND control = GetDlgItem(window, id);
        auto* label = dynamic_cast<CTextLabelCtrl*>(CWnd::FromHandle(control));
        const std::wstring text = Look(window, id).text;
        if (!IsWindowVisible(control) || label == nullptr || text.empty())
            continue;
        const SIZE room = ClientSize(control);
        Measure measure(label->GetLabelFont());
        check(id, text, measure.Needed(text, label->TextFormat(text.c_str()), room.cx), room);
    }
    // The buttons and the checkbox draw in the dialog's font, one line each.
    Measure measure(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    for (int id : {IDC_ACTION, IDOK, IDCANCEL}) {
        const HWND control = GetDlgItem(window, id);
        const std::wstring text = Look(window, id).text;
        if (!IsWindowVisible(control) || text.empty())
            continue;
        const SIZE size = ClientSize(control);
        const SIZE room = {size.cx - 2 * kFaceBorder, size.cy};
        check(id, text, measure.Needed(text, DT_SINGLELINE, room.cx), room);
    }
    const HWND launch = GetDlgItem(window, IDC_LAUNCH);
    const std::wstring launchText = Look(window, IDC_LAUNCH).text;
    if (IsWindowVisible(launch) && !launchText.empty()) {
        CBitmap glyph;
        BITMAP glyphSize = {};
        glyph.LoadBitmap(IDB_CHECK_OFF);
        glyph.GetBitmap(&glyphSize);
        const SIZE size = ClientSize(launch);
        const SIZE room = {size.cx - glyphSize.bmWidth - 4, size.cy};
        SIZE needed = measure.Needed(launchText, DT_SINGLELINE, room.cx);
        needed.cy += 1; // the checkbox draws its text one pixel higher than the line
        check(IDC_LAUNCH, launchText, needed, room);
    }
    return clipped;
}

// The dpi the test's prefix was made for (its kind ends in @<dpi>dpi), or 0.
int PrefixDpi() {
    const std::wstring kind = testing_support::GetEnv(L"SETUP_TEST_PREFIX");
    const size_t at = kind.find(L'@');
    return at == std::wstring::npos ? 0 : _wtoi(kind.c_str() + at + 1);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool SaveBitmap(const Pixels& pixels, const std::wstring& path) {
    const int stride = (pixels.width * 3 + 3) & ~3;
    std::string bytes(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER), '\0');
    auto* file = reinterpret_cast<BITMAPFILEHEADER*>(&bytes[0]);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[sizeof(BITMAPFILEHEADER)]);
    file->bfType = 0x4D42;
    file->bfOffBits = static_cast<DWORD>(bytes.size());
    file->bfSize = static_cast<DWORD>(bytes.size() + static_cast<size_t>(stride) * pixels.height);
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = pixels.width;
    info->biHeight = pixels.height; // bottom-up
    info->biPlanes = 1;
    info->biBitCount = 24;
    for (int y = pixels.height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF colour = pixels.At(x, y);
            row[static_cast<size_t>(3 * x)] = static_cast<char>(GetBValue(colour));
            row[static_cast<size_t>(3 * x + 1)] = static_cast<char>(GetGValue(colour));
            row[static_cast<size_t>(3 * x + 2)] = static_cast<char>(GetRValue(colour));
        }
        bytes += row;
    }
    return testing_support::WriteBytes(path, bytes);
}

class WizardScaling : public ::testing::Test {
protected:
    void SetUp() override {
        const int dpi = PrefixDpi();
        if (dpi != 0) {
            ASSERT_EQ(ScreenDpi(), dpi) << "the prefix's display dpi";
        }
    }

    // Plays both ends of the work in one language and mode: ready, in progress, then finished
    // (first run) or failed with a reason (second run). look() runs in every state.
    void PlayStates(const wchar_t* language, BOOL bUninstall,
                    const std::function<void(HWND, const char*)>& look) {
        LanguageLibrary library(language);
        ASSERT_TRUE(library.Loaded());
        for (bool failing : {false, true}) {
            WizardDialog wizard(m_folder.Path().c_str(), bUninstall, nullptr);
            WizardScript script(wizard);
            auto lookAt = [&look](const char* state) {
                return [&look, state](WizardDialog&, HWND window) { look(window, state); };
            };
            auto paint = [](WizardDialog&, HWND window) {
                RedrawWindow(window, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            };
            if (!failing) {
                script.Do(paint).Do(lookAt("ready"));
            }
            script.Do([bUninstall](WizardDialog&, HWND window) {
                PostProgress(window, bUninstall ? SP_REMOVE_BEGIN : SP_INSTALL_BEGIN);
            });
            script.Do([](WizardDialog&, HWND window) {
                KillTimer(window, IDT_PROGRESS);
                SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETPOS, 60, 0);
            });
            if (!failing) {
                script.Do(paint).Do(lookAt("in-progress"));
                script.Do([bUninstall](WizardDialog& dialog, HWND) {
                    dialog.ShowWorkEnded(bUninstall, TRUE, nullptr);
                });
                script.Do(paint).Do(lookAt("finished"));
            } else {
                script.Do([bUninstall](WizardDialog& dialog, HWND) {
                    dialog.ShowWorkEnded(bUninstall, FALSE, kReason);
                });
                script.Do(paint).Do(lookAt("failed"));
            }
            script.Do([](WizardDialog&, HWND window) { EndDialog(window, IDCANCEL); });
            EXPECT_EQ(script.Run(), IDCANCEL);
        }
    }

    MessageBoxRecorder m_boxes;
    TempFolder m_folder;
};

TEST_F(WizardScaling, EveryTextFitsItsBoxInEveryLanguageAndState) {
    for (const wchar_t* language : kLanguages) {
        for (BOOL uninstall : {FALSE, TRUE}) {
            PlayStates(language, uninstall, [language, uninstall](HWND window, const char* state) {
                for (const std::string& clipped : ClippedTexts(window))
                    ADD_FAILURE() << Narrow(language) << (uninstall ? " removal " : " install ")
                                  << state << ": " << clipped;
            });
        }
    }
}

TEST_F(WizardScaling, ScreenshotsOfTheLongestLanguages) {
    const std::wstring folder = testing_support::ThisProgramFolder() + L"screenshots\\" +
                                std::to_wstring(ScreenDpi()) + L"dpi\\";
    for (const wchar_t* language : kScreenshotLanguages) {
        for (BOOL uninstall : {FALSE, TRUE}) {
            PlayStates(language, uninstall, [&](HWND window, const char* state) {
                const std::wstring name = std::wstring(L"wizard-") + language +
                                          (uninstall ? L"-removal-" : L"-install-") +
                                          std::wstring(state, state + strlen(state)) + L".bmp";
                EXPECT_TRUE(SaveBitmap(testing_support::Capture(window), folder + name))
                    << Narrow(name);
            });
        }
    }
}

} // namespace

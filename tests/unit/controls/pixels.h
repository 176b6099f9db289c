// Helpers of the controls' tests: a parent window that records what its children tell it, and
// reading back what a window shows (BitBlt from its DC into a DIB section).
#pragma once

#include "framework/framework.h"

#include <functional>
#include <vector>

namespace testing_support {

// The client area of a window as it is on the screen.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours; // row by row, top row first

    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y * width + x)]; }
    // Smallest rectangle holding every pixel that matches; empty when none does.
    RECT BoundsOf(const std::function<bool(COLORREF)>& match) const;
    int Count(const std::function<bool(COLORREF)>& match) const;
    // The same within area (inside the picture).
    int Count(const RECT& area, const std::function<bool(COLORREF)>& match) const;
};

Pixels Capture(HWND window);

// The colour of pixel (x, y) of a coded test face with the given blue channel.
inline COLORREF FaceColour(int x, int y, int blue) {
    return RGB(x * 8, y * 10, blue);
}
inline bool IsGrey(COLORREF colour) {
    return GetRValue(colour) == GetGValue(colour) && GetGValue(colour) == GetBValue(colour);
}

// A visible top-level window for the controls under test; it records the notifications of its
// children and what a callback reads at that moment.
class TestParent : public CWnd {
public:
    explicit TestParent(const RECT& rect = {0, 0, 1010, 400});
    ~TestParent() override;

    std::vector<WORD> clickedIds;
    std::vector<NMHDR> notifications;
    std::function<void()> onClicked;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// Runs the message loop until done() or about maxMs milliseconds passed.
void PumpMessagesUntil(const std::function<bool()>& done, DWORD maxMs);

// Number of live GDI objects of this process where the system counts them (GetGuiResources);
// where it does not (Wine), the high-water mark of the GDI handle table: allocating a batch of
// objects shows how far the table had to grow, and a leak makes it grow. -1 when the table is
// full.
long GdiObjectMeasure();

} // namespace testing_support

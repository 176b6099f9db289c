// Times the two ways of building the wizard's window region from its 584x411 skin: pixel by
// pixel through GetPixel, and from one read of the bitmap's bits.
//
//   region_bench.exe SETUP-EXE RUNS
//
// Prints "per-pixel-ms: T", "bits-ms: T" (medians) and "equal: yes|no".
#include "ui/window_region.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr int kBackgroundBitmapId = 130;

template <typename Build> double MedianMilliseconds(Build build, int runs, CRgn* last) {
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER started, ended;
        QueryPerformanceCounter(&started);
        CRgn region = build();
        QueryPerformanceCounter(&ended);
        times.push_back(1000.0 * static_cast<double>(ended.QuadPart - started.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        *last = std::move(region);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: region_bench.exe SETUP-EXE RUNS\n", stderr);
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[2]));
    HMODULE program = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP skin =
        program ? static_cast<HBITMAP>(LoadImageW(program, MAKEINTRESOURCEW(kBackgroundBitmapId),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                : nullptr;
    if (skin == nullptr) {
        std::fputs("the skin bitmap could not be loaded\n", stderr);
        return 1;
    }
    CRgn perPixel, fromBits;
    const double perPixelMs = MedianMilliseconds(
        [&] { return CreateRegionPerPixel(skin, kSkinKeyColor); }, runs, &perPixel);
    const double bitsMs = MedianMilliseconds(
        [&] { return CreateRegionFromBitmap(skin, kSkinKeyColor); }, runs, &fromBits);
    const bool equal = EqualRgn(perPixel.GetSafeHandle(), fromBits.GetSafeHandle()) != FALSE;
    std::printf("per-pixel-ms: %.2f\nbits-ms: %.3f\nequal: %s\n", perPixelMs, bitsMs,
                equal ? "yes" : "no");
    DeleteObject(skin);
    FreeLibrary(program);
    return equal ? 0 : 1;
}

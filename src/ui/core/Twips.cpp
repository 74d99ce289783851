#include "ui/core/Twips.h"

#include <windows.h>

namespace tolvane::ui {
namespace {

int DeviceCaps(int index) {
    HDC dc = GetDC(nullptr);
    int value = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    return value > 0 ? value : 96;
}

int Scale(int value, int numerator, int denominator) {
    return MulDiv(value, numerator, denominator);
}

}  // namespace

int ScreenDpiX() { return DeviceCaps(LOGPIXELSX); }
int ScreenDpiY() { return DeviceCaps(LOGPIXELSY); }
int TwipsToPixelsX(int twips) { return Scale(twips, ScreenDpiX(), 1440); }
int TwipsToPixelsY(int twips) { return Scale(twips, ScreenDpiY(), 1440); }
int PixelsToTwipsX(int pixels) { return Scale(pixels, 1440, ScreenDpiX()); }
int PixelsToTwipsY(int pixels) { return Scale(pixels, 1440, ScreenDpiY()); }
int ScreenWidthTwips() { return PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int ScreenHeightTwips() { return PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace tolvane::ui

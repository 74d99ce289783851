#include "Screenshot.h"

#include <cstdlib>
#include <fstream>

#include "UiDriver.h"

namespace tolvane::testing {
namespace {

BITMAPINFOHEADER TopDown32(int width, int height) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    return info;
}

}  // namespace

WindowPixels GrabWindow(HWND window) {
    WindowPixels grab;
    RECT rc{};
    if (!GetWindowRect(window, &rc)) return grab;
    grab.width = rc.right - rc.left;
    grab.height = rc.bottom - rc.top;
    if (grab.width <= 0 || grab.height <= 0) return WindowPixels{};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, grab.width, grab.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info = TopDown32(grab.width, grab.height);
    grab.pixels.resize(static_cast<size_t>(grab.width) * grab.height);
    GetDIBits(memory, bitmap, 0, grab.height, grab.pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return grab;
}

bool CaptureWindow(HWND window, const std::string& name) {
    const char* folder = std::getenv("TOLVANE_SCREENSHOTS");
    if (!folder || !*folder || !window) return false;
    // In front of everything else, and done painting, before its pixels are read.
    BringToFront(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    WindowPixels grab = GrabWindow(window);
    if (grab.pixels.empty()) return false;
    // The screen gives no alpha; picture readers would take the zero as clear.
    for (DWORD& p : grab.pixels) p |= 0xFF000000;

    const BITMAPINFOHEADER info = TopDown32(grab.width, grab.height);
    const DWORD bytes = static_cast<DWORD>(grab.pixels.size() * sizeof(DWORD));
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    std::ofstream out(std::string(folder) + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(grab.pixels.data()), bytes);
    return static_cast<bool>(out);
}

}  // namespace tolvane::testing

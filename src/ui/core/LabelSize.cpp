#include "ui/core/LabelSize.h"

#include <algorithm>
#include <string>

namespace tolvane {

void AutoSizeLabel(HWND label) {
    const int n = GetWindowTextLengthW(label);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(label, text.data(), n + 1);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), n, &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    // Bold and italic faces reach past the advance widths by the overhang.
    const int width = size.cx + metrics.tmOverhang;
    const int height = std::max<int>(size.cy, metrics.tmHeight);
    SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tolvane

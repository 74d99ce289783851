#include "ui/core/WindowPlacement.h"

#include <chrono>
#include <random>

#include "ui/core/Twips.h"
#include "ui/core/rules/PlacementRules.h"

namespace tolvane {
namespace {

void Animate(HWND form, const RECT& source, const RECT& target) {
    // A failed animation only means nothing is seen.
    DrawAnimatedRects(form, IDANI_CAPTION, &source, &target);
}

}  // namespace

void CenterForm(HWND form) {
    RECT r{};
    GetWindowRect(form, &r);
    const placement::Point p =
        placement::CenterPosition(ui::ScreenWidthTwips(), ui::ScreenHeightTwips(),
                                  ui::PixelsToTwipsX(r.right - r.left), ui::PixelsToTwipsY(r.bottom - r.top));
    SetWindowPos(form, nullptr, ui::TwipsToPixelsX(p.x), ui::TwipsToPixelsY(p.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AnimateOpen(HWND form) {
    RECT target{};
    GetWindowRect(form, &target);
    const RECT source{target.right, target.bottom, target.left, target.top};
    Animate(form, source, target);
}

void AnimateClose(HWND form) {
    RECT source{};
    GetWindowRect(form, &source);
    // A fresh seed for every close, so the corner differs from run to run.
    std::random_device device;
    std::seed_seq seed{device(), static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count())};
    std::mt19937 engine(seed);
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    const placement::Point corner = placement::ScreenCorner(
        placement::CornerFromDraw(r), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const RECT target{corner.x, corner.y, corner.x, corner.y};
    Animate(form, source, target);
}

std::wstring ComputerName() {
    wchar_t buffer[256] = {};
    DWORD size = 255;
    if (!GetComputerNameW(buffer, &size)) return L"????????";
    return std::wstring(buffer);
}

}  // namespace tolvane

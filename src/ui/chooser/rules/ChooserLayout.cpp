#include "ui/chooser/rules/ChooserLayout.h"

#include <algorithm>

namespace tolvane::chooser {
namespace {

long long FloorDivide(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

constexpr int kRowStep = 1260;   // one row of list height
constexpr int kRowOffset = 650;  // heights from 650 + 1260 n on snap to row n
constexpr int kFrameHeight = 1200;

}  // namespace

int DivideRoundHalfEven(long long a, long long b) {
    const long long q = FloorDivide(a, b);
    const long long twiceRest = 2 * (a - q * b);  // 0 <= rest < b
    if (twiceRest > b || (twiceRest == b && (q % 2 != 0))) return static_cast<int>(q + 1);
    return static_cast<int>(q);
}

int SnapWindowHeight(int height) {
    const long long n = FloorDivide(static_cast<long long>(height) - kRowOffset, kRowStep);
    return static_cast<int>(kRowStep * n + kFrameHeight);
}

ChooserLayout ComputeChooserLayout(int width, int height, ChooserMode mode) {
    ChooserLayout l;
    const int W = std::max(width, kMinWindowWidth);
    const int H = SnapWindowHeight(std::max(height, kMinWindowHeight));
    l.windowWidth = W;
    l.windowHeight = H;
    l.listHeight = H - kFrameHeight;

    // W / 6 + 1430 with the halves going to the even neighbour.
    const int w = DivideRoundHalfEven(static_cast<long long>(W) + 6LL * 1430, 6);
    l.driveWidth = w;
    l.dirWidth = w;
    l.linkLeft = w + 105;
    l.fileLeft = kListLeft + l.dirWidth + 30;
    l.fileWidth = W - l.fileLeft - 150;
    l.fileNameWidth = W - kListLeft - kButtonWidth - kButtonWidth - 175 - 200;
    l.buttonsTop = H - 675 - 120;
    l.okLeft = W - kButtonWidth - kButtonWidth - 200;
    l.cancelLeft = W - kButtonWidth - 175;

    l.panelWidth = W - 300;
    l.nameBoxWidth = l.panelWidth - 150;
    l.pathLabelWidth = l.panelWidth - 150;
    l.pathLabelHeight = l.listHeight - 850;
    l.panelLeft = DivideRoundHalfEven(W - l.panelWidth, 2) - 65;
    l.panelTop = DivideRoundHalfEven(H - l.listHeight, 2) - 500;
    // Written against the panel's own top, so it lands 470 above the panel's foot.
    l.nameBoxTop = l.panelTop + l.listHeight - 450 - 120;
    l.captionTop = l.nameBoxTop - 200 - 120;

    if (mode == ChooserMode::Folder) {
        l.driveWidth = W - kLinkBarWidth;
        l.linkLeft = l.driveWidth + 105;
        l.dirWidth = W - 200;
    }
    return l;
}

}  // namespace tolvane::chooser

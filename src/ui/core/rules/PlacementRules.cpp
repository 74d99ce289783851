#include "ui/core/rules/PlacementRules.h"

namespace tolvane::placement {

Point CenterPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2};
}

int CornerFromDraw(double r) {
    int n = static_cast<int>(r * 4) + 1;
    // A draw of exactly 1 (or a hair above) is outside the range; keep it a corner.
    if (n < 1) n = 1;
    if (n > 4) n = 4;
    return n;
}

Point ScreenCorner(int corner, int screenWidth, int screenHeight) {
    switch (corner) {
    case 2: return {screenWidth, 0};
    case 3: return {0, screenHeight};
    case 4: return {screenWidth, screenHeight};
    default: return {0, 0};
    }
}

}  // namespace tolvane::placement

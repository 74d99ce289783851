#pragma once
// Where windows go: the centre of the screen, and the corner a closing window
// shrinks into. Twips for placement, pixels for the animation.
namespace tolvane::placement {

struct Point {
    int x;
    int y;
};

// Top-left corner, in twips, that centres a window on the whole screen.
// A window larger than the screen gets a negative position.
Point CenterPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The corner 1..4 for a draw r with 0 <= r < 1, each with equal chance.
int CornerFromDraw(double r);

// Corner 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right of a screen
// of this size in pixels.
Point ScreenCorner(int corner, int screenWidth, int screenHeight);

}  // namespace tolvane::placement

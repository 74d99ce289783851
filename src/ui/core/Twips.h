#pragma once
// Layouts are written in twips (1/1440 inch); the screen's real density turns
// them into pixels, so windows keep their designed size on dense screens.
namespace tolvane::ui {

int ScreenDpiX();
int ScreenDpiY();
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
// Screen size in twips, over the whole screen (task bars included).
int ScreenWidthTwips();
int ScreenHeightTwips();

}  // namespace tolvane::ui

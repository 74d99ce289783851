#pragma once
// Where the chooser's controls go for a given outer window size, in twips.
// Pure arithmetic, so it can be checked without a window.
#include "ui/chooser/rules/ChooserRequest.h"

namespace tolvane::chooser {

// Rounds a / b to the nearest integer, a tie going to the even neighbour
// (b > 0).
int DivideRoundHalfEven(long long a, long long b);

// The fixed sizes the arithmetic uses.
constexpr int kMinWindowWidth = 4440;
constexpr int kMinWindowHeight = 2500;
constexpr int kListLeft = 45;         // Drive1, Dir1 and txtFileName
constexpr int kButtonWidth = 750;     // cmdOK and cmdCancel
constexpr int kLinkBarWidth = 2070;   // fraLink

// The height the window snaps to from a requested outer height (after the
// minimum has been applied): 1260 n + 1200.
int SnapWindowHeight(int height);

struct ChooserLayout {
    int windowWidth = 0;
    int windowHeight = 0;
    int listHeight = 0;        // Dir1, File1 and fraDir
    int driveWidth = 0;        // Drive1
    int dirWidth = 0;          // Dir1
    int linkLeft = 0;          // fraLink
    int fileLeft = 0;          // File1
    int fileWidth = 0;
    int fileNameWidth = 0;     // txtFileName
    int buttonsTop = 0;        // txtFileName, cmdOK and cmdCancel
    int okLeft = 0;
    int cancelLeft = 0;
    int panelLeft = 0;         // fraDir
    int panelTop = 0;
    int panelWidth = 0;
    int nameBoxWidth = 0;      // txtDir
    int nameBoxTop = 0;        // inside fraDir
    int pathLabelWidth = 0;    // lblFullPath
    int pathLabelHeight = 0;
    int captionTop = 0;        // Label1, inside fraDir
};

// The whole arrangement for a window of outer size width x height; choosing
// a folder widens the drive and folder lists over the file list's place.
ChooserLayout ComputeChooserLayout(int width, int height, ChooserMode mode);

}  // namespace tolvane::chooser

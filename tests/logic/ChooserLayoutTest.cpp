// The chooser's layout arithmetic: snapping heights, the list width with its
// rounding of halves to the even neighbour, and every placement of the
// arrangement the dialog opens with.
#include <gtest/gtest.h>

#include "ui/dialogs/rules/ChooserLayout.h"

namespace tolvane::chooser {
namespace {

TEST(ChooserLayout, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(DivideRoundHalfEven(5, 2), 2);    // 2.5
    EXPECT_EQ(DivideRoundHalfEven(7, 2), 4);    // 3.5
    EXPECT_EQ(DivideRoundHalfEven(7, 3), 2);    // 2.33
    EXPECT_EQ(DivideRoundHalfEven(8, 3), 3);    // 2.67
    EXPECT_EQ(DivideRoundHalfEven(-5, 2), -2);  // -2.5
    EXPECT_EQ(DivideRoundHalfEven(-7, 2), -4);  // -3.5
    EXPECT_EQ(DivideRoundHalfEven(-8, 3), -3);  // -2.67
    EXPECT_EQ(DivideRoundHalfEven(0, 6), 0);
}

TEST(ChooserLayout, ListWidthIsASixthOfTheWindowPlus1430) {
    EXPECT_EQ(ComputeChooserLayout(4455, 4980, 2).dirWidth, 2172);  // 2172.5 goes down to even
    EXPECT_EQ(ComputeChooserLayout(4485, 4980, 2).dirWidth, 2178);  // 2177.5 goes up to even
    EXPECT_EQ(ComputeChooserLayout(4460, 4980, 2).driveWidth, 2173);  // 2173.33
}

TEST(ChooserLayout, HeightsSnapToRowsOf1260) {
    EXPECT_EQ(SnapWindowHeight(4980), 4980);
    EXPECT_EQ(SnapWindowHeight(5505), 4980);
    EXPECT_EQ(SnapWindowHeight(5895), 6240);
    EXPECT_EQ(SnapWindowHeight(4500), 4980);
    EXPECT_EQ(SnapWindowHeight(4429), 3720);  // just below 650 + 1260 * 3
    EXPECT_EQ(SnapWindowHeight(4430), 4980);
    EXPECT_EQ(SnapWindowHeight(5689), 4980);  // just below 1910 + 1260 * 3
    EXPECT_EQ(SnapWindowHeight(5690), 6240);
    EXPECT_EQ(ComputeChooserLayout(6000, 2500, 2).windowHeight, 2460);
}

TEST(ChooserLayout, SmallWindowsSpringBackToTheMinimum) {
    const ChooserLayout l = ComputeChooserLayout(3000, 1000, 2);
    EXPECT_EQ(l.windowWidth, 4440);
    EXPECT_EQ(l.windowHeight, 2460);
    EXPECT_EQ(l.listHeight, 1260);
    EXPECT_EQ(l.dirWidth, 2170);
    EXPECT_EQ(ComputeChooserLayout(4439, 2499, 2).windowWidth, 4440);
    EXPECT_EQ(ComputeChooserLayout(4440, 2499, 2).windowHeight, 2460);
}

TEST(ChooserLayout, OpeningSizeGivesTheWholeArrangement) {
    const ChooserLayout l = ComputeChooserLayout(6000, 4500, 2);
    EXPECT_EQ(l.windowWidth, 6000);
    EXPECT_EQ(l.windowHeight, 4980);
    EXPECT_EQ(l.listHeight, 3780);
    EXPECT_EQ(l.driveWidth, 2430);
    EXPECT_EQ(l.dirWidth, 2430);
    EXPECT_EQ(l.linkLeft, 2535);
    EXPECT_EQ(l.fileLeft, 2505);
    EXPECT_EQ(l.fileWidth, 3345);
    EXPECT_EQ(l.fileNameWidth, 4080);
    EXPECT_EQ(l.buttonsTop, 4185);
    EXPECT_EQ(l.okLeft, 4300);
    EXPECT_EQ(l.cancelLeft, 5075);
    EXPECT_EQ(l.panelWidth, 5700);
    EXPECT_EQ(l.panelLeft, 85);
    EXPECT_EQ(l.panelTop, 100);
    EXPECT_EQ(l.nameBoxWidth, 5550);
    EXPECT_EQ(l.pathLabelWidth, 5550);
    EXPECT_EQ(l.pathLabelHeight, 2930);
    EXPECT_EQ(l.nameBoxTop, 3310);
    EXPECT_EQ(l.captionTop, 2990);
}

TEST(ChooserLayout, FolderModeSpreadsTheListsOverTheWholeWidth) {
    const ChooserLayout l = ComputeChooserLayout(6000, 4500, 1);
    EXPECT_EQ(l.driveWidth, 3930);
    EXPECT_EQ(l.linkLeft, 4035);
    EXPECT_EQ(l.dirWidth, 5800);
    // The rest as in the file modes.
    EXPECT_EQ(l.fileLeft, 2505);
    EXPECT_EQ(l.okLeft, 4300);

    const ChooserLayout wide = ComputeChooserLayout(9000, 3720, 1);
    EXPECT_EQ(wide.driveWidth, 9000 - 2070);
    EXPECT_EQ(wide.linkLeft, 9000 - 2070 + 105);
    EXPECT_EQ(wide.dirWidth, 8800);
}

TEST(ChooserLayout, SecondRunOverItsOwnResultChangesNothing) {
    for (int width : {1000, 4440, 4455, 4485, 6000, 7777, 12000}) {
        for (int height : {0, 2460, 2500, 4500, 5505, 5895, 9999}) {
            for (int mode : {1, 2}) {
                const ChooserLayout first = ComputeChooserLayout(width, height, mode);
                const ChooserLayout second = ComputeChooserLayout(first.windowWidth, first.windowHeight, mode);
                EXPECT_EQ(second.windowWidth, first.windowWidth);
                EXPECT_EQ(second.windowHeight, first.windowHeight);
                EXPECT_EQ(second.listHeight, first.listHeight);
                EXPECT_EQ(second.dirWidth, first.dirWidth);
                EXPECT_EQ(second.nameBoxTop, first.nameBoxTop);
                // The name box always sits 470 above the panel's foot, inside it.
                EXPECT_EQ(first.nameBoxTop, first.listHeight - 470) << width << "x" << height;
                EXPECT_EQ(first.windowHeight - first.listHeight, 1200);
            }
        }
    }
}

}  // namespace
}  // namespace tolvane::chooser

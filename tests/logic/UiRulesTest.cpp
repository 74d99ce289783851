// The windows' rules without a window. The chooser: the layout arithmetic, what OK does
// with a typed name in each mode, the extension taken from the mask, the
// names the new-folder panel accepts, and the lines of the folder list.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/chooser/rules/ChooserLayout.h"
#include "ui/chooser/rules/ChooserRules.h"
#include "ui/chooser/rules/FolderModel.h"
#include "ui/core/rules/PlacementRules.h"
#include "ui/dialogs/rules/MessageBoxRules.h"
#include "ui/dialogs/rules/VersionText.h"

namespace tolvane::chooser {
namespace {

// Minimum sizes, heights snapping to rows of 1260, the list width of a sixth
// of the window plus 1430 with halves going to the even neighbour, and the
// folder mode spreading the lists over the whole width.
TEST(ChooserLayout, SizesSnapListWidthsRoundAndTheMasksExtensionIsAddedUnlessTheNameHasIt) {
    struct Case {
        int width, height, mode;
        int windowWidth, windowHeight, driveWidth, dirWidth, linkLeft;
    };
    const Case cases[] = {
        {6000, 4500, 2, 6000, 4980, 2430, 2430, 2535},
        {3000, 1000, 2, 4440, 2460, 2170, 2170, 2275},  // springs back to the minimum
        {4455, 4980, 2, 4455, 4980, 2172, 2172, 2277},  // 2172.5 goes down to even
        {4485, 4980, 2, 4485, 4980, 2178, 2178, 2283},  // 2177.5 goes up to even
        {6000, 4429, 2, 6000, 3720, 2430, 2430, 2535},  // just below 650 + 1260 * 3
        {6000, 4500, 1, 6000, 4980, 3930, 5800, 4035},
    };
    for (const Case& c : cases) {
        const ChooserLayout l = ComputeChooserLayout(c.width, c.height, ChooserMode(c.mode));
        const auto got = std::make_tuple(l.windowWidth, l.windowHeight, l.driveWidth, l.dirWidth, l.linkLeft);
        EXPECT_EQ(got, std::make_tuple(c.windowWidth, c.windowHeight, c.driveWidth, c.dirWidth, c.linkLeft))
            << c.width << "x" << c.height << " mode " << c.mode;
        EXPECT_EQ(l.listHeight, l.windowHeight - 1200) << c.width << "x" << c.height;
    }
    struct Named {
        const wchar_t *path, *mask, *expected;
    };
    const Named names[] = {
        {L"C:\\w\\list", L"*.clt", L"C:\\w\\list.clt"},
        {L"C:\\w\\list.CLT", L"*.clt", L"C:\\w\\list.CLT"},
        {L"C:\\w\\list.txt", L"*.clt", L"C:\\w\\list.txt.clt"},
        {L"C:\\w\\VB6", L"VB*.EXE", L"C:\\w\\VB6.EXE"},
        {L"C:\\w\\list", L"*.*", L"C:\\w\\list"},
        {L"C:\\w\\list.txt", L"a*.*", L"C:\\w\\list.txt"},
        {L"x.ｃｌｔ", L"*.ＣＬＴ", L"x.ｃｌｔ"},  // full-width letters, to the last
        {L"x.ｃｌｚ", L"*.ＣＬＺ", L"x.ｃｌｚ"},
        {L"x.été", L"*.ÉTÉ", L"x.été"},
    };
    for (const Named& c : names) EXPECT_EQ(ApplyMaskExtension(c.path, c.mask), c.expected) << c.path << " " << c.mask;
}

TEST(ChooserOk, DecisionPerModeAndTheNewFolderNamesLevelsBelowTheCurrentOneRefusingOthers) {
    using V = std::vector<std::wstring>;
    struct Case {
        int mode;
        const wchar_t *folder, *typed, *mask;
        std::set<std::wstring> present;
        OkAction action;
        std::wstring path, message1, message2;
        V asked;  // the existence lookups made
    };
    const std::wstring blank = L"ファイル名が指定されていません";
    const Case cases[] = {
        {2, L"C:\\w", L"a.txt", L"*.txt", {L"C:\\w\\a.txt"}, OkAction::Accept, L"C:\\w\\a.txt", L"", L"", V{L"C:\\w\\a.txt"}},
        {2, L"C:\\w\\", L"a.txt", L"*.txt", {}, OkAction::Warn, L"", L"", L"「a.txt」は存在しません", V{L"C:\\w\\a.txt"}},
        {2, L"C:\\w", L" a.txt", L"*.*", {L"C:\\w\\ a.txt"}, OkAction::Accept, L"C:\\w\\ a.txt", L"", L"", V{L"C:\\w\\ a.txt"}},
        {2, L"C:\\w", L"", L"*.clt", {}, OkAction::Warn, L"", L"", blank, V{}},
        {3, L"C:\\w", L"   ", L"*.clt", {L"C:\\w\\   "}, OkAction::Warn, L"", L"", blank, V{}},
        {4, L"C:\\w", L"   ", L"*.clt", {L"C:\\w\\   "}, OkAction::Warn, L"", L"", blank, V{}},
        // Mode 3 names a file to write: the extension, no existence test.
        {3, L"C:\\w", L"list", L"*.clt", {}, OkAction::Accept, L"C:\\w\\list.clt", L"", L"", V{}},
        {3, L"C:\\w", L"list.txt", L"*.clt", {}, OkAction::Accept, L"C:\\w\\list.txt.clt", L"", L"", V{}},
        // Mode 4 asks about the extended name.
        {4, L"C:\\w", L"list", L"*.clt", {L"C:\\w\\list.clt"}, OkAction::AskOverwrite, L"C:\\w\\list.clt",
         L"「list.clt」は既に存在します", L"既存のファイルを書き換えますか？", V{L"C:\\w\\list.clt"}},
        {4, L"C:\\w", L"other", L"*.clt", {L"C:\\w\\list.clt"}, OkAction::Accept, L"C:\\w\\other.clt", L"", L"",
         V{L"C:\\w\\other.clt"}},
        // Mode 1 takes the folder with its final backslash, and offers to create a missing one.
        {1, L"C:\\out", L"", L"*.*", {L"C:\\out\\"}, OkAction::Accept, L"C:\\out\\", L"", L"", V{L"C:\\out\\"}},
        {1, L"C:\\", L"", L"*.*", {L"C:\\"}, OkAction::Accept, L"C:\\", L"", L"", V{L"C:\\"}},
        {1, L"C:\\out", L"new", L"*.vbp", {L"C:\\out\\"}, OkAction::AskCreate, L"C:\\out\\new\\", L"",
         L"「C:\\out\\new\\」を作成しますか？", V{L"C:\\out\\new\\"}},
        // Other modes take the typed path untested.
        {7, L"C:\\w", L"  *?", L"*.clt", {}, OkAction::Accept, L"C:\\w\\  *?", L"", L"", V{}},
    };
    for (const Case& c : cases) {
        V asked;
        const OkStep s = DecideOk(ChooserMode(c.mode), c.folder, c.typed, c.mask, [&](const std::wstring& p) {
            asked.push_back(p);
            return c.present.count(p) != 0;
        });
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " typed [" << c.typed << "]");
        EXPECT_EQ(s.action, c.action);
        EXPECT_EQ(c.action == OkAction::Warn ? c.path : s.path, c.path);  // a warning's path is not read
        EXPECT_EQ(s.message1, c.message1);
        EXPECT_EQ(s.message2, c.message2);
        EXPECT_EQ(asked, c.asked);
    }
    // The path label shows the name as typed, before the extension.
    const auto none = [](const std::wstring&) { return false; };
    EXPECT_EQ(DecideOk(ChooserMode::NameToWrite, L"C:\\w", L"list.txt", L"*.clt", none).triedPath, L"C:\\w\\list.txt");
    EXPECT_EQ(NewFolderPath(L"C:\\w", L"新しいフォルダ"), L"C:\\w\\新しいフォルダ\\");
    EXPECT_EQ(NewFolderPath(L"C:\\w", L"a\\b"), L"C:\\w\\a\\b\\");
    EXPECT_EQ(NewFolderPath(L"C:\\", L"a\\b\\"), L"C:\\a\\b\\");

    for (const wchar_t* good : {L"新しいフォルダ", L"a\\b", L" x", L"v1.0"})
        EXPECT_EQ(NewFolderNameProblem(good), L"") << good;
    for (const wchar_t* unnamed : {L"", L"   ", L"\\\\"})
        EXPECT_EQ(NewFolderNameProblem(unnamed), L"フォルダ名が指定されていません") << unnamed;
    for (const wchar_t* bad : {L"a<b", L"a>b", L"C:\\x", L"a\"b", L"a/b", L"a|b", L"a?", L"*", L"a\tb"})
        EXPECT_EQ(NewFolderNameProblem(bad), L"フォルダ名に使えない文字が含まれています") << bad;
    for (const wchar_t* bad : {L"..", L"a\\..\\b", L".", L"a\\ \\b", L"..."})
        EXPECT_EQ(NewFolderNameProblem(bad), L"フォルダ名が正しくありません") << bad;
}

// text, path, indent, open
using Line = std::tuple<std::wstring, std::wstring, int, bool>;
std::vector<Line> Lines(const std::vector<FolderEntry>& entries) {
    std::vector<Line> lines;
    for (const FolderEntry& e : entries) lines.emplace_back(e.text, e.path, e.indent, e.open);
    return lines;
}

TEST(ChooserFolderModel, RootsListPathsAndAncestorsOneStepInEachThenSubfoldersSorted) {
    const std::pair<const wchar_t*, const wchar_t*> roots[] = {
        {L"C:\\a\\b", L"C:\\"}, {L"z:", L"z:\\"}, {L"\\\\srv\\share\\x", L"\\\\srv\\share\\"},
        {L"\\\\srv\\share", L"\\\\srv\\share\\"}, {L"\\\\srv", L""}, {L"\\\\srv\\\\x", L""}, {L"a\\b", L""}, {L"1:\\", L""},
    };
    for (const auto& [path, root] : roots) EXPECT_EQ(FolderRoot(path), root) << path;
    const std::pair<const wchar_t*, const wchar_t*> kept[] = {
        {L"C:\\a\\b\\", L"C:\\a\\b"}, {L"C:\\a\\\\b", L"C:\\a\\b"}, {L"C:\\", L"C:\\"},
        {L"C:", L"C:\\"}, {L"\\\\srv\\share\\d\\", L"\\\\srv\\share\\d"},
    };
    for (const auto& [path, listed] : kept) EXPECT_EQ(ListPath(path), listed) << path;
    EXPECT_EQ(FolderLevels(L"C:\\作業\\b\\"), (std::vector<std::wstring>{L"作業", L"b"}));
    EXPECT_EQ(Lines(BuildFolderEntries(L"C:\\work\\src", {L"zeta", L"Alpha", L"Beta", L"alpha"})),
              (std::vector<Line>{{L"C:\\", L"C:\\", 0, true}, {L"work", L"C:\\work", 1, true},
                                 {L"src", L"C:\\work\\src", 2, true}, {L"Alpha", L"C:\\work\\src\\Alpha", 3, false},
                                 {L"alpha", L"C:\\work\\src\\alpha", 3, false},
                                 {L"Beta", L"C:\\work\\src\\Beta", 3, false}, {L"zeta", L"C:\\work\\src\\zeta", 3, false}}));
    EXPECT_EQ(CurrentEntryIndex(L"C:\\work\\src"), 2);

    EXPECT_EQ(Lines(BuildFolderEntries(L"D:\\", {L"x"})),
              (std::vector<Line>{{L"D:\\", L"D:\\", 0, true}, {L"x", L"D:\\x", 1, false}}));
    EXPECT_EQ(CurrentEntryIndex(L"D:\\"), 0);
    EXPECT_EQ(Lines(BuildFolderEntries(L"\\\\srv\\share\\d", {L"sub"})),
              (std::vector<Line>{{L"\\\\srv\\share\\", L"\\\\srv\\share\\", 0, true},
                                 {L"d", L"\\\\srv\\share\\d", 1, true},
                                 {L"sub", L"\\\\srv\\share\\d\\sub", 2, false}}));
}

// Placement, message-box and version-text arithmetic.
TEST(DialogRules, PlacementCornersWideningAndTheVersionTextsThirdFieldNotTheBuild) {
    // A message box (5970 x 1680) on a 1024 x 768 screen, then a window larger than the screen.
    const auto p = placement::CenterPosition(15360, 11520, 5970, 1680);
    const auto big = placement::CenterPosition(15360, 11520, 16360, 12520);
    EXPECT_EQ(std::make_tuple(p.x, p.y, big.x, big.y), std::make_tuple(4695, 4920, -500, -500));
    const std::pair<double, int> cases[] = {{0.0, 1}, {0.2499, 1}, {0.25, 2}, {0.5, 3}, {0.75, 4}, {0.99999, 4}};
    for (const auto& [draw, corner] : cases) EXPECT_EQ(placement::CornerFromDraw(draw), corner) << draw;
    EXPECT_FALSE(msgbox::Widen(5970, 5970, {5970, 4680}, 1215)) << "equal is not wider";
    EXPECT_FALSE(msgbox::Widen(5970, 100, {100, 4680}, 1215));
    const auto w = msgbox::Widen(5970, 7000, {4680, 7000}, 2655);
    ASSERT_TRUE(w);
    EXPECT_EQ(std::make_tuple(w->boxWidth, w->lineLeft[0], w->lineLeft[1], w->holderLeft),
              std::make_tuple(7200, 1260, 100, 2272));
    EXPECT_EQ(VersionTextFromFileVersion(2u << 16 | 0, 2u << 16 | 9), L"2.0.2");
    EXPECT_EQ(VersionTextFromFileVersion(0xFFFFFFFFu, 0xFFFFFFFFu), L"65535.65535.65535");
    // ﾊﾞｰｼﾞｮﾝ in half-width katakana, then an ASCII blank.
    EXPECT_EQ(SplashVersionLabel(L"2.0.2"), L"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D 2.0.2");
}

}  // namespace
}  // namespace tolvane::chooser

// What the chooser's OK does with a typed name in each mode, the extension
// taken from the mask, and the names the new-folder panel accepts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/dialogs/rules/ChooserRules.h"

namespace tolvane::chooser {
namespace {

// A file system of a few names, recording what the OK step looked up.
struct Disk {
    explicit Disk(std::set<std::wstring> names = {}) : present(std::move(names)) {}
    std::set<std::wstring> present;
    std::vector<std::wstring> asked;
    std::function<bool(const std::wstring&)> Lookup() {
        return [this](const std::wstring& p) {
            asked.push_back(p);
            return present.count(p) != 0;
        };
    }
};

TEST(ChooserExtension, AppendsTheMasksExtensionWhenTheNameLacksIt) {
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list", L"*.clt"), L"C:\\w\\list.clt");
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list.CLT", L"*.clt"), L"C:\\w\\list.CLT");
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list.txt", L"*.clt"), L"C:\\w\\list.txt.clt");
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list", L"*.CLT"), L"C:\\w\\list.CLT");  // as written in the mask
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\VB6", L"VB*.EXE"), L"C:\\w\\VB6.EXE");
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\vb6.exe", L"VB*.EXE"), L"C:\\w\\vb6.exe");
}

TEST(ChooserExtension, AnyExtensionMaskAppendsNothing) {
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list", L"*.*"), L"C:\\w\\list");
    EXPECT_EQ(ApplyMaskExtension(L"C:\\w\\list.txt", L"a*.*"), L"C:\\w\\list.txt");
}

TEST(ChooserExtension, ComparesFullWidthAndAccentedLettersWithoutCase) {
    EXPECT_EQ(ApplyMaskExtension(L"x.ｃｌｔ", L"*.ＣＬＴ"), L"x.ｃｌｔ");
    EXPECT_EQ(ApplyMaskExtension(L"x.été", L"*.ÉTÉ"), L"x.été");
    EXPECT_EQ(UpperForCompare(L"aZ÷ÿ"), L"AZ÷ÿ");  // ÿ has no upper case in Latin-1
}

TEST(ChooserOk, ExistingFileIsAcceptedInMode2) {
    Disk disk({L"C:\\w\\a.txt"});
    const OkStep s = DecideOk(2, L"C:\\w", L"a.txt", L"*.txt", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Accept);
    EXPECT_EQ(s.path, L"C:\\w\\a.txt");
    EXPECT_EQ(s.triedPath, L"C:\\w\\a.txt");
}

TEST(ChooserOk, MissingFileIsNamedInTheWarning) {
    Disk disk;
    const OkStep s = DecideOk(2, L"C:\\w\\", L"a.txt", L"*.txt", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Warn);
    EXPECT_EQ(s.message1, L"");
    EXPECT_EQ(s.message2, L"「a.txt」は存在しません");
    EXPECT_EQ(disk.asked, std::vector<std::wstring>{L"C:\\w\\a.txt"});
}

TEST(ChooserOk, BlankNameIsRefusedInEveryFileMode) {
    for (int mode : {2, 3, 4}) {
        for (const wchar_t* typed : {L"", L"   "}) {
            Disk disk({L"C:\\w\\   "});
            const OkStep s = DecideOk(mode, L"C:\\w", typed, L"*.clt", disk.Lookup());
            EXPECT_EQ(s.action, OkAction::Warn) << mode;
            EXPECT_EQ(s.message2, L"ファイル名が指定されていません") << mode;
            EXPECT_TRUE(disk.asked.empty()) << mode;
        }
    }
}

TEST(ChooserOk, LeadingBlankStaysInThePath) {
    Disk disk({L"C:\\w\\ a.txt"});
    const OkStep s = DecideOk(2, L"C:\\w", L" a.txt", L"*.*", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Accept);
    EXPECT_EQ(s.path, L"C:\\w\\ a.txt");
}

TEST(ChooserOk, Mode3AcceptsAnyNameWithTheExtension) {
    Disk disk;
    EXPECT_EQ(DecideOk(3, L"C:\\w", L"list", L"*.clt", disk.Lookup()).path, L"C:\\w\\list.clt");
    EXPECT_EQ(DecideOk(3, L"C:\\w", L"list.CLT", L"*.clt", disk.Lookup()).path, L"C:\\w\\list.CLT");
    const OkStep s = DecideOk(3, L"C:\\w", L"list.txt", L"*.clt", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Accept);
    EXPECT_EQ(s.path, L"C:\\w\\list.txt.clt");
    EXPECT_EQ(s.triedPath, L"C:\\w\\list.txt");
    EXPECT_TRUE(disk.asked.empty());  // no existence test in mode 3
}

TEST(ChooserOk, Mode4AsksBeforeOverwritingTheExtendedName) {
    Disk disk({L"C:\\w\\list.clt"});
    const OkStep s = DecideOk(4, L"C:\\w", L"list", L"*.clt", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::AskOverwrite);
    EXPECT_EQ(s.path, L"C:\\w\\list.clt");
    EXPECT_EQ(s.message1, L"「list.clt」は既に存在します");
    EXPECT_EQ(s.message2, L"既存のファイルを書き換えますか？");
    EXPECT_EQ(disk.asked, std::vector<std::wstring>{L"C:\\w\\list.clt"});

    const OkStep fresh = DecideOk(4, L"C:\\w", L"other", L"*.clt", disk.Lookup());
    EXPECT_EQ(fresh.action, OkAction::Accept);
    EXPECT_EQ(fresh.path, L"C:\\w\\other.clt");
}

TEST(ChooserOk, Mode1AcceptsAnExistingFolderWithItsFinalBackslash) {
    Disk disk({L"C:\\out\\"});
    const OkStep s = DecideOk(1, L"C:\\out", L"", L"*.*", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Accept);
    EXPECT_EQ(s.path, L"C:\\out\\");
    EXPECT_EQ(DecideOk(1, L"C:\\", L"", L"*.*", Disk({L"C:\\"}).Lookup()).path, L"C:\\");
}

TEST(ChooserOk, Mode1AsksToCreateAMissingFolder) {
    Disk disk({L"C:\\out\\"});
    const OkStep s = DecideOk(1, L"C:\\out", L"new", L"*.vbp", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::AskCreate);
    EXPECT_EQ(s.path, L"C:\\out\\new\\");
    EXPECT_EQ(s.message2, L"「C:\\out\\new\\」を作成しますか？");
    EXPECT_EQ(disk.asked, std::vector<std::wstring>{L"C:\\out\\new\\"});
}

TEST(ChooserOk, UnknownModesAcceptTheTypedPathUntested) {
    Disk disk;
    const OkStep s = DecideOk(7, L"C:\\w", L"  *?", L"*.clt", disk.Lookup());
    EXPECT_EQ(s.action, OkAction::Accept);
    EXPECT_EQ(s.path, L"C:\\w\\  *?");
    EXPECT_TRUE(disk.asked.empty());
}

TEST(ChooserNewFolder, NamesOneOrMoreLevelsBelowTheCurrentFolder) {
    EXPECT_EQ(NewFolderPath(L"C:\\w", L"新しいフォルダ"), L"C:\\w\\新しいフォルダ\\");
    EXPECT_EQ(NewFolderPath(L"C:\\w", L"a\\b"), L"C:\\w\\a\\b\\");
    EXPECT_EQ(NewFolderPath(L"C:\\", L"a\\b\\"), L"C:\\a\\b\\");
}

TEST(ChooserNewFolder, RefusesNamesThatCannotNameAFolderBelow) {
    EXPECT_EQ(NewFolderNameProblem(L"新しいフォルダ"), L"");
    EXPECT_EQ(NewFolderNameProblem(L"a\\b"), L"");
    EXPECT_EQ(NewFolderNameProblem(L" x"), L"");
    EXPECT_EQ(NewFolderNameProblem(L"v1.0"), L"");
    EXPECT_EQ(NewFolderNameProblem(L""), L"フォルダ名が指定されていません");
    EXPECT_EQ(NewFolderNameProblem(L"   "), L"フォルダ名が指定されていません");
    EXPECT_EQ(NewFolderNameProblem(L"\\\\"), L"フォルダ名が指定されていません");
    for (const wchar_t* bad : {L"a<b", L"a>b", L"C:\\x", L"a\"b", L"a/b", L"a|b", L"a?", L"*", L"a\tb"})
        EXPECT_EQ(NewFolderNameProblem(bad), L"フォルダ名に使えない文字が含まれています") << bad;
    for (const wchar_t* bad : {L"..", L"a\\..\\b", L".", L"a\\ \\b", L"..."})
        EXPECT_EQ(NewFolderNameProblem(bad), L"フォルダ名が正しくありません") << bad;
}

}  // namespace
}  // namespace tolvane::chooser

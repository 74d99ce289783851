// Text as the support layer handles it: the system code page (Shift-JIS
// here) and what it cannot hold, path pieces cut at backslashes and plain
// spaces, values from controls and settings made trimmed text, and the
// general date text; the project search under a folder.
#include <gtest/gtest.h>

#include <cfloat>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "Raised.h"
#include "support/AnsiCodec.h"
#include "support/DataChange.h"
#include "support/FolderTree.h"
#include "support/Locale.h"
#include "support/PathNames.h"
#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

const AnsiCodec& Codec() { return SystemAnsiCodec(); }

TEST(AnsiCodec, ShiftJisBothWaysAndWhatItCannotHoldIsReportedNotReplaced) {
    // 漢 = 8A BF, half-width ｱ one byte B1.
    EXPECT_EQ(Codec().Encode(L"A漢ｱ\\"), std::optional<std::string>("A\x8A\xBF\xB1\\"));
    EXPECT_EQ(Codec().Decode("\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67"), L"プロジェクト");
    for (const std::wstring text : {L"", L"ｺﾝﾊﾟｲﾙの実行", L"全角ＡＢＣ・ー\uFF5E", L"表示ソ能", L"C:\\プロジェクト\\App.vbp"}) {
        const auto bytes = Codec().Encode(text);
        ASSERT_TRUE(bytes.has_value()) << text.size();
        EXPECT_EQ(Codec().Decode(*bytes), text);
    }
    // é and ü have best-fit letters, the wave dash shares the full-width tilde's bytes.
    for (const wchar_t* text : {L"caf\u00E9", L"\u00FCber", L"smile \U0001F600", L"\u4E02", L"10\u301C20"})
        EXPECT_FALSE(Codec().Encode(text).has_value()) << ::testing::PrintToString(std::wstring(text));
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢字ｶﾅ"), std::wstring::npos);
    EXPECT_EQ(FirstUnencodable(Codec(), L"ab\u00E9c\u00E9"), 2u);
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢\U0001F600x"), 1u);
}

using Cases = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

template <class F>
void ExpectAll(F f, Cases cases) {
    for (const auto& [input, expected] : cases) EXPECT_EQ(f(input), expected) << ::testing::PrintToString(std::wstring(input));
}

TEST(Paths, CutAtBackslashesAndOnlyThePlainSpaceIsTrimmedOrQuoted) {
    ExpectAll(GetFileName, {{L"C:\\a\\b\\c.txt", L"c.txt"}, {L"c.txt", L"c.txt"}, {L"C:\\a\\", L""},
                            {L"\\\\server\\share\\x y.vbp", L"x y.vbp"}});
    ExpectAll(GetDriveRoot, {{L"C:\\a\\b", L"C:\\"}, {L"\\\\server\\share", L"\\"}, {L"abc", L""}, {L"", L""}});
    ExpectAll(GetFolderPath, {{L"", L""}, {L"   ", L""}, {L"C:\\", L"C:\\"}, {L"C:\\a\\b\\c.txt", L"C:\\a\\b\\"},
                              {L"C:\\Src\\", L"C:\\Src\\"}, {L"\\\\server\\share\\x.vbp", L"\\\\server\\share\\"},
                              {L"\\App.vbp", L"\\"}});
    for (const wchar_t* path : {L"App.vbp", L" x ", L"C:"})  // no backslash
        EXPECT_EQ(testing::Raised([&] { GetFolderPath(path); }).Number(), kErrInvalidArgument) << path;
    EXPECT_EQ(JoinFolderAndName(L"C:\\Tools", L"Tolvane.ini"), L"C:\\Tools\\Tolvane.ini");
    EXPECT_EQ(JoinFolderAndName(L"C:\\", L"Tolvane.ini"), L"C:\\Tolvane.ini");
    ExpectAll(TrimSpaces, {{L"  C:\\Src\\App.vbp  ", L"C:\\Src\\App.vbp"}, {L"   ", L""}, {L"a  b", L"a  b"},
                           {L"\tx\t", L"\tx\t"}, {L" \u3000x ", L"\u3000x"}});
    ExpectAll(QuoteIfSpaced, {{L"C:\\Program Files\\x.vbp", L"\"C:\\Program Files\\x.vbp\""},
                              {L"C:\\Src\\x.vbp", L"C:\\Src\\x.vbp"}, {L"", L""}, {L"a\tb", L"a\tb"},
                              {L"\"a b\"", L"\"\"a b\"\""}});  // quotes already there are not looked at
    EXPECT_FALSE(IsBlank(L"\t") || IsBlank(L" x "));
}

TEST(DataChange, TextModeTrimsSpacesShowsNumbersAsVbDoesAndTheGeneralDate) {
    // 15 significant digits; those of the largest double rounded down so they read back as a number.
    const std::pair<VbValue, const wchar_t*> values[] = {
        {nullptr, L""}, {VbValue{}, L""}, {std::wstring(L"  保存しますか？ "), L"保存しますか？"},
        {std::wstring(L"\tkept\t"), L"\tkept\t"}, {5.0, L"5"}, {-0.25, L"-0.25"}, {0.1 + 0.2, L"0.3"},
        {0.123456789012345, L"0.123456789012345"}, {1e20, L"1E+20"}, {-DBL_MAX, L"-1.79769313486231E+308"}};
    for (const auto& [value, text] : values) EXPECT_EQ(NormalizeText(value), text);
    const std::wstring date = GeneralDateText(DateTime{2005, 3, 1, 0, 0, 0});  // midnight: the date alone
    // Windows pads month and day, Wine's Japanese table does not.
    EXPECT_TRUE(date == L"2005/03/01" || date == L"2005/3/1") << date.size();
    EXPECT_EQ(GeneralDateText(DateTime{2005, 3, 1, 9, 5, 9}), date + L" 9:05:09");
    EXPECT_EQ(GeneralDateText(DateTime{2005, 3, 1, 0, 0, 1}), date + L" 0:00:01");
}

// The project search under a folder, over a fake folder tree.
namespace {

using Paths = std::vector<std::wstring>;
constexpr std::uint32_t kFile = 0x20;
constexpr std::uint32_t kDir = kAttributeDirectory;

// Folders by path (ending in a backslash); a folder absent from the map, or
// named in unreadable, cannot be listed.
struct FakeLister : DirectoryLister {
    std::map<std::wstring, std::vector<DirEntry>> tree;
    std::set<std::wstring> unreadable;
    Paths listed;

    bool List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t& error) override {
        listed.push_back(folder);
        auto it = tree.find(folder);
        error = 5;  // access denied
        if (it == tree.end() || unreadable.count(folder)) return false;
        entries = it->second;
        return true;
    }
};

}  // namespace

TEST(FolderTree, LevelByLevelInFolderOrderPastHiddenLinkedAndUnreadableFoldersUpToTheLimit) {
    FakeLister fs;
    fs.tree[L"R\\"] = {{L"Y", kDir}, {L"Main.vbp", kFile}, {L"X", kDir}, {L"readme.txt", kFile}};
    fs.tree[L"R\\Y\\"] = {{L"Y2", kDir}, {L"Y1", kDir}};
    fs.tree[L"R\\X\\"] = {{L"X1", kDir}, {L"X.vbp", kFile}};
    fs.tree[L"R\\Y\\Y2\\"] = {{L"Deep.vbp", kFile}, {L"Second.vbp", kFile}};
    fs.tree[L"R\\Y\\Y1\\"] = {};
    fs.tree[L"R\\X\\X1\\"] = {};

    const ProjectSearch found = SearchFiles(fs, L"R\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (Paths{L"R\\", L"R\\Y\\", L"R\\X\\", L"R\\Y\\Y2\\", L"R\\Y\\Y1\\", L"R\\X\\X1\\"}));
    EXPECT_EQ(found.projects, (Paths{L"R\\Main.vbp", L"R\\X\\X.vbp", L"R\\Y\\Y2\\Deep.vbp", L"R\\Y\\Y2\\Second.vbp"}));
    EXPECT_EQ(fs.listed, found.folders);  // one pass: each folder listed once
    EXPECT_TRUE(found.skippedFolders == 0 && !found.overLimit && !found.cancelled);

    // Told the counts before each folder; a false answer stops at once.
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const ProjectSearch stopped = SearchFiles(fs, L"R\\", L"vbp", 100, [&](std::size_t folders, std::size_t projects) {
        told.emplace_back(folders, projects);
        return folders < 3;
    });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(told, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));

    fs.tree[L"C:\\P\\"] = {
        {L"Hidden", kDir | kAttributeHidden},
        {L"System", kDir | kAttributeSystem},
        {L"Loop", kDir | kAttributeReparsePoint},  // a junction back to C:\P
        {L"Odd.vbp", kDir},
        {L"Secret.vbp", kFile | kAttributeHidden},  // a hidden file is still a project
        {L"Real.VBP", kFile},
    };
    fs.tree[L"C:\\P\\Odd.vbp\\"] = {{L"In.vbp", kFile}};
    for (const wchar_t* skipped : {L"C:\\P\\Hidden\\", L"C:\\P\\System\\"}) fs.tree[skipped] = {{L"No.vbp", kFile}};
    fs.tree[L"C:\\P\\Loop\\"] = fs.tree[L"C:\\P\\"];
    const ProjectSearch hidden = SearchFiles(fs, L"C:\\P\\", L"vbp", 100);
    EXPECT_EQ(hidden.folders, (Paths{L"C:\\P\\", L"C:\\P\\Odd.vbp\\"}));
    EXPECT_EQ(hidden.projects, (Paths{L"C:\\P\\Secret.vbp", L"C:\\P\\Real.VBP", L"C:\\P\\Odd.vbp\\In.vbp"}));
    fs.tree[L"C:\\S\\"] = {{L"Locked", kDir}, {L"Open", kDir}};
    fs.tree[L"C:\\S\\Locked\\"] = {{L"Hidden.vbp", kFile}, {L"Below", kDir}};
    fs.unreadable.insert(L"C:\\S\\Locked\\");
    fs.tree[L"C:\\S\\Open\\"] = {{L"Ok.vbp", kFile}};

    const ProjectSearch locked = SearchFiles(fs, L"C:\\S\\", L"vbp", 100);
    EXPECT_EQ(std::make_tuple(locked.skippedFolders, locked.firstSkipped, locked.firstSkippedError),
              std::make_tuple(1, std::wstring(L"C:\\S\\Locked\\"), 5u));
    EXPECT_EQ(locked.projects, Paths{L"C:\\S\\Open\\Ok.vbp"});

    FakeLister none;
    const ProjectSearch rootGone = SearchFiles(none, L"C:\\Gone\\", L"vbp", 100);
    EXPECT_EQ(rootGone.skippedFolders, 1);
    EXPECT_TRUE(rootGone.projects.empty());
    fs.tree[L"C:\\L\\"] = {{L"a.vbp", kFile}, {L"b.vbp", kFile}, {L"Sub", kDir}};
    fs.tree[L"C:\\L\\Sub\\"] = {{L"c.vbp", kFile}};
    const ProjectSearch exact = SearchFiles(fs, L"C:\\L\\", L"vbp", 3);
    EXPECT_TRUE(!exact.overLimit && exact.projects.size() == 3);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 2).overLimit);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 0).overLimit);

    for (const wchar_t* name : {L"App.vbp", L"APP.VBP", L".vbp", L"a.b.vbp"})
        EXPECT_TRUE(HasExtension(name, L"vbp")) << name;
    for (const wchar_t* name : {L"App.vbpx", L"App.vbp.bak", L"Appvbp", L"vbp", L""})
        EXPECT_FALSE(HasExtension(name, L"vbp")) << name;
}

}  // namespace
}  // namespace tolvane

// The list file's text: written one "mark TAB path" line per entry, read back
// line by line with VB's rules for the mark.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "engine/CompileListFile.h"
#include "engine/clsTolvane.h"
#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

using Entries = std::vector<std::pair<bool, std::wstring>>;

Entries Lines(const std::string& bytes) {
    Entries out;
    for (const auto& l : ParseCompileList(bytes, SystemAnsiCodec())) out.emplace_back(l.mark, l.path);
    return out;
}

TEST(CompileListFile, FormatsOneLinePerEntryAndReadsBackPathsAndMarksButNotFailures) {
    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};
    EXPECT_EQ(FormatCompileList(engine), L"");
    engine.addVbp(L"C:\\Src\\App\\App.vbp", true);
    engine.addVbp(L"C:\\b b\\Lib.vbp", false);
    engine.addVbp(L"C:\\Src\\App\\App.vbp", true);
    engine.Vbp()[1]->SetFailure(true);  // not saved
    const std::wstring text = FormatCompileList(engine);
    EXPECT_EQ(text, L"True\tC:\\Src\\App\\App.vbp\r\nFalse\tC:\\b b\\Lib.vbp\r\nTrue\tC:\\Src\\App\\App.vbp\r\n");

    // What the file holds: the text and the writer's closing CR LF.
    EXPECT_EQ(Lines(*SystemAnsiCodec().Encode(text + L"\r\n")),
              (Entries{{true, L"C:\\Src\\App\\App.vbp"}, {false, L"C:\\b b\\Lib.vbp"}, {true, L"C:\\Src\\App\\App.vbp"}}));
}

TEST(CompileListFile, ParsingSplitsLinesAndSkipsThoseWithoutAPath) {
    for (const char* empty : {"", "\r\n", "\r\n\r\n\r", "\n\n"}) EXPECT_TRUE(Lines(empty).empty());
    // CR LF, a lone CR and a lone LF all end a line (lists edited elsewhere).
    EXPECT_EQ(Lines("True\ta.vbp\rFalse\tb.vbp\r\nTrue\tc.vbp\nTrue\td.vbp\n\r\nFalse\te.vbp"),
              (Entries{{true, L"a.vbp"}, {false, L"b.vbp"}, {true, L"c.vbp"}, {true, L"d.vbp"}, {false, L"e.vbp"}}));
    // A damaged double-byte character (a lead byte alone) before a line end or
    // a tab costs only its own field, never the line end or the next entry.
    const Entries damaged = Lines("True\tC:\\A\x83\r\nTrue\x83\tC:\\B\nTrue\tC:\\C\x83\tx\nTrue\tC:\\D");
    ASSERT_EQ(damaged.size(), 4u);
    EXPECT_EQ(damaged[0].second.substr(0, 4), L"C:\\A");
    EXPECT_EQ(damaged[1].second, L"C:\\B");
    EXPECT_EQ(damaged[2].second.substr(0, 4), L"C:\\C");
    EXPECT_EQ(damaged[3], (std::pair<bool, std::wstring>{true, L"C:\\D"}));
    // No tab, a blank or empty second field: skipped. Fields after the second
    // are ignored; an unreadable mark adds the path unchecked; the path keeps
    // its spaces (the engine trims them).
    EXPECT_EQ(Lines("C:\\no-tab.vbp\r\nTrue\t   \r\nTrue\t\r\nTrue\t\tC:\\third.vbp\r\n\r\n"
                    "True\t  C:\\padded.vbp  \r\n1\tC:\\a.vbp\tFalse\textra\r\nyes\tC:\\b.vbp\r\n\tC:\\c.vbp"),
              (Entries{{true, L"  C:\\padded.vbp  "}, {true, L"C:\\a.vbp"}, {false, L"C:\\b.vbp"}, {false, L"C:\\c.vbp"}}));
}

TEST(CompileListFile, CheckMarkReadsWordsAndNumbers) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"True", true},   {L"tRuE", true}, {L" True ", true}, {L"FALSE", false}, {L"1", true},
        {L"-1", true},     {L"0", false},   {L"+0", false},    {L"0.0", false},   {L"0.5", true},
        {L".5", true},     {L"5.", true},   {L"1e3", true},    {L"0E5", false},   {L" 2 ", true},
        {L"", false},      {L"   ", false}, {L".", false},     {L"-", false},     {L"1e", false},
        {L"1x", false},    {L"Truee", false}, {L"Tru", false}, {L"1 2", false},   {L"\t1", false},
    };
    for (const auto& [field, mark] : cases) {
        EXPECT_EQ(ParseCheckMark(field), mark) << ::testing::PrintToString(std::wstring(field));
    }
}

}  // namespace
}  // namespace tolvane

// The list file's text: written one "mark TAB path" line per entry, read back
// line by line with VB's rules for the mark.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "engine/CompileListFile.h"
#include "engine/clsTolvane.h"

namespace tolvane {
namespace {

std::vector<std::pair<bool, std::wstring>> Lines(const std::wstring& text) {
    std::vector<std::pair<bool, std::wstring>> out;
    for (const auto& l : ParseCompileList(text)) out.emplace_back(l.mark, l.path);
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
    EXPECT_EQ(Lines(text + L"\r\n"), (std::vector<std::pair<bool, std::wstring>>{
                                         {true, L"C:\\Src\\App\\App.vbp"}, {false, L"C:\\b b\\Lib.vbp"},
                                         {true, L"C:\\Src\\App\\App.vbp"}}));
}

TEST(CompileListFile, ParsingSplitsLinesAndSkipsThoseWithoutAPath) {
    for (const wchar_t* empty : {L"", L"\r\n", L"\r\n\r\n\r"}) EXPECT_TRUE(Lines(empty).empty());
    // A line ends at CR LF or a lone CR, never at a lone LF.
    EXPECT_EQ(Lines(L"True\ta.vbp\rFalse\tb.vbp\r\nTrue\tc\n.vbp\r\nTrue\td.vbp"),
              (std::vector<std::pair<bool, std::wstring>>{
                  {true, L"a.vbp"}, {false, L"b.vbp"}, {true, L"c\n.vbp"}, {true, L"d.vbp"}}));
    // No tab, a blank or empty second field: skipped. Fields after the second
    // are ignored; an unreadable mark adds the path unchecked; the path keeps
    // its spaces (the engine trims them).
    EXPECT_EQ(Lines(L"C:\\no-tab.vbp\r\nTrue\t   \r\nTrue\t\r\nTrue\t\tC:\\third.vbp\r\n\r\n"
                    L"True\t  C:\\padded.vbp  \r\n1\tC:\\a.vbp\tFalse\textra\r\nyes\tC:\\b.vbp\r\n\tC:\\c.vbp"),
              (std::vector<std::pair<bool, std::wstring>>{
                  {true, L"  C:\\padded.vbp  "}, {true, L"C:\\a.vbp"}, {false, L"C:\\b.vbp"}, {false, L"C:\\c.vbp"}}));
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

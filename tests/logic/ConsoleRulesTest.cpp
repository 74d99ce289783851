// The console runner's command line and its JUnit report, where the program
// tests do not reach: every refusal, and text no path or box could carry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "console/rules/JUnitReport.h"
#include "console/rules/RunnerInputs.h"
#include "console/rules/RunnerOptions.h"

using namespace tolvane;

TEST(RunnerOptions, RefusesWhatItCannotUse) {
    // The switches themselves reach the program tests; here the edges.
    EXPECT_TRUE(ParseRunnerArguments({L"/?", L"x.clt"}).options->help);
    EXPECT_FALSE(ParseRunnerArguments({L"x.clt"}).options->limit);  // then Tolvane.ini decides
    EXPECT_EQ(ParseRunnerArguments({L"x.clt", L"/LIMIT", L" 999999999 "}).options->limit, std::chrono::minutes(999999999));
    const auto planned = ParseRunnerArguments({L"/Order", L"x.clt", L"/PARALLEL", L"8", L"/skip"}).options;
    EXPECT_TRUE(planned->order && planned->skip && planned->parallel == 8 && !planned->all && !planned->recheck);
    // Inputs in the order given, switches between them.
    const auto inputs = ParseRunnerArguments({L"b.vbg", L"/shard", L"2/3", L"C:\\Src", L"a.vbp", L"x.clt"}).options;
    EXPECT_EQ(inputs->inputs, (std::vector<std::wstring>{L"b.vbg", L"C:\\Src", L"a.vbp", L"x.clt"}));
    EXPECT_TRUE(inputs->shard && inputs->shard->part == 2 && inputs->shard->parts == 3);
    EXPECT_TRUE(ParseRunnerArguments({L"X.CLT", L"/recheck"}).options->recheck);

    std::vector<std::vector<std::wstring>> refused = {
        {}, {L"/bad", L"/?"}, {L"/all"}, {L"a.clt", L"/all", L"/All"}, {L"a.clt", L"/junit"},
        // /recheck saves the one list the run came from; a part of it would lose the others' marks.
        {L"a.clt", L"b.clt", L"/recheck"}, {L"a.vbg", L"/recheck"}, {L"Src", L"/recheck"},
        {L"a.clt", L"/recheck", L"/shard", L"1/2"}, {L"a.clt", L"/shard", L"1/2", L"/shard", L"2/2"},
        {L"a.clt", L"/shard", L"3/2"}, {L"a.clt", L"/shard"},
        // "C:\Out Dir\" /all: the escaped closing quote swallows what follows.
        {L"a.clt", L"/outdir", L"C:\\Out Dir\" /all"}};
    for (const wchar_t* limit : {L"1000000000", L"-1", L"1.5", L"", L"３０"}) refused.push_back({L"a.clt", L"/limit", limit});
    for (const wchar_t* parallel : {L"0", L"9", L"12", L"２"}) refused.push_back({L"a.clt", L"/parallel", parallel});
    refused.push_back({L"a.clt", L"/skip", L"/SKIP"});
    for (const auto& args : refused) {
        const ParsedArguments parsed = ParseRunnerArguments(args);
        EXPECT_TRUE(!parsed.options && !parsed.error.empty()) << args.size();
    }
}

TEST(RunnerInputs, EachProjectOnceAtItsFirstPlaceCheckedWhenAnyPlaceWas) {
    // Path, checked, built; another spelling of a path is the same project, the same name elsewhere is not.
    const std::vector<std::tuple<std::wstring, bool, bool>> table = {
        {L"C:\\Src\\A.vbp", true, true},          {L"C:\\Src\\B.vbp", false, true},
        {L"c:/src/./a.VBP", false, false},          {L"C:\\Src\\Lib\\..\\B.vbp", true, false},
        {L"C:\\Src\\C.vbp", false, false},        {L"C:\\Src\\C.vbp", false, false},
        {L"C:\\Other\\A.vbp", true, true}};
    clsTolvane::EntryList entries;
    for (const auto& [path, checked, built] : table) entries.push_back(clsTolvane::NewEntry(path, checked));
    CheckEachProjectOnce(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i]->Action(), std::get<2>(table[i])) << i;

    EXPECT_TRUE(KindOfInputFile(L"x\\N.CLT") == InputKind::List && KindOfInputFile(L"A.vbp.bak") == InputKind::Unknown);
    EXPECT_EQ(InputName(L"C:\\Src\\Tree\\"), L"Tree");
    EXPECT_EQ(InputName(L"C:\\"), L"C:\\");
}

TEST(JUnitReport, EscapesMarkupAndReplacesWhatXmlCannotHold) {
    RunReport report;
    report.listName = L"a&b.clt";
    report.started = DateTime{2026, 1, 2, 3, 4, 5};
    report.milliseconds = 61005;
    report.builds.push_back({L"C:\\x<y>\\\"q\".vbp", 7, false, L""});
    report.builds.push_back({L"App.vbp", 1234, true, std::wstring(L"a\x01]]>\r\nb\t") + wchar_t(0xD800) + L"c"});
    report.builds.push_back({L"C:\\Lib.vbp", 0, false, L"", true});
    const std::string xml = JUnitXml(report);

    EXPECT_NE(xml.find("<testsuite name=\"a&amp;b.clt\" tests=\"3\" failures=\"1\" errors=\"0\" skipped=\"1\" "
                       "time=\"61.005\" timestamp=\"2026-01-02T03:04:05\">"),
              std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"&quot;q&quot;.vbp\" classname=\"C:\\x&lt;y&gt;\" time=\"0.007\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"App.vbp\" classname=\"\" time=\"1.234\">"), std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"Lib.vbp\" classname=\"C:\" time=\"0.000\">\n"
                       "      <skipped message=\"ｺﾝﾊﾟｲﾙ省略\"/>\n    </testcase>"),
              std::string::npos);
    // The control character and the lone surrogate become U+FFFD; the
    // attribute keeps the log's one-line form, the element the whole text.
    EXPECT_NE(xml.find("message=\"a ]]&gt; b \xEF\xBF\xBD" "c\""), std::string::npos);
    EXPECT_NE(xml.find(">a\xEF\xBF\xBD]]&gt;&#13;\nb\t\xEF\xBF\xBD" "c</failure>"), std::string::npos);
#ifndef _WIN32
    // A real parser (Debian's xmllint, in the native build) reads it whole, with the texts given.
    const std::string file = ::testing::TempDir() + "tolvane-junit.xml";
    std::ofstream(file, std::ios::binary) << xml;
    FILE* lint = popen(("xmllint --xpath 'concat(count(//testcase),\"|\",//failure/@message)' " + file + " 2>&1").c_str(), "r");
    ASSERT_NE(lint, nullptr);
    char out[256] = {};
    std::fread(out, 1, sizeof out - 1, lint);
    pclose(lint);
    EXPECT_EQ(std::string(out), "3|a ]]> b \xEF\xBF\xBD" "c\n");
#endif
}

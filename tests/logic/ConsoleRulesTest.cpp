// The console runner's command line and its JUnit report, where the program
// tests do not reach: every refusal, and text no path or box could carry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "console/rules/CiAnnotation.h"
#include "console/rules/JUnitReport.h"
#include "console/rules/RunnerInputs.h"
#include "console/rules/RunnerOptions.h"

using namespace tolvane;

TEST(RunnerOptions, RefusesWhatItCannotUseAndTakesEachProjectOnceCheckedWhenAnyPlaceWas) {
    // The switches themselves reach the program tests; here the edges.
    EXPECT_TRUE(ParseRunnerArguments({L"/?", L"x.clt"}).options->help && ParseRunnerArguments({L"/?"}).options->help);
    EXPECT_EQ(ParseRunnerArguments({L"x.clt", L"/limit", L"0"}).options->limit, std::chrono::minutes(0));
    EXPECT_FALSE(ParseRunnerArguments({L"x.clt"}).options->limit);  // then Tolvane.ini decides
    EXPECT_EQ(ParseRunnerArguments({L"x.clt", L"/LIMIT", L" 999999999 "}).options->limit, std::chrono::minutes(999999999));
    const auto planned = ParseRunnerArguments({L"/Order", L"x.clt", L"/PARALLEL", L"8", L"/skip"}).options;
    EXPECT_TRUE(planned->order && planned->skip && planned->parallel == 8 && !planned->all && !planned->recheck &&
                !planned->compilerLog);
    // /set repeats, in order; the version stays as typed.
    const auto stamped = ParseRunnerArguments({L"x.clt", L"/set", L"Title=a", L"/Version", L"2.5.0", L"/SET", L"CondComp=A=1"}).options;
    ASSERT_TRUE(stamped);
    EXPECT_EQ(*stamped->version, L"2.5.0");
    ASSERT_EQ(stamped->sets.size(), 2u);
    EXPECT_EQ(stamped->sets[1].key + L"|" + stamped->sets[1].value, L"CondComp|A=1");
    // Inputs in the order given, switches between them.
    const auto inputs = ParseRunnerArguments({L"b.vbg", L"/shard", L"2/3", L"C:\\Src", L"a.vbp", L"x.clt"}).options;
    EXPECT_EQ(inputs->inputs, (std::vector<std::wstring>{L"b.vbg", L"C:\\Src", L"a.vbp", L"x.clt"}));
    EXPECT_TRUE(inputs->shard && inputs->shard->part == 2 && inputs->shard->parts == 3);

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
    // A bad version, a version twice, a bad /set (its rules are the stamp's own), /set without its value.
    refused.insert(refused.end(), {{L"a.clt", L"/version", L"1.2"}, {L"a.clt", L"/version", L"1.2.3", L"/VERSION", L"1.2.3"},
                                   {L"a.clt", L"/set", L"Title"}, {L"a.clt", L"/set"}});
    for (const auto& args : refused) {
        const ParsedArguments parsed = ParseRunnerArguments(args);
        EXPECT_TRUE(!parsed.options && !parsed.error.empty()) << args.size();
    }
    EXPECT_EQ(ParseRunnerArguments({L"a.clt", L"/limit", L"-1"}).error,
              L"-1は/limitに指定できません: 0(制限なし)から999999999までの分数を指定してください");
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

TEST(BuildServerReports, JUnitEscapesMarkupAndReplacesWhatXmlCannotHoldAnnotationsOnlyWhereAsked) {
    RunReport report;
    report.listName = L"a&b.clt";
    report.started = DateTime{2026, 1, 2, 3, 4, 5};
    report.milliseconds = 61005;
    report.builds.push_back({L"C:\\x<y>\\\"q\".vbp", 7, false, L""});
    report.builds.push_back({L"App.vbp", 1234, true, std::wstring(L"a\x01]]>\r\nb\t") + wchar_t(0xD800) + L"c<&" + wchar_t(0xD83D) +
                                                  wchar_t(0xDE00) + wchar_t(0xFFFE)});
    report.builds.push_back({L"C:\\Lib.vbp", 0, false, L"", true});
    report.builds.push_back({L"C:\\S\\Bad.vbp", 5, true, L"exit 1", false, {L"Compile Error in File 'x', Line 2 : y"},
                             SourceError{L"C:\\S\\M&1.bas", 12, L"Syntax error"}});
    report.properties = {{L"version", L"2.5.1234"}, {L"VersionCompanyName", L"A&B"}};
    const std::string xml = JUnitXml(report);
    for (const char* part : {
             "    <properties>\n      <property name=\"version\" value=\"2.5.1234\"/>\n"
             "      <property name=\"VersionCompanyName\" value=\"A&amp;B\"/>\n    </properties>\n    <testcase",
             "<testsuite name=\"a&amp;b.clt\" tests=\"4\" failures=\"2\" errors=\"0\" skipped=\"1\" "
             "time=\"61.005\" timestamp=\"2026-01-02T03:04:05\">",
             "<testcase name=\"&quot;q&quot;.vbp\" classname=\"C:\\x&lt;y&gt;\" time=\"0.007\"/>",
             "<testcase name=\"App.vbp\" classname=\"\" time=\"1.234\">",
             "<testcase name=\"Lib.vbp\" classname=\"C:\" time=\"0.000\">\n      <skipped message=\"ｺﾝﾊﾟｲﾙ省略\"/>\n    </testcase>",
             // The control character, the lone surrogate and the noncharacter become U+FFFD, a pair one character;
             // the attribute keeps the log's one-line form, the element the whole text.
             "message=\"a ]]&gt; b \xEF\xBF\xBD" "c&lt;&amp;\xF0\x9F\x98\x80\xEF\xBF\xBD\"",
             ">a\xEF\xBF\xBD]]&gt;&#13;\nb\t\xEF\xBF\xBD" "c&lt;&amp;\xF0\x9F\x98\x80\xEF\xBF\xBD</failure>",
             // The compiler's log under the reason, then the place.
             "type=\"ｺﾝﾊﾟｲﾙ失敗\">exit 1\nCompile Error in File 'x', Line 2 : y\nC:\\S\\M&amp;1.bas(12行目): Syntax error</failure>"})
        EXPECT_NE(xml.find(part), std::string::npos) << part;
#ifndef _WIN32
    // A real parser (Debian's xmllint, in the native build) reads it whole, with the texts given.
    const std::string file = ::testing::TempDir() + "tolvane-junit.xml";
    std::ofstream(file, std::ios::binary) << xml;
    FILE* lint = popen(("xmllint --xpath 'concat(count(//testcase),\"|\",//failure/@message,\"|\",//testcase[@file]/@file,"
                        "\"|\",//testcase[@file]/@line)' " + file + " 2>&1").c_str(), "r");
    ASSERT_NE(lint, nullptr);
    char out[256] = {};
    std::fread(out, 1, sizeof out - 1, lint);
    pclose(lint);
    EXPECT_EQ(std::string(out), "4|a ]]> b \xEF\xBF\xBD" "c<&\xF0\x9F\x98\x80\xEF\xBF\xBD|C:\\S\\M&1.bas|12\n");
#endif
    const SourceError at{L"D:\\a\\repo\\src\\M,1.bas", 7, L"50%: a;b]\r\nc"};
    const struct {
        CiEnvironment environment;
        std::wstring annotation;
    } cases[] = {
        {{L"true", L"D:\\A\\Repo\\", L""}, L"::error file=src/M%2C1.bas,line=7,title=App%3A1.vbp::50%25: a;b]%0D%0Ac"},
        {{L"true", L"D:\\a\\rep", L""}, L"::error file=D%3A\\a\\repo\\src\\M%2C1.bas,line=7,title=App%3A1.vbp::50%25: a;b]%0D%0Ac"},
        {{L"", L"", L"True"},
         L"##vso[task.logissue type=error;sourcepath=D:\\a\\repo\\src\\M,1.bas;linenumber=7]App:1.vbp: 50%AZP25: a;b]%0D%0Ac"},
        {{L"false", L"", L"0"}, L""},
        {{}, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(CiAnnotation(c.environment, L"App:1.vbp", at), c.annotation) << c.annotation;
}

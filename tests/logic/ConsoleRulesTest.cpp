// The console runner's command line and its JUnit report, where the program
// tests do not reach: every refusal, and text no path or box could carry.
#include <gtest/gtest.h>

#include "console/rules/JUnitReport.h"
#include "console/rules/RunnerOptions.h"

using namespace tolvane;

TEST(RunnerOptions, ReadsEverySwitchInAnyCaseAndRefusesWhatItCannotUse) {
    const ParsedArguments all = ParseRunnerArguments(
        {L"/ALL", L"a b.clt", L"/OutDir", L"D:\\Out", L"/d", L"A=1", L"/Limit", L" 0 ", L"/vb", L"C:\\VB6.EXE",
         L"/recheck", L"/junit", L"r.xml"});
    ASSERT_TRUE(all.options) << all.error.size();
    EXPECT_EQ(all.options->list, L"a b.clt");
    EXPECT_TRUE(all.options->all && all.options->recheck && !all.options->help);
    EXPECT_EQ(all.options->outDir, L"D:\\Out");
    EXPECT_EQ(all.options->dimension, L"A=1");
    EXPECT_EQ(all.options->limit, std::chrono::minutes(0));
    EXPECT_EQ(all.options->vb, L"C:\\VB6.EXE");
    EXPECT_EQ(all.options->junit, L"r.xml");
    EXPECT_FALSE(ParseRunnerArguments({L"x.clt"}).options->limit);  // then Tolvane.ini decides
    EXPECT_TRUE(ParseRunnerArguments({L"/bad", L"/?"}).error.size());
    EXPECT_TRUE(ParseRunnerArguments({L"/?", L"x.clt"}).options->help);
    EXPECT_EQ(ParseRunnerArguments({L"x.clt", L"/limit", L"35791"}).options->limit, std::chrono::minutes(35791));

    const std::vector<std::wstring> refused[] = {
        {},
        {L"a.clt", L"b.clt"},
        {L"a.clt", L"/all", L"/All"},
        {L"a.clt", L"/junit"},
        {L"a.clt", L"/limit", L"35792"},
        {L"a.clt", L"/limit", L"-1"},
        {L"a.clt", L"/limit", L"1.5"},
        {L"a.clt", L"/limit", L""},
        {L"a.clt", L"/limit", L"３０"},
        // "C:\Out Dir\" /all: the escaped closing quote swallows what follows.
        {L"a.clt", L"/outdir", L"C:\\Out Dir\" /all"},
    };
    for (const auto& args : refused) {
        const ParsedArguments parsed = ParseRunnerArguments(args);
        EXPECT_FALSE(parsed.options) << args.size();
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(JUnitReport, EscapesMarkupAndReplacesWhatXmlCannotHold) {
    RunReport report;
    report.listName = L"a&b.clt";
    report.started = DateTime{2026, 1, 2, 3, 4, 5};
    report.milliseconds = 61005;
    report.builds.push_back({L"C:\\x<y>\\\"q\".vbp", 7, false, L""});
    report.builds.push_back({L"App.vbp", 1234, true, std::wstring(L"a\x01]]>\r\nb\t") + wchar_t(0xD800) + L"c"});
    const std::string xml = JUnitXml(report);

    EXPECT_NE(xml.find("<testsuite name=\"a&amp;b.clt\" tests=\"2\" failures=\"1\" errors=\"0\" skipped=\"0\" "
                       "time=\"61.005\" timestamp=\"2026-01-02T03:04:05\">"),
              std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"&quot;q&quot;.vbp\" classname=\"C:\\x&lt;y&gt;\" time=\"0.007\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<testcase name=\"App.vbp\" classname=\"\" time=\"1.234\">"), std::string::npos);
    // The control character and the lone surrogate become U+FFFD; the
    // attribute keeps the log's one-line form, the element the whole text.
    EXPECT_NE(xml.find("message=\"a ]]&gt; b \xEF\xBF\xBD" "c\""), std::string::npos);
    EXPECT_NE(xml.find(">a\xEF\xBF\xBD]]&gt;&#13;\nb\t\xEF\xBF\xBD" "c</failure>"), std::string::npos);
}

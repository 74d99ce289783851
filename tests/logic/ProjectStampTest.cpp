// The run's values in project files: the stamped text, the values a user can
// give, and the run's order of stamping, building and giving back, in the
// sequential and the planned run. (The record that gives the bytes back is
// the fuzz target project_files's.)
#include <gtest/gtest.h>

#include <set>

#include "FakeProjectFiles.h"
#include "FakeRunPlatform.h"
#include "engine/BuildPlan.h"
#include "engine/BuildStamp.h"
#include "engine/StampedProjectFiles.h"
#include "engine/clsTolvane.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using Bytes = std::vector<std::pair<std::string, std::string>>;

const Bytes kVersion = {{"MajorVer", "2"}, {"MinorVer", "5"}, {"RevisionVer", "1234"}, {"AutoIncrementVer", "0"},
                        {"VersionCompanyName", "Tolvane \x8a\x94"}};

TEST(ProjectStamp, KeysReplacedInPlaceOrAddedAtTheMainSectionsEndAndValuesCheckedAsTheCompilerTakesThem) {
    const struct {
        std::string text, stamped;
    } cases[] = {
        // CR LF, a key twice (both take the value), a later section untouched.
        {"Type=Exe\r\nMajorVer=1\r\nMinorVer = 0\r\nRevisionVer=7\r\nmajorver=3\r\nAutoIncrementVer=1\r\n"
         "VersionCompanyName=\"Old\"\r\n\r\n[MS Transaction Server]\r\nMajorVer=1\r\n",
         "Type=Exe\r\nMajorVer=2\r\nMinorVer =5\r\nRevisionVer=1234\r\nmajorver=2\r\nAutoIncrementVer=0\r\n"
         "VersionCompanyName=\"Tolvane \x8a\x94\"\r\n\r\n[MS Transaction Server]\r\nMajorVer=1\r\n"},
        // LF only, keys missing: added after the last filled line with its line end, before the blank one.
        {"Type=Exe\nName=\"A\"\n\n[X]\n", "Type=Exe\nName=\"A\"\nMajorVer=2\nMinorVer=5\nRevisionVer=1234\n"
                                          "AutoIncrementVer=0\nVersionCompanyName=\"Tolvane \x8a\x94\"\n\n[X]\n"},
        // CR only, a Shift-JIS comment whose second byte is '[' or '=', a value quoted, no final line end.
        {"'\x83\x5b\x83=\rMajorVer=\"9\"", "'\x83\x5b\x83=\rMajorVer=\"2\"\rMinorVer=5\rRevisionVer=1234\rAutoIncrementVer=0\r"
                                       "VersionCompanyName=\"Tolvane \x8a\x94\""},
        // Nothing but another section: the keys open the file.
        {"[X]\nA=1", "MajorVer=2\nMinorVer=5\nRevisionVer=1234\nAutoIncrementVer=0\n"
                     "VersionCompanyName=\"Tolvane \x8a\x94\"\n[X]\nA=1"},
    };
    for (const auto& c : cases) {
        const std::string stamped = StampText(c.text, kVersion);
        EXPECT_EQ(stamped, c.stamped) << c.text;
        EXPECT_EQ(StampText(stamped, kVersion), stamped) << "stamping twice changes nothing";
    }
    // A string key that is not yet there, and a value that was quoted, are written quoted.
    EXPECT_EQ(StampText(std::wstring(L"Path32=..\\bin\r\nTitle=x\r\n"),
                        {{L"path32", L"out"}, {L"CondComp", L"A = 1"}}),
              L"Path32=\"out\"\r\nTitle=x\r\nCondComp=\"A = 1\"\r\n");
    EXPECT_EQ(ParseVersion(L"2.5.1234"), (std::array<int, 3>{2, 5, 1234}));
    EXPECT_EQ(ParseVersion(L"0.0.09999"), (std::array<int, 3>{0, 0, 9999}));
    for (const wchar_t* bad : {L"", L"1.2", L"1.2.3.4", L"1.2.10000", L"1..2", L" 1.2.3", L"1.2.3 ", L"-1.2.3",
                               L"１.2.3", L"1.2.000001"}) {
        EXPECT_FALSE(ParseVersion(bad)) << bad;
        EXPECT_EQ(CombineSettings(bad, {}).error.empty(), std::wstring(bad).empty());  // empty: no version
    }
    const RunSettings run = CombineSettings(L"2.5.1234", {*ParseSetting(L"VersionCompanyName=ﾄﾙﾊﾞｰﾝ商会").setting});
    ASSERT_EQ(run.settings.size(), 5u);
    EXPECT_EQ(run.settings[2].value, L"1234");
    EXPECT_EQ(run.settings[3].key + L"=" + run.settings[3].value, L"AutoIncrementVer=0");
    EXPECT_EQ(ParseSetting(L" CondComp = A=1 ").setting->value, L"A=1");

    for (const wchar_t* bad : {L"NoEquals", L"=1", L"[X]=1", L"Two Words=1", L"Form=a.frm", L"module=M; m.bas",
                               L"Title=a\tb", L"Title=\"x\"", L"MajorVer=10000", L"MinorVer=x", L"AutoIncrementVer=2",
                               L"名前=1"}) {
        EXPECT_FALSE(ParseSetting(bad).setting) << bad;
        EXPECT_FALSE(ParseSetting(bad).error.empty()) << bad;
    }
    EXPECT_EQ(CombineSettings(L"1.0.0", {{L"revisionver", L"3"}}).error, L"revisionverは/versionと同時に/setで指定できません");
    EXPECT_EQ(CombineSettings(L"", {{L"Title", L"a"}, {L"TITLE", L"b"}}).error, L"TITLEが/setで2回指定されています");
    EXPECT_EQ(CombineSettings(L"", {{L"RevisionVer", L"3"}}).settings.size(), 1u);

    EXPECT_EQ(SettingsFingerprint({}), L"");
    EXPECT_EQ(SettingsFingerprint({{L"A", L"1"}, {L"b", L"2"}}), SettingsFingerprint({{L"B", L"2"}, {L"a", L"1"}}));
    EXPECT_NE(SettingsFingerprint({{L"A", L"1"}}), SettingsFingerprint({{L"A", L"2"}}));
}

// Stamps by the script: refuses the paths in `refuse`, fails to give back those in `stuck`.
struct FakeStamper : ProjectStamper {
    ProjectSettings settings{{L"RevisionVer", L"7"}};
    std::set<std::wstring> refuse, stuck, otherSettings;
    std::vector<std::wstring>* trace = nullptr;
    std::vector<std::wstring> built;
    const ProjectSettings& Settings() const override { return settings; }
    std::optional<std::wstring> Stamp(const std::wstring& vbp) override {
        trace->push_back(L"Stamp " + vbp);
        return refuse.count(vbp) ? std::optional(vbp + L"は読み取り専用です") : std::nullopt;
    }
    std::optional<std::wstring> GiveBack(const std::wstring& vbp) override {
        trace->push_back(L"GiveBack " + vbp);
        return stuck.count(vbp) ? std::optional(vbp + L"を元に戻せませんでした") : std::nullopt;
    }
    void Built(const std::wstring& vbp) override { built.push_back(vbp); }
    bool BuiltWithOtherSettings(const std::wstring& vbp) override { return otherSettings.count(vbp) != 0; }
};

class StampedRun : public ::testing::Test {
protected:
    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};
    FakeStamper stamper;

    void SetUp() override {
        platform.files.insert(L"C:\\VB6.EXE");
        engine.SetVB(L"C:\\VB6.EXE");
        engine.SetStamper(&stamper);
        stamper.trace = &platform.trace;
        platform.defaultScript.endsAfterSteps = 1;
        for (const wchar_t* p : {L"C:\\P\\a.vbp", L"C:\\P\\b.vbp", L"C:\\P\\c.vbp", L"C:\\P\\d.vbp"}) engine.addVbp(p, true);
        stamper.refuse = {L"C:\\P\\b.vbp"};
        stamper.stuck = {L"C:\\P\\c.vbp"};
        platform.scripts[L"d.vbp"].endsAfterSteps = 1;
        platform.scripts[L"d.vbp"].boxAtStep = 0;  // an error box
    }

    // Stamp, compiler, give back, for each build; the refused one starts no compiler.
    void ExpectStampedBuilds() {
        std::vector<std::wstring> calls;
        for (const auto& t : platform.trace)
            if (t == L"StartCompiler" || t.rfind(L"Stamp", 0) == 0 || t.rfind(L"GiveBack", 0) == 0) calls.push_back(t);
        EXPECT_EQ(calls, (std::vector<std::wstring>{L"Stamp C:\\P\\a.vbp", L"StartCompiler", L"GiveBack C:\\P\\a.vbp",
                                                    L"Stamp C:\\P\\b.vbp", L"Stamp C:\\P\\c.vbp", L"StartCompiler",
                                                    L"GiveBack C:\\P\\c.vbp", L"Stamp C:\\P\\d.vbp", L"StartCompiler",
                                                    L"GiveBack C:\\P\\d.vbp"}));
        EXPECT_EQ(engine.Entry(2).FailureText(), L"C:\\P\\b.vbpは読み取り専用です");
        EXPECT_EQ(engine.Entry(3).FailureText(), L"C:\\P\\c.vbpを元に戻せませんでした");
        EXPECT_EQ(engine.Entry(4).FailureText(), L"コンパイルエラー");
        EXPECT_FALSE(engine.Entry(1).Failure());
        EXPECT_EQ(stamper.built, std::vector<std::wstring>{L"C:\\P\\a.vbp"});  // successes only
    }
};

TEST_F(StampedRun, SequentialRunStampsEachBuildAndGivesItBackAndARefusalFailsOnlyThatBuild) {
    engine.CompileStart();
    ExpectStampedBuilds();
    // The compiler cannot start: the run ends with the error, the file given back all the same.
    platform.onStart = [] { throw VbError(53, L"x", L"ﾌｧｲﾙが見つかりません"); };
    EXPECT_THROW(engine.CompileStart(), VbError);
    EXPECT_EQ(platform.trace.back(), L"GiveBack C:\\P\\a.vbp");
}

TEST_F(StampedRun, PlannedRunDoesTheSameAndThePlannerSeesTheValues) {
    testing::FakeFiles files;
    for (const wchar_t* x : {L"a", L"b", L"c", L"d"}) {
        files.texts[std::wstring(L"C:\\P\\") + x + L".vbp"] = L"Name=\"x\"\r\nExeName32=\"" + std::wstring(x) + L".exe\"";
    }
    StampedProjectFiles stamped(files, stamper);
    PlanOptions options;
    options.skip = true;
    engine.SetPlanning(options, &stamped);
    engine.CompileStart();
    ExpectStampedBuilds();

    // The planner reads the stamped text: Path32 moves the output.
    stamper.settings = {{L"Path32", L"..\\bin"}};
    EXPECT_EQ(ParseVbp(*stamped.ReadText(L"C:\\P\\a.vbp"), L"C:\\P\\a.vbp", L"").output, L"C:\\bin\\a.exe");
    // Up to date by the clock, but last built with other values: built again.
    files.times = {{L"C:\\P\\a.vbp", 1}, {L"C:\\bin\\a.exe", 2}};
    EXPECT_EQ(stamped.WriteTime(L"C:\\P\\a.vbp"), 1);
    stamper.otherSettings = {L"C:\\P\\a.vbp"};
    EXPECT_GT(*stamped.WriteTime(L"C:\\P\\a.vbp"), 2);
    EXPECT_EQ(stamped.WriteTime(L"C:\\bin\\a.exe"), 2);  // outputs keep their times
}

}  // namespace
}  // namespace tolvane

// Versions from the build server: the values reach the compiler in each
// project file, and every project file is given back byte for byte with its
// time, after a success, a failure, a refusal, a stop, the compiler's own
// save, and a program ended in the middle of a build.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

#include "ProgramScenario.h"
#include "UiDriver.h"
#include "ui/dialogs/frmCompileOption.h"

namespace tolvane::testing {
namespace {

// A project file as the user left it.
struct FileState {
    std::string bytes;
    ULONGLONG time = 0;
    DWORD attributes = 0;
    bool operator==(const FileState& o) const { return std::tie(bytes, time, attributes) == std::tie(o.bytes, o.time, o.attributes); }
};

FileState StateOf(const std::wstring& path) {
    FileState s;
    s.bytes = ReadBytes(path).value_or("(missing)");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        s.time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        s.attributes = data.dwFileAttributes;
    }
    return s;
}

// An old time, so that a time not given back shows.
void MakeOld(const std::wstring& path) {
    const Handle f(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME old{0x12345678, 0x01D5A000};  // 2019
    SetFileTime(f.Get(), nullptr, nullptr, &old);
}

// The stand-in's record beside a project, and what it saw of it ("key=value" lines of its main section).
std::wstring SeenFile(const Project& p) { return p.path.substr(0, p.path.rfind(L'\\') + 1) + L"seen.txt"; }
std::vector<std::wstring> SeenOf(const Project& p) {
    std::vector<std::wstring> lines;
    for (const auto& line : ReadUtf8Lines(SeenFile(p)))
        if (line.rfind(p.file + L"\t", 0) == 0) lines.push_back(line.substr(p.file.size() + 1));
    return lines;
}
bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) { return std::count(lines.begin(), lines.end(), line) > 0; }

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
    for (BOOL more = find.Valid(); more; more = FindNextFileW(find.Get(), &found))
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

const std::wstring kSeen = L"seen.txt";  // beside each project

TEST(VersionStamp, ConsoleVersionAndSetReachEachProjectAndEveryFileComesBackByteForByteEvenAfterAStopOrAKill) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring record = program.File(L"builds.txt");
    const Project good = MakeProject(program, {L"版\\good", L"Good", false, 0, false, {{L"StandInSeen", kSeen}}}, record);
    // LF line ends, Shift-JIS, a key twice, a key missing, a later section with a key of the same name.
    ASSERT_TRUE(WriteBytes(good.path, Ansi(L"Type=Exe\nForm=frmMain.frm\nTitle=\"帳票 ﾂｰﾙ\"\nMajorVer=1\nmajorver = 1\n"
                                           L"StandInSeen=seen.txt\nStandInRecord=" + record + L"\n"
                                           L"Name=\"Good\"\nExeName32=\"Good.exe\"\n\n[MS Transaction Server]\n"
                                           L"RevisionVer=3\n")));
    const Project broken = MakeProject(program, {L"版\\broken", L"Broken", true, 0, false, {{L"StandInSeen", kSeen}}}, record);
    const Project readOnly = MakeProject(program, {L"版\\ro", L"ReadOnly"}, record);
    const Project locked = MakeProject(program, {L"版\\locked", L"Locked"}, record);
    for (const auto* p : {&good, &broken, &readOnly, &locked}) MakeOld(p->path);
    SetFileAttributesW(readOnly.path.c_str(), FILE_ATTRIBUTE_READONLY);
    std::map<std::wstring, FileState> before;
    for (const auto* p : {&good, &broken, &readOnly, &locked}) before[p->path] = StateOf(p->path);
    const std::wstring list = program.File(L"version.clt");
    WriteList(list, {{true, good.path}, {true, broken.path}, {true, readOnly.path}, {true, locked.path}});
    const std::wstring report = program.File(L"report.xml");
    const auto allBack = [&] {
        for (const auto& [path, state] : before) EXPECT_TRUE(StateOf(path) == state) << ToUtf8(path);
    };

    CmdRun run = [&] {
        const LockedFile held(locked.path);
        return RunCmd(program, L"\"" + list + L"\" /version 2.5.1234 /set \"VersionCompanyName=ﾄﾙﾊﾞｰﾝ 商会\" "
                                        L"/SET CondComp=DEBUG=1 /junit \"" + report + L"\"");
    }();
    EXPECT_EQ(run.status, 1u) << ToUtf8(run.err);
    const auto seen = SeenOf(good);
    for (const wchar_t* line : {L"MajorVer=2", L"majorver =2", L"MinorVer=5", L"RevisionVer=1234", L"AutoIncrementVer=0",
                                L"VersionCompanyName=\"ﾄﾙﾊﾞｰﾝ 商会\"", L"CondComp=\"DEBUG=1\"", L"Title=\"帳票 ﾂｰﾙ\""})
        EXPECT_TRUE(Contains(seen, line)) << ToUtf8(line);
    EXPECT_TRUE(Contains(SeenOf(broken), L"RevisionVer=1234"));
    // Neither refused project reached a compiler; each failed with the reason, and the run went on.
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u);
    EXPECT_EQ(UnderFailure(run.out, readOnly),
              std::vector<std::wstring>{L"\t" + readOnly.path + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: 読み取り専用のﾌｧｲﾙです"});
    EXPECT_EQ(UnderFailure(run.out, locked).at(0).rfind(L"\t" + locked.path + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: ", 0), 0u);
    EXPECT_TRUE(Contains(run.out, L"3件のｺﾝﾊﾟｲﾙに失敗しています"));
    EXPECT_NE(ReadBytes(report).value_or("").find("<property name=\"version\" value=\"2.5.1234\"/>"), std::string::npos);
    allBack();
    // Nothing left where a search or the user would find it.
    EXPECT_EQ(FilesIn(program.File(L"版\\good")), (std::vector<std::wstring>{L"Good.exe", L"Good.vbp", L"frmMain.frm", L"seen.txt"}));
    EXPECT_EQ(FilesIn(program.File(L"TolvaneStamp")), std::vector<std::wstring>{L"LastBuilt.txt"});

    // The compiler saves the project itself (AutoIncrementVer=1 raises the revision): given back all the same.
    WriteList(list, {{true, good.path}});
    run = RunCmd(program, L"\"" + list + L"\" /set AutoIncrementVer=1");
    EXPECT_EQ(run.status, 0u) << ToUtf8(run.err);
    EXPECT_TRUE(Contains(SeenOf(good), L"AutoIncrementVer=1"));
    allBack();
    // Skipping: built last with other values, so not up to date; then unchanged, so skipped.
    for (const wchar_t* status : {L"ｺﾝﾊﾟｲﾙ開始", L"ｺﾝﾊﾟｲﾙ省略"}) {
        run = RunCmd(program, L"\"" + list + L"\" /skip /version 2.5.1234");
        EXPECT_EQ(Masked(run.out).at(0), Progress(good, status));
    }
    allBack();

    if (const char* drive = std::getenv("TOLVANE_SMALL_DISK")) {
        // A full disk: the stamped text (longer by a page) cannot be written; the file stays as it was.
        const std::wstring full = FromUtf8(drive) + L"Full.vbp", filler = FromUtf8(drive) + L"filler";
        ASSERT_TRUE(WriteBytes(full, "Type=Exe\r\nName=\"Full\"\r\n"));
        const FileState fullBefore = StateOf(full);
        for (int i = 0; WriteBytes(filler + std::to_wstring(i), std::string(4096, 'x')); ++i) {
        }
        WriteList(list, {{true, full}});
        run = RunCmd(program, L"\"" + list + L"\" /set VersionComments=" + std::wstring(5000, L'x'));
        EXPECT_EQ(run.out.at(2).rfind(L"\t" + full + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: ", 0), 0u) << ToUtf8(run.out.at(2));
        EXPECT_TRUE(StateOf(full) == fullBefore);
        for (int i = 0; DeleteFileW((filler + std::to_wstring(i)).c_str()); ++i) {
        }
        DeleteFileW(full.c_str());
    }

    // A build that never ends, stopped; then the runner killed in the middle of it.
    const std::wstring hungRecord = program.File(L"hung.txt");
    const Project hung = MakeProject(program, {L"p1", L"Hung", false, 0, true, {{L"StandInSeen", kSeen}}}, hungRecord);
    const Project after = MakeProject(program, {L"p2", L"After"}, hungRecord);
    MakeOld(hung.path);
    const FileState hungBefore = StateOf(hung.path);
    WriteList(list, {{true, hung.path}, {true, after.path}});
    const std::wstring cmdLine = Quoted(program.File(L"TolvaneCmd.exe")) + L" " + Quoted(list) + L" /version 7.0.99";
    {
        ChildProcess cmd(cmdLine, program.File(L"out.txt"), program.File(L"err.txt"));
        // Stopped once the hung build has recorded its start, so that its line is
        // always there and a second line can only come from the next build.
        ASSERT_TRUE(WaitUntil([&] { return ReadUtf8Lines(hungRecord).size() == 1 && !SeenOf(hung).empty(); }, 60s));
        ASSERT_EQ(RunningCompilersOf(cmd.Id()), 1);
        ASSERT_TRUE(StopTheRunner());
        run = FinishedRun(cmd, program);
        EXPECT_EQ(run.status, 3u);
        EXPECT_EQ(RunningCompilersOf(cmd.Id()), 0);
        EXPECT_EQ(Masked(run.out), (std::vector<std::wstring>{Progress(hung, kStarted), L"ｺﾝﾊﾟｲﾙを中止しています・・・",
                                                              L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・",
                                                              Progress(hung, kFailed),
                                                              L"\t中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました", L"",
                                                              L"ｺﾝﾊﾟｲﾙを中止しました", L"", L""}));
        EXPECT_EQ(ReadUtf8Lines(hungRecord).size(), 1u);  // the next build never started
    }
    EXPECT_TRUE(StateOf(hung.path) == hungBefore);

    DeleteFileW(SeenFile(hung).c_str());
    {
        ChildProcess cmd(cmdLine, program.File(L"out.txt"), program.File(L"err.txt"));
        ASSERT_TRUE(WaitUntil([&] { return !SeenOf(hung).empty(); }, 60s));
        TerminateProcess(cmd.Handle(), 9);
        ASSERT_TRUE(cmd.WaitForExit(30s));
    }
    // Ended in the middle of the build: still stamped until a program starts.
    EXPECT_NE(StateOf(hung.path).bytes.find("RevisionVer=99"), std::string::npos);
    RunningProgram tolvane(program);
    ASSERT_NE(tolvane.WaitForMain(), nullptr);
    EXPECT_EQ(tolvane.LogLines().at(0), hung.path + L"を元に戻しました(前回のｺﾝﾊﾟｲﾙ中にﾌﾟﾛｸﾞﾗﾑが終了したため)");
    EXPECT_TRUE(StateOf(hung.path) == hungBefore);
}

// Both set in the dialog: every build of F12 gets the version; every failure
// shows the compiler's own lines, two builds failing at the same moment each
// their own, and a build that succeeded after load errors fails.
TEST(VersionStamp, WindowVersionAndCompilerLogAreCheckedAndEveryBuildOfF12GetsThem) {
    ProgramFolder program;
    const Project app = MakeProject(program, {L"本体", L"App", false, 0, false, {{L"StandInSeen", kSeen}}}, L"");
    const Project readOnly = MakeProject(program, {L"読取", L"ReadOnly"}, L"");
    SetFileAttributesW(readOnly.path.c_str(), FILE_ATTRIBUTE_READONLY);
    const ErrorProject bas = MakeErrorProject(program, L"標準", L"Module1", L"bas", L"", {{L"StandInDelayMs", L"1500"}});
    const ErrorProject frm = MakeErrorProject(program, L"画面", L"Form1", L"frm", L"", {{L"StandInDelayMs", L"1500"}});
    const Project trap =
        MakeProject(program, {L"trap", L"Trap", false, 0, false, {{L"StandInLoadErrors", L"frmMain.frm"}}}, L"");
    const FileState appBefore = StateOf(app.path), readOnlyBefore = StateOf(readOnly.path);
    ListedAtStart(program, L"五件.clt", AllChecked({bas.project, frm.project, trap, readOnly, app}), {{L"Parallel", L"2"}});

    RunningProgram tolvane(program);
    ASSERT_NE(tolvane.WaitForMain(), nullptr);
    HWND dialog = Opened(tolvane, ids::mnuCompileOption, L"ｺﾝﾊﾟｲﾙ設定");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(Child(dialog, frmCompileOption::chkCompilerLog)), L"ｺﾝﾊﾟｲﾗのﾛｸﾞを読む");
    Click(Child(dialog, frmCompileOption::chkCompilerLog));
    CaptureWindow(dialog, "compile_option_compiler_log");
    HWND box = Child(dialog, frmCompileOption::txtVersion);
    EXPECT_EQ(WindowText(box), L"");  // absent from Tolvane.ini
    SetWindowTextTo(box, L"2.5");
    Click(Child(dialog, frmCompileOption::cmdGo));
    CaptureWindow(tolvane.WaitForClass(kWarningBoxClass), "compile_option_bad_version");
    ExpectBox(tolvane, kWarningBoxClass, L"ﾊﾞｰｼﾞｮﾝが正しくありません", L"2.5.1234 のように0から9999の数を3つ指定してください");
    CaptureWindow(dialog, "compile_option_version");
    SetWindowTextTo(box, L"3.1.42");
    Click(Child(dialog, frmCompileOption::cmdGo));
    EXPECT_EQ(Answered(tolvane).line2, L"設定しました");
    ASSERT_TRUE(Answer(dialog, frmCompileOption::cmdCancel));
    for (const char* stored : {"Version=3.1.42\r\n", "CompilerLog=1\r\n"})
        EXPECT_NE(program.Bytes(L"Tolvane.ini")->find(stored), std::string::npos) << stored;

    EXPECT_EQ(RunToTheEnd(tolvane).first, L"4件のｺﾝﾊﾟｲﾙに失敗しています");
    const std::wstring log = tolvane.LogText();
    EXPECT_NE(log.find(L"\t" + readOnly.path + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: 読み取り専用のﾌｧｲﾙです"),
              std::wstring::npos);
    const auto seen = SeenOf(app);
    for (const wchar_t* line : {L"MajorVer=3", L"MinorVer=1", L"RevisionVer=42", L"AutoIncrementVer=0"})
        EXPECT_TRUE(Contains(seen, line)) << ToUtf8(line);
    EXPECT_TRUE(StateOf(app.path) == appBefore);
    EXPECT_TRUE(StateOf(readOnly.path) == readOnlyBefore);
    const std::wstring failed = L"   " + kFailed + L"\r\n\tｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 1 / 0x00000001)\r\n";
    for (const ErrorProject* e : {&bas, &frm}) {
        const std::wstring block = e->project.file + failed + L"\tCompile Error in File '" + e->source +
                                   L"', Line 2 : 構文エラー\r\n\t" + e->source + L"(" + std::to_wstring(e->line) +
                                   L"行目): 構文エラー\r\n\r\n";
        EXPECT_NE(log.find(block), std::wstring::npos) << ToUtf8(block) << "\n" << ToUtf8(log);
    }
    EXPECT_NE(log.find(trap.file + L"   " + kFailed + L"\r\n\tﾛｰﾄﾞｴﾗｰがあります(frmMain.log)\r\n"
                       L"\tLine 8: The property name BogusProperty is invalid.\r\n"),
              std::wstring::npos);
    CaptureWindow(tolvane.WaitForMain(), "main_compiler_log");
}

}  // namespace
}  // namespace tolvane::testing

#include "console/rules/RunnerOptions.h"

#include <cwctype>
#include <utility>

#include "engine/BuildPlan.h"
#include "support/PathNames.h"
#include "support/TimeLimit.h"

namespace tolvane {
namespace {

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

ParsedArguments Refuse(const std::wstring& reason) {
    ParsedArguments parsed;
    parsed.error = reason;
    return parsed;
}

}  // namespace

ParsedArguments ParseRunnerArguments(const std::vector<std::wstring>& args) {
    RunnerOptions options;
    std::vector<std::wstring> seen;
    for (const auto& arg : args) {
        // A quoted path ending in a backslash ("C:\Out\") reaches us with the
        // closing quote kept and the following arguments run into it.
        if (arg.find(L'"') != std::wstring::npos) {
            return Refuse(arg + L"に「\"」が含まれています: 引用符で囲んだﾊﾟｽは末尾の \\ を外してください");
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg.empty() || arg[0] != L'/') {
            options.inputs.push_back(arg);
            continue;
        }
        const std::wstring name = Lower(arg);
        if (name == L"/?") {
            options.help = true;
            continue;
        }
        if (name == L"/set") {
            if (i + 1 >= args.size()) return Refuse(arg + L"の後に値を指定してください");
            const SettingArgument set = ParseSetting(args[++i]);
            if (!set.setting) return Refuse(set.error);
            options.sets.push_back(*set.setting);
            continue;
        }
        for (const auto& earlier : seen) {
            if (earlier == name) return Refuse(arg + L"が2回指定されています");
        }
        seen.push_back(name);
        // Switches that stand alone.
        const std::pair<const wchar_t*, bool*> flags[] = {
            {L"/all", &options.all}, {L"/recheck", &options.recheck}, {L"/order", &options.order}, {L"/skip", &options.skip},
            {L"/compilerlog", &options.compilerLog}, {L"/plan", &options.plan}};
        bool* flag = nullptr;
        for (const auto& [flagName, field] : flags) {
            if (name == flagName) flag = field;
        }
        if (flag) {
            *flag = true;
            continue;
        }
        const bool takesValue = name == L"/outdir" || name == L"/d" || name == L"/limit" || name == L"/vb" ||
                                name == L"/junit" || name == L"/parallel" || name == L"/version" || name == L"/shard";
        if (!takesValue) return Refuse(arg + L"は使用できないｽｲｯﾁです");
        if (i + 1 >= args.size()) return Refuse(arg + L"の後に値を指定してください");
        const std::wstring& value = args[++i];
        if (name == L"/outdir") {
            options.outDir = value;
        } else if (name == L"/d") {
            options.dimension = value;
        } else if (name == L"/vb") {
            options.vb = value;
        } else if (name == L"/junit") {
            options.junit = value;
        } else if (name == L"/version") {
            if (!ParseVersion(value)) return Refuse(value + L"は/versionに指定できません: " + kVersionRule);
            options.version = value;
        } else if (name == L"/shard") {
            options.shard = ParseShard(value);
            if (!options.shard) {
                return Refuse(value + L"は/shardに指定できません: 番号/分割数(1≦番号≦分割数≦" +
                              std::to_wstring(kMaxShards) + L")の形で指定してください");
            }
        } else if (name == L"/parallel") {
            options.parallel = ParseParallel(value);
            if (!options.parallel) {
                return Refuse(value + L"は/parallelに指定できません: 1から" + std::to_wstring(kMaxParallel) +
                              L"までの数を指定してください");
            }
        } else {
            options.limit = ParseTimeLimit(value);
            if (!options.limit) {
                return Refuse(value + L"は/limitに指定できません: " + TimeLimitRule());
            }
        }
    }
    // Asked for help, the rest does not matter.
    if (options.help) {
        RunnerOptions help;
        help.help = true;
        return {help, {}};
    }
    if (options.inputs.empty()) return Refuse(L"ｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)、vbg、vbpかﾌｫﾙﾀﾞを指定してください");
    // The list is saved back: it must be the one list the run came from.
    if (options.recheck && (options.inputs.size() != 1 || !HasExtension(options.inputs[0], L"clt"))) {
        return Refuse(L"/recheckはｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)を1つだけ指定したときに使用できます");
    }
    if (options.recheck && options.shard) return Refuse(L"/recheckと/shardは同時に指定できません");
    const RunSettings run = CombineSettings(options.version.value_or(L""), options.sets);
    if (!run.error.empty()) return Refuse(run.error);
    return {options, {}};
}

std::wstring UsageText() {
    return L"使い方: TolvaneCmd <入力> [<入力> ...] [/outdir <ﾌｫﾙﾀﾞ>] [/d <引数>] [/all]\r\n"
           L"                  [/limit <分>] [/vb <VB6.EXE>] [/recheck] [/junit <ﾚﾎﾟｰﾄ.xml>]\r\n"
           L"                  [/order] [/skip] [/parallel <数>] [/plan] [/shard <番号>/<分割数>]\r\n"
           L"                  [/compilerlog] [/version <ﾒｼﾞｬｰ>.<ﾏｲﾅｰ>.<ﾘﾋﾞｼﾞｮﾝ>] [/set <ｷｰ>=<値>]...\r\n"
           L"\r\n"
           L"入力のﾌﾟﾛｼﾞｪｸﾄを指定の順にｺﾝﾊﾟｲﾙします。入力は次のどれかです。\r\n"
           L"  <ｺﾝﾊﾟｲﾙﾘｽﾄ.clt>  ﾁｪｯｸされたﾌﾟﾛｼﾞｪｸﾄ\r\n"
           L"  <ｸﾞﾙｰﾌﾟ.vbg>     ｸﾞﾙｰﾌﾟのﾌﾟﾛｼﾞｪｸﾄ (ｸﾞﾙｰﾌﾟの順)\r\n"
           L"  <ﾌﾟﾛｼﾞｪｸﾄ.vbp>   そのﾌﾟﾛｼﾞｪｸﾄ\r\n"
           L"  <ﾌｫﾙﾀﾞ>          ﾌｫﾙﾀﾞ以下のvbp (「指定ﾌｫﾙﾀﾞ以下のvbpを追加」と同じ順)\r\n"
           L"  同じﾌﾟﾛｼﾞｪｸﾄは最初の位置で1回だけｺﾝﾊﾟｲﾙします。\r\n"
           L"\r\n"
           L"  /outdir   全てのEXEを出力するﾌｫﾙﾀﾞ\r\n"
           L"  /d        条件付きｺﾝﾊﾟｲﾙ引数 (例: DEBUG=1:TRACE=0)\r\n"
           L"  /all      ﾁｪｯｸの無いﾌﾟﾛｼﾞｪｸﾄもｺﾝﾊﾟｲﾙする\r\n"
           L"  /limit    1件のｺﾝﾊﾟｲﾙの制限時間(分)。0は制限なし。省略時はTolvane.iniのTimeLimit、無ければ30\r\n"
           L"  /vb       VB6.EXEのﾊﾟｽ。省略時はTolvane.iniのEXE\r\n"
           L"  /recheck  失敗したﾌﾟﾛｼﾞｪｸﾄだけにﾁｪｯｸを付けてｺﾝﾊﾟｲﾙﾘｽﾄを保存する(入力はｺﾝﾊﾟｲﾙﾘｽﾄ1つ)\r\n"
           L"  /junit    結果をJUnit形式のXMLﾚﾎﾟｰﾄに書き出す\r\n"
           L"  /order    参照順にｺﾝﾊﾟｲﾙする\r\n"
           L"  /skip     更新されていないﾌﾟﾛｼﾞｪｸﾄはｽｷｯﾌﾟする\r\n"
           L"  /parallel 同時ｺﾝﾊﾟｲﾙ数(1から8)\r\n"
           L"  /compilerlog ｺﾝﾊﾟｲﾗのﾛｸﾞを読む(失敗の理由とｴﾗｰのﾌｧｲﾙと行を表示する)\r\n"
           L"            /order、/skip、/parallel、/compilerlogの省略時はTolvane.iniのｺﾝﾊﾟｲﾙ設定に従う\r\n"
           L"  /plan     ｺﾝﾊﾟｲﾙせずに、ｺﾝﾊﾟｲﾙ順とその理由を表示する\r\n"
           L"  /shard    分割数に分けたうちの1つだけをｺﾝﾊﾟｲﾙする(例: 2/3)。参照し合うﾌﾟﾛｼﾞｪｸﾄは\r\n"
           L"            同じ分割に入る。全ての番号で実行すると各ﾌﾟﾛｼﾞｪｸﾄを1回ずつｺﾝﾊﾟｲﾙする\r\n"
           L"  /version  全てのﾌﾟﾛｼﾞｪｸﾄをこのﾊﾞｰｼﾞｮﾝでｺﾝﾊﾟｲﾙする(各0から9999)。自動ｲﾝｸﾘﾒﾝﾄはしない\r\n"
           L"            例: /version 2.5.%BUILD_NUMBER%  省略時はTolvane.iniのVersion\r\n"
           L"  /set      ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙの設定をｺﾝﾊﾟｲﾙの間だけ変える。繰り返し指定できる\r\n"
           L"            例: /set VersionCompanyName=ﾄﾙﾊﾞｰﾝ /set Path32=..\\bin\r\n"
           L"            ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙはｺﾝﾊﾟｲﾙの後、元のとおりに戻す\r\n"
           L"\r\n"
           L"終了ｺｰﾄﾞ: 0 全て成功 / 1 失敗あり / 2 実行できない(引数、ﾌｧｲﾙ、ﾌｫﾙﾀﾞの誤り) / 3 中止\r\n";
}

}  // namespace tolvane

#include "engine/VbpProject.h"

#include "engine/KeyValueLines.h"
#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {

namespace {

// The part after "Name; " in Module=, Class= and Object= lines.
std::wstring AfterSemicolon(const std::wstring& value) {
    const auto k = value.find(L';');
    return TrimBlanks(k == std::wstring::npos ? value : value.substr(k + 1));
}

// Companion extensions of the files that keep binary data beside them.
const wchar_t* CompanionOf(const std::wstring& key) {
    if (key == L"form") return L"frx";
    if (key == L"usercontrol") return L"ctx";
    if (key == L"designer") return L"dsx";
    if (key == L"propertypage") return L"pgx";
    if (key == L"userdocument") return L"dox";
    return nullptr;
}

const wchar_t* ExtensionOf(VbpType type) {
    switch (type) {
        case VbpType::OleDll: return L".dll";
        case VbpType::Control: return L".ocx";
        default: return L".exe";
    }
}

VbpType TypeFrom(const std::wstring& value) {
    const std::wstring v = PathKey(Unquote(value));
    if (v == L"oledll") return VbpType::OleDll;
    if (v == L"oleexe") return VbpType::OleExe;
    if (v == L"control") return VbpType::Control;
    return VbpType::Exe;
}

}  // namespace

VbpProject ParseVbp(const std::wstring& text, const std::wstring& vbpPath, const std::wstring& outFolder) {
    VbpProject p;
    const std::wstring folder = vbpPath.rfind(L'\\') == std::wstring::npos ? std::wstring() : GetFolderPath(vbpPath);
    const auto resolve = [&](const std::wstring& path) { return ResolvePath(folder, path); };
    std::wstring exeName, path32, compatible, compatibleMode;

    for (const KeyValue& line : ReadMainSection(text)) {
        const std::wstring& key = line.key;
        const std::wstring& value = line.value;
        if (key == L"type") {
            p.type = TypeFrom(value);
        } else if (key == L"name") {
            p.name = Unquote(value);
        } else if (key == L"exename32") {
            exeName = Unquote(value);
        } else if (key == L"path32") {
            path32 = Unquote(value);
        } else if (key == L"compatibleexe32") {
            compatible = Unquote(value);
        } else if (key == L"compatiblemode") {
            compatibleMode = Unquote(value);
        } else if (key == L"module" || key == L"class") {
            if (!AfterSemicolon(value).empty()) p.sources.push_back({resolve(AfterSemicolon(value)), false});
        } else if (key == L"resfile32") {
            if (!Unquote(value).empty()) p.sources.push_back({resolve(Unquote(value)), false});
        } else if (const wchar_t* companion = CompanionOf(key)) {
            const std::wstring file = TrimBlanks(value);
            if (file.empty()) continue;
            p.sources.push_back({resolve(file), false});
            p.sources.push_back({WithExtension(resolve(file), companion), true});
        } else if (key == L"reference" || key == L"object") {
            const std::wstring v = TrimBlanks(value);
            if (v.compare(0, 3, L"*\\A") == 0 || v.compare(0, 3, L"*\\a") == 0) {
                if (v.size() > 3) p.projects.push_back(resolve(v.substr(3)));
            } else if (key == L"object") {
                if (!AfterSemicolon(v).empty() && v.find(L';') != std::wstring::npos) p.controls.push_back(AfterSemicolon(v));
            } else {
                // *\G{GUID}#version#lcid#path#description: the path is the fourth field.
                std::size_t at = 0;
                for (int i = 0; i < 3 && at != std::wstring::npos; ++i) {
                    at = v.find(L'#', at);
                    if (at != std::wstring::npos) ++at;
                }
                if (at == std::wstring::npos) continue;
                const auto stop = v.find(L'#', at);
                const std::wstring lib = TrimBlanks(v.substr(at, stop == std::wstring::npos ? std::wstring::npos : stop - at));
                if (!lib.empty()) p.typeLibs.push_back(resolve(lib));
            }
        }
    }

    if (exeName.empty()) exeName = (p.name.empty() ? std::wstring(L"Project1") : p.name) + ExtensionOf(p.type);
    p.output = outFolder.empty() ? resolve(path32.empty() ? exeName : JoinFolderAndName(path32, exeName))
                                 : ResolvePath(outFolder, exeName);
    // Mode 0 means no compatibility: the compiler does not read the file then.
    if (!compatible.empty() && TrimBlanks(compatibleMode) != L"0") p.compatible = resolve(compatible);
    return p;
}

}  // namespace tolvane

#include "console/rules/CiAnnotation.h"

#include <initializer_list>
#include <utility>

#include "support/PathNames.h"

namespace tolvane {

namespace {

// The servers write "true" and "True"; letter case is not what tells.
bool IsTrue(const std::wstring& value) { return PathKey(value) == L"true"; }

std::wstring Escaped(const std::wstring& text, std::initializer_list<std::pair<wchar_t, const wchar_t*>> codes) {
    std::wstring out;
    for (wchar_t c : text) {
        const wchar_t* code = nullptr;
        for (const auto& [from, to] : codes)
            if (c == from) code = to;
        if (code) {
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

// Under the workspace, the path from there with forward slashes, as the
// repository names its files.
std::wstring InWorkspace(const std::wstring& path, std::wstring workspace) {
    while (!workspace.empty() && (workspace.back() == L'\\' || workspace.back() == L'/')) workspace.pop_back();
    const std::wstring root = PathKey(ResolvePath(L"", workspace)) + L"\\";
    if (workspace.empty() || PathKey(path).compare(0, root.size(), root) != 0) return path;
    std::wstring relative = path.substr(root.size());
    for (auto& c : relative)
        if (c == L'\\') c = L'/';
    return relative;
}

}  // namespace

std::wstring CiAnnotation(const CiEnvironment& environment, const std::wstring& project, const SourceError& at) {
    const std::wstring line = std::to_wstring(at.line);
    if (IsTrue(environment.githubActions)) {
        const auto property = [](const std::wstring& v) {
            return Escaped(v, {{L'%', L"%25"}, {L'\r', L"%0D"}, {L'\n', L"%0A"}, {L':', L"%3A"}, {L',', L"%2C"}});
        };
        return L"::error file=" + property(InWorkspace(at.path, environment.githubWorkspace)) + L",line=" + line +
               L",title=" + property(project) + L"::" +
               Escaped(at.message, {{L'%', L"%25"}, {L'\r', L"%0D"}, {L'\n', L"%0A"}});
    }
    if (IsTrue(environment.tfBuild)) {
        const auto escape = [](const std::wstring& v) {
            return Escaped(v, {{L'%', L"%AZP25"}, {L';', L"%3B"}, {L'\r', L"%0D"}, {L'\n', L"%0A"}, {L']', L"%5D"}});
        };
        return L"##vso[task.logissue type=error;sourcepath=" + escape(at.path) + L";linenumber=" + line + L"]" +
               Escaped(project + L": " + at.message, {{L'%', L"%AZP25"}, {L'\r', L"%0D"}, {L'\n', L"%0A"}});
    }
    return std::wstring();
}

}  // namespace tolvane

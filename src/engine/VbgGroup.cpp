#include "engine/VbgGroup.h"

#include "engine/KeyValueLines.h"
#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {

std::vector<std::wstring> ParseVbg(const std::wstring& text, const std::wstring& vbgPath) {
    const std::wstring folder = vbgPath.rfind(L'\\') == std::wstring::npos ? std::wstring() : GetFolderPath(vbgPath);
    std::vector<std::wstring> projects;
    for (const KeyValue& line : ReadMainSection(text)) {
        if (line.key != L"project" && line.key != L"startupproject") continue;
        const std::wstring path = Unquote(line.value);
        if (!path.empty()) projects.push_back(ResolvePath(folder, path));
    }
    return projects;
}

}  // namespace tolvane

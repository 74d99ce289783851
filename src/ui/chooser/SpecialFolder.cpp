#include "ui/chooser/SpecialFolder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "support/VbError.h"

namespace tolvane {
namespace {

struct Kind {
    const wchar_t* name;
    const KNOWNFOLDERID* folder;
};

// The names are those the script host's collection knows; the platform's
// known folders stand in for it.
const Kind kKinds[] = {
    {L"Desktop", &FOLDERID_Desktop},
    {L"Program", &FOLDERID_Programs},
    {L"MyDocuments", &FOLDERID_Documents},
    {L"お気に入り", &FOLDERID_Favorites},
    {L"Startup", &FOLDERID_Startup},
    {L"Recent", &FOLDERID_Recent},
    {L"StartMenu", &FOLDERID_StartMenu},
    {L"NetHood", &FOLDERID_NetHood},
    {L"Font", &FOLDERID_Fonts},
    {L"Template", &FOLDERID_Templates},
    {L"AllUserStartMenu", &FOLDERID_CommonStartMenu},
    {L"AllUserProgram", &FOLDERID_CommonPrograms},
    {L"AllUserStartup", &FOLDERID_CommonStartup},
    {L"AllUserDesktop", &FOLDERID_PublicDesktop},
    {L"AppData", &FOLDERID_RoamingAppData},
    {L"Cookies", &FOLDERID_Cookies},
    {L"History", &FOLDERID_History},
    {L"IECache", &FOLDERID_InternetCache},
    {L"PrintHood", &FOLDERID_PrintHood},
};

const Kind* Find(std::int32_t kind) {
    if (kind < 0 || kind >= static_cast<std::int32_t>(sizeof kKinds / sizeof kKinds[0])) return nullptr;
    return &kKinds[kind];
}

}  // namespace

std::wstring SpecialFolder(std::int32_t kind) {
    const Kind* k = Find(kind);
    if (!k) return std::wstring();
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(*k->folder, 0, nullptr, &path);
    std::wstring result = SUCCEEDED(hr) && path ? path : L"";
    CoTaskMemFree(path);
    if (FAILED(hr) || result.empty()) {
        throw VbError(static_cast<std::int32_t>(hr), L"SpecialFolder",
                      std::wstring(k->name) + L"フォルダの場所が分かりません");
    }
    return result;
}

}  // namespace tolvane

#include "ui/startup/ProgramVersion.h"

#include <windows.h>

#include <vector>

#include "ui/dialogs/rules/VersionText.h"

namespace tolvane {
namespace {

using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

template <typename Fn>
Fn Entry(HMODULE dll, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

// The version routines live in version.dll, which the program otherwise
// does not need; it is loaded for this one read.
class VersionDll {
public:
    VersionDll() : dll_(LoadLibraryW(L"version.dll")) {}
    ~VersionDll() {
        if (dll_) FreeLibrary(dll_);
    }
    VersionDll(const VersionDll&) = delete;
    VersionDll& operator=(const VersionDll&) = delete;
    HMODULE Handle() const { return dll_; }

private:
    HMODULE dll_;
};

}  // namespace

std::wstring ReadVersionText(const std::wstring& modulePath) {
    VersionDll dll;
    if (!dll.Handle()) return L"";
    auto getSize = Entry<GetSizeFn>(dll.Handle(), "GetFileVersionInfoSizeW");
    auto getInfo = Entry<GetInfoFn>(dll.Handle(), "GetFileVersionInfoW");
    auto query = Entry<QueryFn>(dll.Handle(), "VerQueryValueW");
    if (!getSize || !getInfo || !query) return L"";

    DWORD ignored = 0;
    const DWORD size = getSize(modulePath.c_str(), &ignored);
    if (size == 0) return L"";
    std::vector<BYTE> data(size);
    if (!getInfo(modulePath.c_str(), 0, size, data.data())) return L"";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!query(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD) {
        return L"";
    }
    return VersionTextFromFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

}  // namespace tolvane

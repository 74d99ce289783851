#include "support/win32/RelateExecute.h"

#include <windows.h>
#include <shellapi.h>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"

namespace tolvane {
namespace {

// The shell's result is an error code when it is 32 or less.
bool ShellSucceeded(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

}  // namespace

void RelateExecute(const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    if (!FileExists(path)) throw TolvaneError(L"RelateExecute", name + L"が見つかりません");
    if (!ShellSucceeded(ShellExecuteW(nullptr, L"Open", path.c_str(), L"", L"", SW_SHOW))) {
        throw TolvaneError(L"RelateExecute", name + L"が開けませんでした");
    }
}

void StringExecute(const std::wstring& command) {
    if (!ShellSucceeded(ShellExecuteW(nullptr, nullptr, command.c_str(), nullptr, L"", SW_SHOWNORMAL))) {
        throw TolvaneError(L"StringExecute", command + L"が実行出来ませんでした");
    }
}

}  // namespace tolvane

#include "support/win32/PlatformResult.h"

#include <cstdint>

#include "support/win32/Files.h"

namespace tolvane {

std::wstring PlatformResult::Text() const { return LastErrorText(code_); }

VbError PlatformResult::Error(const std::wstring& what) const {
    return VbError(static_cast<std::int32_t>(code_), source_, what.empty() ? Text() : what + L": " + Text());
}

}  // namespace tolvane

#pragma once
// The error a call raises, for checking its number and text; a test failure
// (and an empty error) when it raises none.
#include <gtest/gtest.h>

#include "support/VbError.h"

namespace tolvane::testing {

template <class F>
VbError Raised(F f) {
    try {
        f();
    } catch (const VbError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return VbError(0, L"", L"");
}

}  // namespace tolvane::testing

#include <gtest/gtest.h>
#include "support/VbError.h"
TEST(Smoke, ErrorNumber) { EXPECT_EQ(tolvane::kTolvaneErrorNumber, -2147220503); }

#include <gtest/gtest.h>

#include "platform/ScratchFolder.h"
#include "support/VbError.h"
#include "support/win32/RelateExecute.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

TEST(RelateExecute, MissingDocumentNamesTheFileOnly) {
    ScratchFolder folder;
    try {
        RelateExecute(folder / L"ReadMe.txt");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), L"RelateExecute");
        EXPECT_EQ(e.Description(), L"ReadMe.txtが見つかりません");
    }
}

TEST(RelateExecute, HiddenDocumentCountsAsMissing) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder / L"ReadMe.txt", "x"));
    ASSERT_TRUE(SetFileAttributesW((folder / L"ReadMe.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    try {
        RelateExecute(folder / L"ReadMe.txt");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Description(), L"ReadMe.txtが見つかりません");
    }
}

TEST(StringExecute, UnresolvableCommandIsQuotedWhole) {
    const std::wstring command = L"C:\\tolvane-missing\\no such tool.exe";
    try {
        StringExecute(command);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), L"StringExecute");
        EXPECT_EQ(e.Description(), command + L"が実行出来ませんでした");
    }
}

}  // namespace
}  // namespace tolvane

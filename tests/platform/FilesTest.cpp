// FileExists, and opening documents and commands.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/RelateExecute.h"

namespace tolvane {
namespace {

using testing::WriteBytes;

TEST(FileExists, OrdinaryVisibleFilesInAnyCaseOnly) {
    testing::TempFolder folder;
    const std::wstring path = folder.File(L"App.vbp");
    ASSERT_TRUE(WriteBytes(path, "x"));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub").c_str(), nullptr));
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(FileExists(folder.File(L"APP.VBP")));
    for (const std::wstring& no : {folder.File(L"Other.vbp"), folder.File(L"*.vbp"), folder.File(L"?pp.vbp"),
                                   folder.File(L"Sub"), folder.File(L"Sub\\"), folder.Path(), std::wstring()})
        EXPECT_FALSE(FileExists(no)) << ::testing::PrintToString(no);

    const std::pair<DWORD, bool> attributes[] = {{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, true},
                                                 {FILE_ATTRIBUTE_HIDDEN, false},
                                                 {FILE_ATTRIBUTE_SYSTEM, false}};
    for (const auto& [attribute, exists] : attributes) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attribute));
        EXPECT_EQ(FileExists(path), exists) << attribute;
        EXPECT_EQ(FileExists(folder.File(L"app.vbp")), exists) << attribute;
    }
}

template <class F>
void ExpectError(F f, const wchar_t* source, const std::wstring& description) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), source);
        EXPECT_EQ(e.Description(), description);
    }
}

// A missing document is the start-up scenario's part; a hidden one counts as missing too.
TEST(RelateExecute, HiddenDocumentAndUnresolvableCommandAreNamed) {
    testing::TempFolder folder;
    const std::wstring doc = folder.File(L"ReadMe.txt");
    ASSERT_TRUE(WriteBytes(doc, "x"));
    ASSERT_TRUE(SetFileAttributesW(doc.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ExpectError([&] { RelateExecute(doc); }, L"RelateExecute", L"ReadMe.txtが見つかりません");
    const std::wstring command = L"C:\\tolvane-missing\\no such tool.exe";
    ExpectError([&] { StringExecute(command); }, L"StringExecute", command + L"が実行出来ませんでした");
}

}  // namespace
}  // namespace tolvane

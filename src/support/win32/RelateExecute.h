#pragma once
// basRelateExecute: documents and commands handed to the Windows shell.
#include <string>

namespace tolvane {

// Opens the document with the program associated with its type.
// VbError(source "RelateExecute") when it is missing or cannot be opened.
void RelateExecute(const std::wstring& path);

// Lets the shell start or open whatever the command names (a program, a
// document, a "mailto:" address). VbError(source "StringExecute") on failure.
void StringExecute(const std::wstring& command);

}  // namespace tolvane

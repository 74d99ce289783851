#pragma once
// The text of a compile-list file (*.clt). Writing gives text that the caller
// encodes in the ANSI code page; reading takes the file's bytes.
#include <string>
#include <vector>

#include "engine/clsTolvane.h"
#include "support/AnsiCodec.h"

namespace tolvane {

// One entry read from a list file: the path as it stood in the line (addVbp
// trims it) and its check mark.
struct ListLine {
    std::wstring path;
    bool mark = false;
};

// "True" or "False", a tab, the path and CR LF for each entry, in list order.
// The file writer appends one more CR LF, so a saved file ends in CR LF CR LF
// and a saved empty list holds CR LF alone.
std::wstring FormatCompileList(const clsTolvane::EntryList& entries);
std::wstring FormatCompileList(const clsTolvane& engine);

// The entries a list file adds, in order. Lines end at CR LF, a lone CR or a
// lone LF (files edited elsewhere); fields are split at every tab; both are
// split on the bytes before the fields are decoded, so a damaged character
// costs only its own field. The second field is the path and lines whose path
// is blank are skipped; fields after the second are ignored. Never fails: a
// bad line is skipped or added unchecked.
std::vector<ListLine> ParseCompileList(const std::string& bytes, const AnsiCodec& codec);

// The check mark a first field stands for: True or False in any letter case,
// or a plain decimal number (0 unchecked, anything else checked), surrounding
// spaces allowed. Any other text is unchecked.
bool ParseCheckMark(const std::wstring& field);

}  // namespace tolvane

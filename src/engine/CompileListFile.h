#pragma once
// The text of a compile-list file (*.clt), apart from its encoding: the caller
// converts between this text and the file's ANSI bytes.
#include <string>
#include <vector>

#include "engine/clsTolvane.h"

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

// The entries a list file's text adds, in order. Lines end at CR LF or a lone
// CR (a lone LF stays in the line); fields are split at every tab; the second
// field is the path and lines whose path is blank are skipped; fields after
// the second are ignored. Never fails: a bad line is skipped or added unchecked.
std::vector<ListLine> ParseCompileList(const std::wstring& text);

// The check mark a first field stands for: True or False in any letter case,
// or a plain decimal number (0 unchecked, anything else checked), surrounding
// spaces allowed. Any other text is unchecked.
bool ParseCheckMark(const std::wstring& field);

}  // namespace tolvane

#pragma once
// What the chooser's OK button does with what the user typed: the path it
// tries, the checks per mode, the extension taken from the mask, and the
// questions and warnings on the way. No window and no disk here; the caller
// answers the existence lookups.
#include <functional>
#include <string>

#include "ui/chooser/rules/ChooserRequest.h"

namespace tolvane::chooser {

// Appends the mask's last four characters ("*.clt" gives ".clt") to the path
// unless the mask ends in ".*" or the path already ends in them, letter case
// aside. The appended text is written as in the mask.
std::wstring ApplyMaskExtension(const std::wstring& path, const std::wstring& mask);

// Upper case for comparing names as the platform does (ASCII, Latin-1 and
// full-width letters).
std::wstring UpperForCompare(const std::wstring& text);

enum class OkAction {
    Warn,           // show message2 (and message1) in a warning; the dialog stays
    Accept,         // close the dialog with path
    AskOverwrite,   // ask; yes accepts path, no leaves the dialog as it is
    AskCreate,      // ask; yes creates the folder path and accepts it
};

struct OkStep {
    OkAction action = OkAction::Warn;
    std::wstring triedPath;  // what the path label shows: folder and the name as typed
    std::wstring path;       // the path to accept (or to create first)
    std::wstring message1;
    std::wstring message2;
};

// mode: the chooser's Mode; folder: the file list's folder; typed: the file
// name box as typed; exists: for a folder whether a folder is there, for the
// file modes whether an ordinary file is there. Any other mode takes the
// typed path as it is.
OkStep DecideOk(ChooserMode mode, const std::wstring& folder, const std::wstring& typed, const std::wstring& mask,
                const std::function<bool(const std::wstring&)>& exists);

// The folder the new-folder panel creates for a name typed below the current
// folder ("a\b" names two levels); always ends in a backslash.
std::wstring NewFolderPath(const std::wstring& folder, const std::wstring& name);

// Why a name typed in the new-folder panel cannot name a folder below the
// current one, as the user is told; empty when it can.
std::wstring NewFolderNameProblem(const std::wstring& name);

}  // namespace tolvane::chooser

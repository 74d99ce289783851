#pragma once
// Whole-program driving: Tolvane.exe copied into a private program folder,
// started there as a process of its own, and a scripted user outside it who
// sends menu commands and keys, answers its dialogs and reads back what its
// windows show.
#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "ui/main/MainIds.h"

namespace tolvane::testing {

// The stand-in compiler built beside the test program.
std::wstring StandInExe();

// A fresh folder holding copies of Tolvane.exe, TolvaneCmd.exe and ReadMe.txt; removed with
// everything in it when the object goes.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::wstring& hint = L"Tolvane 試験");

    const std::wstring& Path() const { return temp_.Path(); }
    std::wstring File(const std::wstring& name) const { return temp_.File(name); }
    // Creates the subfolder (and its parents).
    std::wstring Folder(const std::wstring& name) const { return temp_.Folder(name); }
    std::wstring Exe() const { return File(L"Tolvane.exe"); }

    // An INI file beside the program with one section, COMMON, in the ANSI code page.
    void WriteIni(const std::wstring& fileName, const std::vector<std::pair<std::wstring, std::wstring>>& keys) const;
    // Tolvane.ini naming the compiler (the stand-in unless told) and the list to reopen.
    void WriteTolvaneIni(const std::wstring& exe = StandInExe(), const std::wstring& prevList = L"") const {
        WriteIni(L"Tolvane.ini", {{L"EXE", exe}, {L"PREV_List", prevList}});
    }
    // A file's bytes; nothing when it is not there.
    std::optional<std::string> Bytes(const std::wstring& name) const { return ReadBytes(File(name)); }
    bool Has(const std::wstring& name) const { return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    TempFolder temp_;
};

// One item of the main window's compile list as the user sees it.
struct ListItem {
    std::wstring text;
    bool checked = false;
};

// Tolvane.exe started from a program folder. The process is ended (if still
// running) when the object goes.
class RunningProgram {
public:
    struct Options {
        // The process's current folder: where the chooser opens on first use.
        std::wstring currentFolder;
        // Press a key on the splash screen instead of waiting out its two seconds.
        bool skipSplash = true;
    };

    explicit RunningProgram(const ProgramFolder& folder);
    RunningProgram(const ProgramFolder& folder, Options options);

    DWORD Pid() const { return process_.Id(); }
    bool Running() const { return process_.Running(); }
    bool WaitForExit(std::chrono::milliseconds limit = 60s) const { return process_.WaitForExit(limit); }

    // The main window once it is shown and takes input; nullptr if it never is.
    HWND WaitForMain(std::chrono::milliseconds limit = 90s);
    HWND Main() const { return main_; }
    HWND Control(int id) const { return main_ ? Child(main_, id) : nullptr; }

    // A visible top-level window of this process, by class or by caption;
    // the waits give up when the process ends.
    HWND FindOfClass(const wchar_t* className) const { return FindTop(Pid(), className, nullptr); }
    HWND WaitForClass(const wchar_t* className, std::chrono::milliseconds limit = 90s) const {
        return WaitForOwn(className, nullptr, limit);
    }
    HWND WaitForCaption(const std::wstring& caption, std::chrono::milliseconds limit = 60s) const {
        return WaitForOwn(nullptr, &caption, limit);
    }

    // A menu command, as the menu sends it.
    void Command(int id) const;
    // One key, posted to the control that has the keyboard focus.
    void PostKeyToFocus(WORD virtualKey) const;
    // The real keyboard path: brings the window to the front and presses the
    // keys together (modifiers first), as a user's hands would. False when
    // the window could not be brought to the front.
    bool PressKeys(HWND window, std::initializer_list<WORD> keys) const;

    // What the main window shows.
    std::vector<ListItem> Items() const;
    std::wstring LogText() const { return Text(main_ids::txtCompileList); }
    std::vector<std::wstring> LogLines() const { return SplitLines(LogText()); }
    std::wstring Text(int id) const { return WindowText(Control(id)); }

    // Sets an item's check mark with a real click on its box (when it differs).
    [[nodiscard]] bool SetItemChecked(int index, bool checked) const;

    // Answers the chooser with this caption: types the name into its
    // file-name box and presses OK. The chooser's window, or nullptr when it
    // did not appear.
    HWND Choose(const std::wstring& caption, const std::wstring& name) const;

private:
    HWND WaitForOwn(const wchar_t* className, const std::wstring* caption, std::chrono::milliseconds limit) const;

    ChildProcess process_;
    HWND main_ = nullptr;
};

// How many pixels of the window's area on screen have exactly this colour.
int CountScreenPixels(HWND window, COLORREF color);

}  // namespace tolvane::testing

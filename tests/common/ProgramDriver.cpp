#include "ProgramDriver.h"

#include <commctrl.h>

#include <stdexcept>

#include "Screenshot.h"
#include "support/win32/Files.h"
#include "support/win32/Handle.h"
#include "ui/chooser/frmDialogBox.h"

namespace tolvane::testing {

namespace {

void CopyBeside(const std::wstring& name, const std::wstring& to) {
    if (!CopyFileW(FileBesideProgram(name).c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + ToUtf8(name) + " into the program folder");
}

// Memory in another process, for messages whose argument is a pointer that
// the platform does not carry across processes (the list view's).
class RemoteBuffer {
public:
    RemoteBuffer(DWORD pid, SIZE_T size) : size_(size) {
        process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        if (!process_.Valid()) throw std::runtime_error("cannot open the program's process");
        address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) throw std::runtime_error("cannot allocate memory in the program's process");
    }
    ~RemoteBuffer() { VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && WriteProcessMemory(process_.Get(), At(offset), data, size, &done) && done == size;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && ReadProcessMemory(process_.Get(), At(offset), data, size, &done) && done == size;
    }

private:
    Handle process_;
    void* address_ = nullptr;
    SIZE_T size_;
};

// An item's state bits of the mask; state image 2 is the checked box.
UINT ItemState(HWND list, int index, UINT mask) {
    return static_cast<UINT>(Ask(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
}

bool IsChecked(UINT state) { return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2; }

}  // namespace

std::wstring StandInExe() { return FileBesideProgram(L"VBStandIn.exe"); }

ProgramFolder::ProgramFolder(const std::wstring& hint) : temp_(hint) {
    CopyBeside(L"Tolvane.exe", Exe());
    CopyBeside(L"TolvaneCmd.exe", File(L"TolvaneCmd.exe"));
    CopyBeside(L"ReadMe.txt", File(L"ReadMe.txt"));
}

void ProgramFolder::WriteIni(const std::wstring& fileName,
                             const std::vector<std::pair<std::wstring, std::wstring>>& keys) const {
    std::wstring text = L"[COMMON]\r\n";
    for (const auto& [key, value] : keys) text += key + L"=" + value + L"\r\n";
    const auto bytes = ToAnsi(text);
    if (!bytes) throw std::runtime_error("settings text does not fit the ANSI code page");
    if (!WriteBytes(File(fileName), *bytes)) throw std::runtime_error("cannot write a settings file");
}

RunningProgram::RunningProgram(const ProgramFolder& folder) : RunningProgram(folder, Options{}) {}

RunningProgram::RunningProgram(const ProgramFolder& folder, Options options)
    : process_(L"\"" + folder.Exe() + L"\"", L"", L"",
               options.currentFolder.empty() ? folder.Path() : options.currentFolder) {
    if (options.skipSplash) {
        // A key on the splash screen goes straight on to the main window.
        HWND splash = WaitForClass(kSplashClass, 60s);
        if (splash) PostKey(splash, VK_SPACE);
    }
}

HWND RunningProgram::WaitForMain(std::chrono::milliseconds limit) {
    const std::wstring caption = L"Tolvane";
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTop(Pid(), kMainClass, &caption);
            return found && IsWindowEnabled(found) && !FindOfClass(kSplashClass);
        },
        limit);
    if (found) WaitForInputIdle(process_.Handle(), 10000);
    main_ = found;
    return found;
}

HWND RunningProgram::WaitForOwn(const wchar_t* className, const std::wstring* caption,
                               std::chrono::milliseconds limit) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTop(Pid(), className, caption)) != nullptr || !Running(); }, limit);
    return found;
}

void RunningProgram::Command(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void RunningProgram::PostKeyToFocus(WORD virtualKey) const {
    HWND focus = FocusedControl(main_);
    PostKey(focus ? focus : main_, virtualKey);
}

bool RunningProgram::PressKeys(HWND window, std::initializer_list<WORD> keys) const {
    if (!BringToFront(window)) return false;
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = flags;
        inputs.push_back(in);
    };
    for (WORD key : keys) add(key, 0);
    for (auto it = keys.end(); it != keys.begin();) add(*--it, KEYEVENTF_KEYUP);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

std::vector<ListItem> RunningProgram::Items() const {
    HWND list = Control(main_ids::lstCompileList);
    std::vector<ListItem> items;
    if (!list) return items;
    const LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
    if (count <= 0) return items;
    constexpr int kTextChars = 1024;
    RemoteBuffer remote(Pid(), sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.cchTextMax = kTextChars;
        item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVITEMW)));
        if (!remote.Write(0, &item, sizeof item)) throw std::runtime_error("cannot write into the program");
        const LRESULT length =
            Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.At(0)));
        std::wstring text(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
        if (length > 0 && !remote.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t)))
            throw std::runtime_error("cannot read from the program");
        items.push_back({text, IsChecked(ItemState(list, i, LVIS_STATEIMAGEMASK))});
    }
    return items;
}

bool RunningProgram::SetItemChecked(int index, bool checked) const {
    HWND list = Control(main_ids::lstCompileList);
    if (IsChecked(ItemState(list, index, LVIS_STATEIMAGEMASK)) == checked) return true;
    // A real click on the item's box, at the left end of its row.
    RemoteBuffer remote(Pid(), sizeof(RECT));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    if (!remote.Write(0, &row, sizeof row)) throw std::runtime_error("cannot write into the program");
    Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.At(0)));
    if (!remote.Read(0, &row, sizeof row)) throw std::runtime_error("cannot read from the program");
    POINT box{row.left + (row.bottom - row.top) / 2 + 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &box);
    return ClickAt(GetAncestor(list, GA_ROOT), box) &&
           WaitUntil([&] { return IsChecked(ItemState(list, index, LVIS_STATEIMAGEMASK)) == checked; });
}

HWND RunningProgram::Choose(const std::wstring& caption, const std::wstring& name) const {
    HWND chooser = WaitForCaption(caption);
    if (!chooser) return nullptr;
    SetWindowTextTo(Child(chooser, frmDialogBox::txtFileName), name);
    Click(Child(chooser, frmDialogBox::cmdOK));
    return chooser;
}

int CountScreenPixels(HWND window, COLORREF color) {
    const WindowPixels grab = GrabWindow(window);
    // DIB pixels are 0x00RRGGBB; colours are 0x00BBGGRR.
    const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int n = 0;
    for (DWORD p : grab.pixels)
        if ((p & 0xFFFFFF) == wanted) ++n;
    return n;
}

}  // namespace tolvane::testing

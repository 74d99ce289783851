#include "engine/win32/ProjectStampStore.h"

#include "engine/ProjectStamp.h"
#include "engine/win32/TolvaneIni.h"
#include "support/AnsiCodec.h"
#include "support/PathNames.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSource = L"ProjectStampStore";
constexpr const wchar_t* kRecordName = L"LastBuilt.txt";
// How long a file the compiler has just let go of may stay locked.
constexpr int kBusyRetries = 60;
constexpr DWORD kBusyPauseMs = 50;

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& bytes) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

PlatformResult ReadAll(HANDLE file, std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
        if (got == 0) return PlatformResult();
        bytes.append(buffer, got);
    }
    return PlatformResult::LastError(kSource);
}

// The whole file from its start, and nothing after.
PlatformResult Overwrite(HANDLE file, const std::string& bytes) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return PlatformResult::LastError(kSource);
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return PlatformResult::LastError(kSource);
        }
        done += written;
    }
    if (!SetEndOfFile(file) || !FlushFileBuffers(file)) return PlatformResult::LastError(kSource);
    return PlatformResult();
}

// The file's last-write time set back to the kept one.
PlatformResult SetWriteTime(HANDLE file, std::uint64_t writeTime) {
    const FILETIME time{static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
    if (!SetFileTime(file, nullptr, nullptr, &time)) return PlatformResult::LastError(kSource);
    return PlatformResult();
}

// The kept bytes, time and attributes back in the project file, whatever the
// compiler did to it (rewrote it, replaced it, deleted it). The failure when not.
PlatformResult PutBack(const std::wstring& path, const StampJournal& kept) {
    const DWORD now = GetFileAttributesW(path.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(path.c_str(), now & ~FILE_ATTRIBUTE_READONLY);
    }
    Handle file;
    for (int attempt = 0;; ++attempt) {
        file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (file.Valid()) break;
        const DWORD error = GetLastError();
        if (attempt >= kBusyRetries || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)) {
            return PlatformResult::Failure(error, kSource);
        }
        Sleep(kBusyPauseMs);
    }
    PlatformResult result = Overwrite(file.Get(), kept.original);
    if (!result.Failed()) result = SetWriteTime(file.Get(), kept.writeTime);
    file.Close();
    if (result.Failed()) return result;
    if (GetFileAttributesW(path.c_str()) != kept.attributes) SetFileAttributesW(path.c_str(), kept.attributes);
    return result;
}

// Deletes the record through its open handle, then lets it go.
void Discard(Handle journal, const std::wstring& path) {
    FILE_DISPOSITION_INFO info{TRUE};
    const bool marked = SetFileInformationByHandle(journal.Get(), FileDispositionInfo, &info, sizeof info);
    journal.Close();
    if (!marked) DeleteFileW(path.c_str());
}

std::wstring JournalPath(const std::wstring& folder, const std::wstring& vbp) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : Utf8(PathKey(vbp))) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    wchar_t name[32];
    swprintf(name, 32, L"%016llx.jnl", static_cast<unsigned long long>(hash));
    return folder + name;
}

enum class Leftover { Busy, Done };

// One record left by a program that ended: its file given back (or why not) in note.
Leftover GiveBackJournal(const std::wstring& path, std::wstring& note) {
    Handle journal(CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!journal.Valid()) {
        // Held open: its build is still running in another program.
        if (GetLastError() == ERROR_SHARING_VIOLATION) return Leftover::Busy;
        note = path + L"を開けませんでした: " + LastErrorText(GetLastError());
        return Leftover::Done;
    }
    std::string bytes;
    const std::optional<StampJournal> kept = !ReadAll(journal.Get(), bytes).Failed() ? DecodeJournal(bytes) : std::nullopt;
    if (!kept) {
        // Cut short as it was written: the project had not been touched yet.
        Discard(std::move(journal), path);
        return Leftover::Done;
    }
    const std::wstring project = FromUtf8(kept->project);
    if (const PlatformResult putBack = PutBack(project, *kept); putBack.Failed()) {
        note = project + L"を元に戻せませんでした: " + putBack.Text();
        return Leftover::Done;
    }
    Discard(std::move(journal), path);
    note = project + L"を元に戻しました(前回のｺﾝﾊﾟｲﾙ中にﾌﾟﾛｸﾞﾗﾑが終了したため)";
    return Leftover::Done;
}

}  // namespace

std::wstring StampFolder() { return GetFolderPath(TolvaneIniPath()) + L"TolvaneStamp\\"; }

std::vector<std::wstring> GiveBackLeftovers(const std::wstring& folder) {
    std::vector<std::wstring> notes;
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW((folder + L"*.jnl").c_str(), &found));
    if (!find.Valid()) return notes;
    do {
        std::wstring note;
        GiveBackJournal(folder + found.cFileName, note);
        if (!note.empty()) notes.push_back(note);
    } while (FindNextFileW(find.Get(), &found));
    return notes;
}

ProjectStampStore::~ProjectStampStore() {
    while (!stamped_.empty()) {
        const std::wstring vbp = FromUtf8(stamped_.begin()->second.kept.project);
        GiveBack(vbp);
    }
}

std::optional<std::wstring> ProjectStampStore::Stamp(const std::wstring& vbp) {
    if (settings_.empty()) return std::nullopt;
    const std::wstring cannot = vbp + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: ";
    const DWORD attributes = GetFileAttributesW(vbp.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return cannot + LastErrorText(GetLastError());
    // A read-only project (a source-control checkout) is not made writable behind the user's back.
    if (attributes & FILE_ATTRIBUTE_READONLY) return cannot + L"読み取り専用のﾌｧｲﾙです";
    const Handle file(CreateFileW(vbp.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return cannot + LastErrorText(GetLastError());
    std::string original;
    FILETIME time{};
    std::optional<std::wstring> refusal;
    PlatformResult read = ReadAll(file.Get(), original);
    if (!read.Failed() && !GetFileTime(file.Get(), nullptr, nullptr, &time)) read = PlatformResult::LastError(kSource);
    if (read.Failed()) {
        refusal = cannot + read.Text();
    } else {
        StampJournal kept{Utf8(vbp), (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime,
                          attributes, original};
        refusal = Write(vbp, file.Get(), kept);
    }
    return refusal;
}

// Keeps the record, then writes the stamped text over the project file.
std::optional<std::wstring> ProjectStampStore::Write(const std::wstring& vbp, HANDLE file, const StampJournal& kept) {
    const std::wstring cannot = vbp + L"にﾊﾞｰｼﾞｮﾝを設定できませんでした: ";
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& setting : settings_) {
        const auto key = SystemAnsiCodec().Encode(setting.key);
        const auto value = SystemAnsiCodec().Encode(setting.value);
        if (!key || !value) return cannot + setting.key + L"=" + setting.value + L"にｼｽﾃﾑの文字ｺｰﾄﾞで保存出来ない文字があります";
        pairs.emplace_back(*key, *value);
    }
    try {
        MakeFolders(folder_);
    } catch (const VbError& e) {
        return cannot + e.Description();
    }
    SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    const std::wstring path = JournalPath(folder_, vbp);
    Handle journal;
    for (int attempt = 0; attempt < 2 && !journal.Valid(); ++attempt) {
        journal.Reset(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (journal.Valid()) break;
        if (GetLastError() != ERROR_FILE_EXISTS) return cannot + LastErrorText(GetLastError());
        // A record of this project already: a build in another program, or one that was ended.
        std::wstring note;
        if (GiveBackJournal(path, note) == Leftover::Busy) return cannot + L"他のｺﾝﾊﾟｲﾙがこのﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙを使用中です";
    }
    if (!journal.Valid()) return cannot + LastErrorText(ERROR_FILE_EXISTS);
    const std::string journalBytes = EncodeJournal(kept);
    DWORD written = 0;
    if (!WriteFile(journal.Get(), journalBytes.data(), static_cast<DWORD>(journalBytes.size()), &written, nullptr) ||
        written != journalBytes.size() || !FlushFileBuffers(journal.Get())) {
        const DWORD error = GetLastError();
        Discard(std::move(journal), path);
        return cannot + LastErrorText(error);
    }
    if (const PlatformResult stamped = Overwrite(file, StampText(kept.original, pairs)); stamped.Failed()) {
        // Half written (a full disk): the kept bytes go back at once, or at the next start.
        if (!Overwrite(file, kept.original).Failed() && !SetWriteTime(file, kept.writeTime).Failed()) {
            Discard(std::move(journal), path);
        }
        return cannot + stamped.Text();
    }
    stamped_[PathKey(vbp)] = Stamped{std::move(journal), kept};
    return std::nullopt;
}

std::optional<std::wstring> ProjectStampStore::GiveBack(const std::wstring& vbp) {
    const auto it = stamped_.find(PathKey(vbp));
    if (it == stamped_.end()) return std::nullopt;
    Stamped stamped = std::move(it->second);
    stamped_.erase(it);
    if (const PlatformResult putBack = PutBack(vbp, stamped.kept); putBack.Failed()) {
        // Let go of the record: the next start of either program gives the file back.
        stamped.journal.Close();
        return vbp + L"を元に戻せませんでした(次回の起動時に戻します): " + putBack.Text();
    }
    Discard(std::move(stamped.journal), JournalPath(folder_, vbp));
    return std::nullopt;
}

std::map<std::wstring, std::wstring>& ProjectStampStore::Record() {
    if (record_) return *record_;
    record_.emplace();
    std::string bytes;
    if (ReadWholeFile(folder_ + kRecordName, bytes).Failed()) return *record_;
    const std::wstring text = FromUtf8(bytes);
    for (std::size_t at = 0; at < text.size();) {
        auto end = text.find(L"\r\n", at);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(at, end - at);
        at = end + 2;
        const auto tab = line.find(L'\t');
        if (tab != std::wstring::npos) (*record_)[line.substr(tab + 1)] = line.substr(0, tab);
    }
    return *record_;
}

void ProjectStampStore::Built(const std::wstring& vbp) {
    auto& record = Record();
    const std::wstring key = PathKey(vbp);
    const std::wstring fingerprint = SettingsFingerprint(settings_);
    const auto it = record.find(key);
    if ((it == record.end() ? std::wstring() : it->second) == fingerprint) return;
    if (fingerprint.empty()) record.erase(key);
    else record[key] = fingerprint;
    std::wstring text;
    for (const auto& [path, settings] : record) text += settings + L"\t" + path + L"\r\n";
    try {
        MakeFolders(folder_);
        MakeFile(folder_ + kRecordName, Utf8(text));
    } catch (const VbError&) {
        // The record only spares builds: without it the next run decides by the file times.
    }
}

bool ProjectStampStore::BuiltWithOtherSettings(const std::wstring& vbp) {
    const auto& record = Record();
    const auto it = record.find(PathKey(vbp));
    return (it == record.end() ? std::wstring() : it->second) != SettingsFingerprint(settings_);
}

}  // namespace tolvane

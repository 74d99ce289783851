#include "engine/win32/JobProcess.h"

#include <tlhelp32.h>

#include <algorithm>
#include <map>

#include "support/VbError.h"
#include "support/win32/Files.h"

namespace tolvane {

std::unique_ptr<JobProcess> JobProcess::Start(const std::wstring& program, const std::wstring& commandLine,
                                              WORD showWindow) {
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showWindow;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &pi)) {
        DWORD code = GetLastError();
        throw VbError(static_cast<std::int32_t>(code), L"clsTolvane", LastErrorText(code));
    }
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
            !AssignProcessToJobObject(job, pi.hProcess)) {
            CloseHandle(job);
            job = nullptr;
        }
    }
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    return std::unique_ptr<JobProcess>(new JobProcess(pi.hProcess, pi.dwProcessId, job));
}

JobProcess::~JobProcess() {
    if (job_) CloseHandle(job_);
    CloseHandle(process_);
}

bool JobProcess::JobProcessIds(std::vector<DWORD>& ids) const {
    if (!job_) return false;
    std::vector<unsigned char> buf(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + 63 * sizeof(ULONG_PTR));
    for (int attempt = 0; attempt < 4; ++attempt) {
        auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buf.data());
        if (QueryInformationJobObject(job_, JobObjectBasicProcessIdList, list, static_cast<DWORD>(buf.size()),
                                      nullptr)) {
            ids.clear();
            for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) ids.push_back(static_cast<DWORD>(list->ProcessIdList[i]));
            return true;
        }
        if (GetLastError() != ERROR_MORE_DATA) return false;
        buf.resize(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + (list->NumberOfAssignedProcesses + 16) * sizeof(ULONG_PTR));
    }
    return false;
}

std::vector<DWORD> DescendantsOf(DWORD pid) {
    std::vector<DWORD> result{pid};
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return result;
    std::multimap<DWORD, DWORD> children;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        if (e.th32ProcessID != e.th32ParentProcessID) children.emplace(e.th32ParentProcessID, e.th32ProcessID);
    CloseHandle(snap);
    for (size_t i = 0; i < result.size(); ++i) {
        auto range = children.equal_range(result[i]);
        for (auto it = range.first; it != range.second; ++it)
            if (std::find(result.begin(), result.end(), it->second) == result.end()) result.push_back(it->second);
    }
    return result;
}

std::vector<DWORD> JobProcess::ProcessIds() const {
    std::vector<DWORD> ids;
    // An empty list while the process is alive means the job does not report its members.
    bool ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    if (JobProcessIds(ids) && (!ids.empty() || ended)) return ids;
    ids = DescendantsOf(pid_);
    // The id of an ended process may already belong to another program.
    if (ended) ids.erase(ids.begin());
    return ids;
}

void JobProcess::Terminate(std::chrono::milliseconds wait) {
    if (!job_ || !TerminateJobObject(job_, 1)) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, static_cast<DWORD>(wait.count()));
}

}  // namespace tolvane

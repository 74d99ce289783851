#include "engine/win32/JobProcess.h"

#include <tlhelp32.h>

#include <algorithm>
#include <map>

namespace tolvane {

PlatformResult JobProcess::Start(const std::wstring& program, const std::wstring& commandLine, WORD showWindow,
                                 std::unique_ptr<JobProcess>& started) {
    started.reset();
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
        return PlatformResult::LastError(L"JobProcess");
    }
    Handle process(pi.hProcess);
    const Handle thread(pi.hThread);
    Handle job(CreateJobObjectW(nullptr, nullptr));
    if (job.Valid()) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
            !AssignProcessToJobObject(job.Get(), process.Get())) {
            job.Close();
        }
    }
    ResumeThread(thread.Get());
    started.reset(new JobProcess(std::move(process), pi.dwProcessId, std::move(job)));
    return PlatformResult();
}

bool JobProcess::JobProcessIds(std::vector<DWORD>& ids) const {
    if (!job_.Valid()) return false;
    std::vector<unsigned char> buf(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + 63 * sizeof(ULONG_PTR));
    for (int attempt = 0; attempt < 4; ++attempt) {
        auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buf.data());
        if (QueryInformationJobObject(job_.Get(), JobObjectBasicProcessIdList, list, static_cast<DWORD>(buf.size()),
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
    const Handle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap.Valid()) return result;
    std::multimap<DWORD, DWORD> children;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap.Get(), &e); ok; ok = Process32NextW(snap.Get(), &e))
        if (e.th32ProcessID != e.th32ParentProcessID) children.emplace(e.th32ParentProcessID, e.th32ProcessID);
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
    bool ended = WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
    if (JobProcessIds(ids) && (!ids.empty() || ended)) return ids;
    ids = DescendantsOf(pid_);
    // The id of an ended process may already belong to another program.
    if (ended) ids.erase(ids.begin());
    return ids;
}

void JobProcess::Terminate(std::chrono::milliseconds wait) {
    if (!job_.Valid() || !TerminateJobObject(job_.Get(), 1)) TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), static_cast<DWORD>(wait.count()));
}

}  // namespace tolvane

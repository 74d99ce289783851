#include "common/ChildProcess.h"

#include <stdexcept>
#include <vector>

namespace tolvane::testing {

namespace {

HANDLE Inheritable(const std::wstring& file) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& outputFile,
                           const std::wstring& errorFile, const std::wstring& currentFolder) {
    std::vector<wchar_t> buf(commandLine.begin(), commandLine.end());
    buf.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const bool redirect = !outputFile.empty();
    if (redirect) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = Inheritable(outputFile);
        si.hStdError = Inheritable(errorFile);
    }
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, buf.data(), nullptr, nullptr, redirect, 0, nullptr,
                                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &si, &pi);
    if (redirect) {
        CloseHandle(si.hStdOutput);
        CloseHandle(si.hStdError);
    }
    if (!started) throw std::runtime_error("cannot start a child process");
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds limit) const {
    return WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

}  // namespace tolvane::testing

#include "common/ChildProcess.h"

#include <stdexcept>
#include <vector>

namespace tolvane::testing {

namespace {

tolvane::Handle Inheritable(const std::wstring& file) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return tolvane::Handle(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& outputFile,
                           const std::wstring& errorFile, const std::wstring& currentFolder) {
    std::vector<wchar_t> buf(commandLine.begin(), commandLine.end());
    buf.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const bool redirect = !outputFile.empty();
    // The child has its own copies; ours close once it has started.
    tolvane::Handle output, error;
    if (redirect) {
        output = Inheritable(outputFile);
        error = Inheritable(errorFile);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = output.Get();
        si.hStdError = error.Get();
    }
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, buf.data(), nullptr, nullptr, redirect, 0, nullptr,
                                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &si, &pi);
    if (!started) throw std::runtime_error("cannot start a child process");
    const tolvane::Handle thread(pi.hThread);
    process_.Reset(pi.hProcess);
    pid_ = pi.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

}  // namespace tolvane::testing

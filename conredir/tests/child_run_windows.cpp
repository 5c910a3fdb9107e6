// Running a test's program on Windows with CreateProcessA, output through an anonymous pipe.
#include "child_run.h"

#include <windows.h>

namespace conredir_test {

namespace {

std::string CommandLineOf(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty()) {
            line += ' ';
        }
        line += w.empty() || w.find(' ') != std::string::npos ? "\"" + w + "\"" : w;
    }
    return line;
}

Finished RunWithFlags(const std::vector<std::string>& words, DWORD flags) {
    Finished result;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        result.exitCode = -1000;
        return result;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    std::string line = CommandLineOf(words);
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags,
                                        nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        result.exitCode = -1000;
        return result;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        result.output.append(buffer, got);
    }
    CloseHandle(readEnd);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return result;
}

}  // namespace

std::string ProgramPath(const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of("\\/") + 1) + name + ".exe";
}

Finished RunProgram(const std::vector<std::string>& words) {
    return RunWithFlags(words, CREATE_NO_WINDOW);
}

Finished RunWithoutConsole(const std::vector<std::string>& words) {
    return RunWithFlags(words, DETACHED_PROCESS);
}

}  // namespace conredir_test

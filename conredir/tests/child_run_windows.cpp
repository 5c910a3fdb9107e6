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

// A pipe whose write end the child inherits.
bool MakePipe(HANDLE* readEnd, HANDLE* writeEnd) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!CreatePipe(readEnd, writeEnd, &inheritable, 0)) {
        return false;
    }
    SetHandleInformation(*readEnd, HANDLE_FLAG_INHERIT, 0);
    return true;
}

void ReadToEnd(HANDLE readEnd, std::string* into) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        into->append(buffer, got);
    }
    CloseHandle(readEnd);
}

Finished RunWithFlags(const std::vector<std::string>& words, DWORD flags) {
    Finished result;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    HANDLE errorReadEnd = nullptr;
    HANDLE errorWriteEnd = nullptr;
    if (!MakePipe(&readEnd, &writeEnd)) {
        result.exitCode = -1000;
        return result;
    }
    if (!MakePipe(&errorReadEnd, &errorWriteEnd)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        result.exitCode = -1000;
        return result;
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = errorWriteEnd;
    PROCESS_INFORMATION child{};
    std::string line = CommandLineOf(words);
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags,
                                        nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    CloseHandle(errorWriteEnd);
    if (!started) {
        CloseHandle(readEnd);
        CloseHandle(errorReadEnd);
        result.exitCode = -1000;
        return result;
    }
    // Standard error holds a line or two: it waits in its pipe while the output is read.
    ReadToEnd(readEnd, &result.output);
    ReadToEnd(errorReadEnd, &result.errors);
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

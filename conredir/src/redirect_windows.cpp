// Direct and capture mode with the Win32 process and console functions.
#include "redirect_windows.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "capture_loop.h"
#include "command_line.h"
#include "start_failure.h"

namespace conredir {

namespace {

constexpr int kDirectFailure = 242;
constexpr int kCaptureStartFailure = -2;
constexpr int kCaptureExitCodeFailure = -3;

// Rows of the capture buffer: enough that a child writing without a pause between two passes
// does not scroll its output off the top before it is copied (a new buffer has only a screenful
// or so). The largest height the console accepts.
constexpr SHORT kCaptureRows = 32766;

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == 148, "plain version record");

bool AskWindowsVersion(bool extended, OsVersion& version) {
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXA) : sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        return false;
    }
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
}

// Says on standard error why the command line's program did not start (standard output carries
// the child's output alone), in the system's words for the last error.
void ReportStartFailure(const char* commandLine) {
    const DWORD code = GetLastError();
    char reason[512] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       reason, sizeof reason, nullptr) == 0) {
        std::snprintf(reason, sizeof reason, "error %lu", static_cast<unsigned long>(code));
    }
    std::string text = StartFailureText(commandLine, reason);
    text.insert(text.size() - 1, "\r");  // a console line end
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

// CreateProcessA may write into the command line, so it gets a zeroed buffer of its own.
using CommandBuffer = std::array<char, kCommandLineSize>;

CommandBuffer MakeCommandBuffer(const std::string& commandLine) {
    CommandBuffer buffer{};
    std::memcpy(buffer.data(), commandLine.data(),
                commandLine.size() < buffer.size() ? commandLine.size() : buffer.size() - 1);
    return buffer;
}

int RunDirect(CommandBuffer& command) {
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child;
    const std::string commandLine = command.data();  // before the system may write into it
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child)) {
        ReportStartFailure(commandLine.c_str());
        return kDirectFailure;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    const int result =
        GetExitCodeProcess(child.hProcess, &code) ? static_cast<int>(code) : kDirectFailure;
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return result;
}

// The screen buffer the child writes into, tall, empty and readable; INVALID_HANDLE_VALUE when
// the process has no console to make one in (or the one it made cannot be read).
HANDLE CreateCaptureBuffer() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE buffer =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (buffer == INVALID_HANDLE_VALUE) {
        return buffer;
    }
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(buffer, &info) || info.dwSize.X <= 0) {
        CloseHandle(buffer);
        return INVALID_HANDLE_VALUE;
    }
    if (info.dwSize.Y < kCaptureRows) {
        // A console that refuses the height keeps its own; the capture still works, with less room.
        SetConsoleScreenBufferSize(buffer, COORD{info.dwSize.X, kCaptureRows});
    }
    DWORD written = 0;
    FillConsoleOutputCharacterA(buffer, 0, 0x7FFFFFFF, COORD{0, 0}, &written);
    return buffer;
}

class ScreenBufferConsole : public CaptureConsole {
public:
    ScreenBufferConsole(HANDLE buffer, HANDLE child, HANDLE output)
        : buffer_(buffer), child_(child), output_(output) {}

    bool ChildHasEnded() override { return WaitForSingleObject(child_, 0) != WAIT_TIMEOUT; }

    bool ReadState(BufferState& state) override {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!GetConsoleScreenBufferInfo(buffer_, &info)) {
            return false;
        }
        state.cursor = CellPos{info.dwCursorPosition.X, info.dwCursorPosition.Y};
        state.width = info.dwSize.X;
        state.height = info.dwSize.Y;
        return true;
    }

    std::size_t ReadCells(CellPos from, char* cells, std::size_t count) override {
        DWORD read = 0;
        if (!ReadConsoleOutputCharacterA(buffer_, cells, ClampCount(count), Coord(from), &read)) {
            return 0;
        }
        return read;
    }

    void ClearCells(CellPos from, std::size_t count) override {
        DWORD written = 0;
        FillConsoleOutputCharacterA(buffer_, 0, ClampCount(count), Coord(from), &written);
    }

    void MoveCursorHome() override { SetConsoleCursorPosition(buffer_, COORD{0, 0}); }

    void SetTimeCritical(bool on) override {
        SetThreadPriority(GetCurrentThread(),
                          on ? THREAD_PRIORITY_TIME_CRITICAL : THREAD_PRIORITY_NORMAL);
    }

    void Pause(unsigned milliseconds) override { Sleep(milliseconds); }

    void WriteOutput(const char* text, std::size_t size) override {
        DWORD written = 0;
        WriteFile(output_, text, ClampCount(size), &written, nullptr);
    }

private:
    static COORD Coord(CellPos pos) {
        return COORD{static_cast<SHORT>(pos.column), static_cast<SHORT>(pos.row)};
    }
    static DWORD ClampCount(std::size_t count) {
        return count > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(count);
    }

    HANDLE buffer_;
    HANDLE child_;
    HANDLE output_;
};

int RunCapture(CommandBuffer& command) {
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE buffer = CreateCaptureBuffer();
    if (buffer == INVALID_HANDLE_VALUE) {
        // Without a buffer the child would have no output at all; inheriting ours keeps it.
        return RunDirect(command);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, buffer);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION child;
    const std::string commandLine = command.data();  // before the system may write into it
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child)) {
        ReportStartFailure(commandLine.c_str());
        SetStdHandle(STD_OUTPUT_HANDLE, saved);
        CloseHandle(buffer);
        return kCaptureStartFailure;
    }
    CloseHandle(child.hThread);

    ScreenBufferConsole console(buffer, child.hProcess, saved);
    RunCaptureLoop(console);

    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    CloseHandle(buffer);
    DWORD code = 0;
    const int result = GetExitCodeProcess(child.hProcess, &code) ? static_cast<int>(code)
                                                                 : kCaptureExitCodeFailure;
    CloseHandle(child.hProcess);
    return result;
}

}  // namespace

int QueryWindowsVersionClass() { return QueryVersionClass(AskWindowsVersion); }

int RunRedirect(const std::string& commandLine, Mode mode) {
    CommandBuffer command = MakeCommandBuffer(commandLine);
    return mode == Mode::Capture ? RunCapture(command) : RunDirect(command);
}

}  // namespace conredir

// The simulation-kernel link of the hardware-port mode: the kernel's rate found by probing, its
// upload when none answers, the start-up before the first instruction, and the board's registers
// read and written over the board port.
#include <cstdarg>
#include <cstdio>

#include "c8051_target.h"
#include "w32/clock.h"
#include "w32/modules.h"

namespace ostrel {

namespace {

// The rates the kernel is looked for at, fastest first; the port's own rate comes last.
constexpr DWORD kKernelRates[] = {57600, 38400, 28800, 19200, 9600, 4800};
constexpr int kRateCount = sizeof kKernelRates / sizeof kKernelRates[0] + 1;

constexpr BYTE kProbe = 0x7F;
constexpr DWORD kProbeTimeoutMs = 10;
constexpr DWORD kResetPulseMs = 50;
constexpr size_t kLineSize = 256;

}  // namespace

void C8051Target::Say(const char* format, ...) {
    char line[kLineSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    OutputMessage(0, line);
}

bool C8051Target::DetectKernelBaud() {
    comm_settings current = {};
    m_boardPort.GetCommPort(&current);
    Say("Detecting simulation kernel baud rate...");
    m_boardPort.SetTimeOut(kProbeTimeoutMs);
    for (int i = 0; i < kRateCount; ++i) {
        const bool portsOwnRate = i == kRateCount - 1;
        const DWORD rate = portsOwnRate ? current.baud : kKernelRates[i];
        if (portsOwnRate) {
            Say("Try a baud rate that matches Loader baud rate last time");
        }
        m_boardPort.Deinstall();
        m_boardPort.SetBaud(rate);
        Say("Trying %d baud...", static_cast<int>(rate));
        // The pulse restarts the board's chip, so the kernel hears the probe from its start.
        m_boardPort.SetRTS();
        w32::Sleep(kResetPulseMs);
        m_boardPort.ResetRTS();
        w32::Sleep(kResetPulseMs);
        // Whatever came with the reset (a glitch, the board program's output) is not the answer.
        m_boardPort.PurgeRcvBuffer();
        m_boardPort.Write(kProbe);
        char version[6] = {};
        BYTE* reply = reinterpret_cast<BYTE*>(version);
        if (m_boardPort.Read(reply, 1) != COMMS_OK || version[0] != 'V') {
            continue;
        }
        if (m_boardPort.Read(reply + 1, 4) == COMMS_OK && version[2] == '.') {
            SetHardwarePortsActive(1);
            Say("Simulation Kernel %s detected", version);
            return true;
        }
    }
    return false;
}

const KernelLoaderBinding& C8051Target::KernelLoader() {
    return ChooseKernelLoader(m_serialSettings);
}

bool C8051Target::UploadKernel() {
    // Room for twice the longest path: a program path cut to this size leaves a folder too long
    // for the image path anyway, as no file name is that long.
    char program[2 * kKernelPathSize];
    if (w32::GetModuleFileNameA(nullptr, program, sizeof program) == 0) {
        program[0] = '\0';
    }
    return UploadKernelFrom(program);
}

bool C8051Target::UploadKernelFrom(const char* programPath) {
    const KernelLoaderBinding& loader = KernelLoader();
    comm_settings current = {};
    m_boardPort.GetCommPort(&current);
    const HostPortRecord record = KernelPortRecord(current);
    // The loader opens the port itself.
    m_boardPort.Deinstall();
    char image[kKernelPathSize];
    if (!KernelImagePath(programPath, image, sizeof image)) {
        Say("WARNING: The path of the kernel image is longer than %d characters",
            static_cast<int>(kKernelPathSize - 1));
        return false;
    }
    return RunKernelLoader(loader, record, image, *this);
}

void C8051Target::StartHardwarePorts() {
    if (!m_boardPort.IsInitialized()) {
        Say("WARNING: Can not open %s", m_boardPort.CurrPortName());
        Say("Please check COM port under Tools->Options->Loader");
    } else {
        if (!DetectKernelBaud()) {
            Say("WARNING: Simulation kernel not detected. Trying to upload it...");
            Say("Downloading kernel...");
            if (!UploadKernel()) {
                Say("WARNING: Error uploading kernel");
            } else if (!DetectKernelBaud()) {
                Say("Simulation kernel not detected");
            }
        }
        if (m_options[kOptionHardwarePortsActive] != 0) {
            Say("Using hardware ports in simulation");
        }
    }
    if (m_options[kOptionHardwarePortsActive] == 0) {
        Say("WARNING: Using simulated ports ( not hardware ports ) in simulation ");
    }
}

int32_t C8051Target::ReadBoardSfr(uint8_t address, uint8_t* value) {
    int result = m_boardPort.Write(static_cast<BYTE>(address & 0x7F));
    if (result != COMMS_OK) {
        return result;
    }
    BYTE answer = 0;
    result = m_boardPort.Read(&answer);
    if (result != COMMS_OK) {
        Say("WARNING: Can not update SFR from the board. Board does not reply");
    } else if (value != nullptr) {
        *value = answer;
    }
    return result;
}

int32_t C8051Target::WriteBoardSfr(uint8_t address, uint8_t value) {
    const int result = m_boardPort.Write(static_cast<BYTE>(address));
    if (result != COMMS_OK) {
        return result;
    }
    return m_boardPort.Write(static_cast<BYTE>(value));
}

}  // namespace ostrel

// Loading a program onto the debug board: the board found, kernel and user's file read into one
// image, the image downloaded, the host-side spaces and register model built.
#include <cstdio>
#include <cstring>
#include <string>

#include "kernel_target.h"
#include "hexfile/hex_reader.h"
#include "w32/modules.h"

namespace yardlow {

namespace {

constexpr uint32_t kProgramSize = 0x10000;
constexpr uint32_t kSmallSpace = 0x100;
constexpr uint32_t kExternalSize = 0x10000;

// The folder the kernel images lie in: that of the loaded module "corvanec" when there is one,
// else the host executable's; with its separator.
std::string KernelFolder() {
    char path[1024] = {};
    HMODULE module = w32::GetModuleHandleA("corvanec");
    DWORD length = w32::GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return std::string();
    }
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

int32_t CKernelTarget::StoreLoaded(void* context, uint32_t address, uint32_t count,
                                   const uint8_t* bytes) {
    CKernelTarget& target = *static_cast<CKernelTarget*>(context);
    if (!target.m_program->WriteLoaded(address, count, bytes)) {
        return kHexOutOfRange;
    }
    if (!target.m_anyWritten) {
        target.m_anyWritten = true;
        target.m_firstWritten = address;
    }
    if (target.m_readingUserFile) {
        if (!target.m_userRecordSeen) {
            target.m_userRecordSeen = true;
            target.m_programStart = address;
            target.m_userLowest = address;
        }
        if (address < target.m_userLowest) {
            target.m_userLowest = address;
        }
    }
    return kHexOk;
}

void CKernelTarget::HexMessage(void* context, int32_t level, const char* text) {
    static_cast<CKernelTarget*>(context)->m_link.Message(level, "%s", text);
}

bool CKernelTarget::ReadProgramFile(const char* path) {
    if (ReadHexFile(this, path, kHexFormatIntel, StoreLoaded, HexMessage) != kHexOk) {
        char line[1024];
        std::snprintf(line, sizeof line, "Cannot load '%s' into memory",
                      path != nullptr ? path : "");
        OutputMessage(1, line);
        return false;
    }
    return true;
}

SimStatus CKernelTarget::RefuseLoad() {
    m_link.LeaveLoaderMode(m_comms);
    return SIM_LOAD_FAILED;
}

SimStatus SIM_CALL CKernelTarget::LoadProgram(const char* path) {
    m_link.Message(1, " ");
    m_link.Message(1, "Brontal-A Debugger (V1.03) can not support:");
    m_link.Message(1, "- INTERRUPTS");
    m_link.Message(1, "- TIMER1");
    m_link.Message(1, "- TIMER2");
    m_link.Message(1, " ");
    if (m_link.DetectBoard(m_comms) != 0) {
        return SIM_LOAD_FAILED;
    }

    m_program = CProgramMemory::Create(kProgramSize, this);
    if (m_program == nullptr) {
        return RefuseLoad();
    }
    m_anyWritten = false;
    m_userRecordSeen = false;
    m_readingUserFile = false;
    const std::string kernel =
        KernelFolder() + (m_link.GetBoardKind() == BOARD_KIND_S53_PIC ? "corvanec_kernel.hex"
                                                                      : "t89c51rx2_kernel.hex");
    if (!ReadProgramFile(kernel.c_str())) {
        return RefuseLoad();
    }
    m_readingUserFile = true;
    const bool userRead = ReadProgramFile(path);
    m_readingUserFile = false;
    if (!userRead) {
        // The board is still in its boot loader: it is let out before the load gives up.
        return RefuseLoad();
    }
    if (m_userRecordSeen && m_userLowest < kKernelAreaEnd) {
        m_link.Message(
            1, "\nERROR: The user code falls in the memory area occupied by the debugger kernel");
        m_link.Message(
            1, "Please correct the ORG directive of C Startup code ( see 8051RLPx.ASM file) to");
        m_link.Message(1, "\tORG\t$0800\t\tCODE Starts here (normally in ROM)");
        m_link.Message(1, "%s", "");
        return RefuseLoad();
    }

    m_sfrSpace = CMemorySegment::Create(kSmallSpace, this);
    m_internalRam = CMemorySegment::Create(kSmallSpace, this);
    m_externalData = CMemorySegment::Create(m_extMem == ExtMemMode::None ? 0 : kExternalSize, this);
    if (m_sfrSpace == nullptr || m_internalRam == nullptr || m_externalData == nullptr) {
        return RefuseLoad();
    }
    m_model = std::make_unique<CpuState>(m_internalRam->PointerAt(0), m_sfrSpace->PointerAt(0));
    m_callStack = std::make_unique<CCallStack>();

    // From the first byte written to the end of the highest: nothing past the program goes to
    // the board.
    const uint32_t start = m_firstWritten;
    const uint32_t end = m_program->GetHighest();
    const uint32_t count = end > start ? end - start : 0;
    const int downloaded = m_link.DownloadImage(m_comms, start, count, m_program->PointerAt(start));
    if (downloaded != 0) {
        char line[128];
        std::snprintf(line, sizeof line, "Cannot download program into the board, ec = %d",
                      downloaded);
        OutputMessage(1, line);
        return SIM_LOAD_FAILED;
    }
    // The kernel runs: the board is no longer held.
    m_held = false;
    if (m_link.GetDownloadFlag() != 0) {
        // The whole program went to the board: no breakpoint of an earlier one is left in it.
        m_link.ForgetSlots();
    }
    SetLoaded(true);
    return SIM_OK;
}

}  // namespace yardlow

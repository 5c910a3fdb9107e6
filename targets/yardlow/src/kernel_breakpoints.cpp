// Breakpoints of a run: the ten slots, planting LCALL 0x002E over program bytes and putting the
// bytes back, and the program-memory access that does it (the kernel's own commands, or the
// board PIC's frames on an AT89S53 board).
#include <cstring>

#include "boardloader/kernel_link.h"
#include "w32/clock.h"
#include "w32/serial.h"

namespace {

constexpr int kProgramSpace = 1;
constexpr unsigned kBreakpointBytes = sizeof kBreakpointCall;

BYTE Sum(const BYTE* bytes, unsigned count) {
    BYTE sum = 0;
    additiveChecksum(bytes, static_cast<int>(count), &sum);
    return sum;
}

// Positions of a write frame before which the PIC needs its pause.
bool PausesBefore(unsigned position) {
    return position == 1 || position == 5 || position == 15 || position == 25;
}

}  // namespace

bool CKernelLink::SetSlot(int index, uint32_t address) {
    if (index < 0 || index >= kKernelSlots || m_slots[index].inUse) {
        return false;
    }
    m_slots[index] = KernelBreakpointSlot{};
    m_slots[index].address = address;
    m_slots[index].inUse = true;
    return true;
}

bool CKernelLink::ClearSlot(int index) {
    if (index < 0 || index >= kKernelSlots || !m_slots[index].inUse || m_slots[index].planted) {
        return false;
    }
    m_slots[index] = KernelBreakpointSlot{};
    return true;
}

bool CKernelLink::HasUsedSlots() const {
    for (const KernelBreakpointSlot& slot : m_slots) {
        if (slot.inUse) {
            return true;
        }
    }
    return false;
}

void CKernelLink::ForgetSlots() {
    for (KernelBreakpointSlot& slot : m_slots) {
        slot = KernelBreakpointSlot{};
    }
}

bool CKernelLink::IsPcClearOfBreakpoints() const {
    const uint32_t pc = m_context.Pc();
    for (const KernelBreakpointSlot& slot : m_slots) {
        if (slot.inUse && pc - slot.address < kBreakpointBytes) {
            return false;
        }
    }
    return true;
}

bool CKernelLink::InsertBreakpoints() {
    if (!HasUsedSlots()) {
        return true;
    }
    bool good = m_boardKind != BOARD_KIND_S53_PIC || EnterProgramMode();
    for (KernelBreakpointSlot& slot : m_slots) {
        if (!good) {
            break;
        }
        if (!slot.inUse) {
            continue;
        }
        // A slot still planted from before keeps the program's bytes it saved then: reading
        // again would save the breakpoint instead.
        if (!slot.planted) {
            good = ReadCode(kProgramSpace, slot.address, kBreakpointBytes, slot.saved);
            slot.planted = good;
        }
        good = good && WriteCode(kProgramSpace, slot.address, kBreakpointBytes, kBreakpointCall);
    }
    return EnterRunMode() && good;
}

bool CKernelLink::RemoveBreakpoints() {
    if (!HasUsedSlots()) {
        return false;
    }
    bool good = m_boardKind != BOARD_KIND_S53_PIC || EnterProgramMode();
    for (KernelBreakpointSlot& slot : m_slots) {
        if (!slot.inUse) {
            continue;
        }
        if (slot.planted && !WriteCode(kProgramSpace, slot.address, kBreakpointBytes, slot.saved)) {
            // The slot keeps the program's bytes until a later restore brings them back.
            good = false;
            continue;
        }
        slot = KernelBreakpointSlot{};
    }
    return EnterRunMode() && good;
}

bool CKernelLink::WriteCode(int space, unsigned address, unsigned count, const BYTE* data) {
    if (space != kProgramSpace || count == 0 || count > static_cast<unsigned>(kPicMaxBlock)) {
        return false;
    }
    if (m_boardKind == BOARD_KIND_S53_PIC) {
        BYTE bytes[kPicMaxBlock];
        std::memcpy(bytes, data, count);
        return PicSetType() && PicBlocks(true, address, count, bytes);
    }
    const BYTE command[4] = {KCMD_WRITE_CODE, static_cast<BYTE>(count), static_cast<BYTE>(address),
                             static_cast<BYTE>(address >> 8)};
    if (!WriteRaw(command, sizeof command)) {
        return false;
    }
    // The kernel writes its flash a byte at a time and echoes each when it is done.
    for (unsigned i = 0; i < count; ++i) {
        BYTE echo = 0;
        if (!WriteRaw(data + i, 1) || !ReadRaw(&echo, 1) || echo != data[i]) {
            return false;
        }
    }
    return true;
}

bool CKernelLink::ReadCode(int space, unsigned address, unsigned count, BYTE* out) {
    if (space != kProgramSpace || count == 0 || count > static_cast<unsigned>(kPicMaxBlock)) {
        return false;
    }
    if (m_boardKind == BOARD_KIND_S53_PIC) {
        return PicSetType() && PicBlocks(false, address, count, out);
    }
    const BYTE command[4] = {KCMD_READ_CODE, static_cast<BYTE>(count), static_cast<BYTE>(address),
                             static_cast<BYTE>(address >> 8)};
    if (!WriteRaw(command, sizeof command)) {
        return false;
    }
    for (unsigned i = 0; i < count; ++i) {
        if (!ReadRaw(out + i, 1)) {
            return false;
        }
    }
    return true;
}

bool CKernelLink::PicSetType() {
    m_picError = PIC_OK;
    if (!w32::EscapeCommFunction(m_port, SETRTS)) {
        return false;
    }
    BYTE frame[3] = {PIC_SET_TYPE, kPicTypeDirect, 0};
    frame[2] = Sum(frame, 2);
    BYTE reply[3] = {};
    if (!WriteRaw(frame, sizeof frame)) {
        return false;
    }
    if (!ReadRaw(reply, sizeof reply)) {
        return Fail(PIC_ERR_SHORT_REPLY);
    }
    if (Sum(reply, 2) != reply[2]) {
        return Fail(PIC_ERR_SUM);
    }
    if (reply[0] != PIC_SET_TYPE) {
        return Fail(PIC_ERR_COMMAND);
    }
    return reply[1] == 0 || Fail(PIC_ERR_TYPE_STATUS);
}

bool CKernelLink::PicWrite(unsigned address, unsigned count, const BYTE* data) {
    BYTE frame[6 + kPicMaxBlock] = {
        PIC_WRITE, address < kPicSpaceBoundary ? kPicSpaceLow : kPicSpaceHigh,
        static_cast<BYTE>(count), static_cast<BYTE>(address), static_cast<BYTE>(address >> 8)};
    std::memcpy(frame + 5, data, count);
    const unsigned length = 5 + count + 1;
    frame[length - 1] = Sum(frame, length - 1);
    // The PIC stores a write frame as it comes and needs its pauses before bytes 1, 5, 15 and 25.
    unsigned sent = 0;
    while (sent < length) {
        unsigned next = sent + 1;
        while (next < length && !PausesBefore(next)) {
            ++next;
        }
        if (!WriteRaw(frame + sent, next - sent)) {
            return false;
        }
        sent = next;
        if (sent < length) {
            w32::Sleep(kPicPauseMs);
        }
    }
    BYTE reply[3] = {};
    if (!ReadRaw(reply, sizeof reply)) {
        return Fail(PIC_ERR_SHORT_REPLY);
    }
    if (Sum(reply, 2) != reply[2]) {
        return Fail(PIC_ERR_SUM);
    }
    if (reply[0] != PIC_WRITE) {
        return Fail(PIC_ERR_COMMAND);
    }
    return reply[1] == 0 || Fail(PIC_ERR_WRITE_STATUS);
}

bool CKernelLink::PicRead(unsigned address, unsigned count, BYTE* out) {
    BYTE frame[6] = {PIC_READ, address < kPicSpaceBoundary ? kPicSpaceLow : kPicSpaceHigh,
                     static_cast<BYTE>(count), static_cast<BYTE>(address),
                     static_cast<BYTE>(address >> 8)};
    frame[5] = Sum(frame, 5);
    BYTE reply[3 + kPicMaxBlock] = {};
    if (!WriteRaw(frame, sizeof frame)) {
        return false;
    }
    if (!ReadRaw(reply, count + 3)) {
        return Fail(PIC_ERR_SHORT_REPLY);
    }
    if (Sum(reply, count + 2) != reply[count + 2]) {
        return Fail(PIC_ERR_SUM);
    }
    if (reply[0] != PIC_READ) {
        return Fail(PIC_ERR_COMMAND);
    }
    if (reply[1] != 0) {
        return Fail(PIC_ERR_READ_STATUS);
    }
    std::memcpy(out, reply + 2, count);
    return true;
}

bool CKernelLink::PicBlocks(bool write, unsigned address, unsigned count, BYTE* bytes) {
    // A block that crosses 0x2000 is two frames: the part below in space 1, the rest in space 5.
    unsigned first = count;
    if (address < kPicSpaceBoundary && address + count > kPicSpaceBoundary) {
        first = kPicSpaceBoundary - address;
    }
    const auto frame = [this, write](unsigned at, unsigned n, BYTE* data) {
        return write ? PicWrite(at, n, data) : PicRead(at, n, data);
    };
    return frame(address, first, bytes) &&
           (first == count || frame(address + first, count - first, bytes + first));
}

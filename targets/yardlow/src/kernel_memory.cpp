// The debug kernel's memory commands: SFRs by code, internal RAM, external data and program
// memory, each count one byte on the wire.
#include <cstring>

#include "boardloader/kernel_link.h"

namespace {

constexpr BYTE kSfrWrite = 4;
constexpr BYTE kHighestSfrCode = 0xCC;
// Internal RAM below this address is the register block's.
constexpr unsigned kContextRam = 0x20;
constexpr unsigned kInternalRam = 0x100;

// The byte of the register block behind a code, or null for a code the kernel serves.
BYTE* ContextSfr(KernelContext& context, BYTE code) {
    switch (code) {
        case KSFR_SP:
            return &context.sp;
        case KSFR_DPL:
            return &context.dpl;
        case KSFR_DPH:
            return &context.dph;
        case KSFR_IE:
            return &context.ie;
        case KSFR_PSW:
            return &context.psw;
        case KSFR_B:
            return &context.b;
        default:
            return nullptr;
    }
}

}  // namespace

bool CKernelLink::IsValidSfrCode(BYTE code) { return code % 4 == 0 && code <= kHighestSfrCode; }

bool CKernelLink::ReadSfr(BYTE code, BYTE* value) {
    if (!IsValidSfrCode(code)) {
        return false;
    }
    if (BYTE* own = ContextSfr(m_context, code)) {
        *value = *own;
        return true;
    }
    return WriteRaw(&code, 1) && ReadRaw(value, 1);
}

bool CKernelLink::WriteSfr(BYTE code, BYTE value) {
    if (!IsValidSfrCode(code)) {
        return false;
    }
    if (BYTE* own = ContextSfr(m_context, code)) {
        // It reaches the kernel with the next register block.
        *own = value;
        return true;
    }
    const BYTE command[2] = {static_cast<BYTE>(code + kSfrWrite), value};
    return WriteRaw(command, sizeof command);
}

bool CKernelLink::ReadIram(unsigned count, unsigned start, BYTE* out) {
    if (count == 0 || start + count > kInternalRam) {
        return false;
    }
    unsigned address = start;
    for (; address < kContextRam && address < start + count; ++address) {
        out[address - start] = m_context.ram[address];
    }
    if (address == start + count) {
        return true;
    }
    const BYTE command[3] = {KCMD_READ_IRAM, static_cast<BYTE>(start + count - address),
                             static_cast<BYTE>(address)};
    return WriteRaw(command, sizeof command) && ReadRaw(out + (address - start), command[1]);
}

bool CKernelLink::WriteIram(unsigned count, unsigned start, const BYTE* data) {
    if (count == 0 || start + count > kInternalRam) {
        return false;
    }
    unsigned address = start;
    for (; address < kContextRam && address < start + count; ++address) {
        m_context.ram[address] = data[address - start];
    }
    if (address == start + count) {
        return true;
    }
    const unsigned rest = start + count - address;
    BYTE message[3 + kInternalRam] = {KCMD_WRITE_IRAM, static_cast<BYTE>(rest),
                                      static_cast<BYTE>(address)};
    std::memcpy(message + 3, data + (address - start), rest);
    BYTE answer = 0;
    return WriteRaw(message, 3 + rest) && ReadRaw(&answer, 1) && answer == kKernelAck;
}

bool CKernelLink::ReadChunked(BYTE command, unsigned count, unsigned address, BYTE* out) {
    if (count == 0 || address + count > kKernelReadEnd) {
        return false;
    }
    for (unsigned done = 0; done < count;) {
        const unsigned piece =
            count - done < kKernelMaxExchange ? count - done : kKernelMaxExchange;
        const unsigned at = address + done;
        const BYTE message[4] = {command, static_cast<BYTE>(piece), static_cast<BYTE>(at),
                                 static_cast<BYTE>(at >> 8)};
        if (!WriteRaw(message, sizeof message) || !ReadRaw(out + done, piece)) {
            return false;
        }
        done += piece;
    }
    return true;
}

bool CKernelLink::ReadXdata(unsigned count, unsigned address, BYTE* out) {
    return ReadChunked(KCMD_READ_XDATA, count, address, out);
}

bool CKernelLink::ReadCodeMemory(unsigned count, unsigned address, BYTE* out) {
    return ReadChunked(KCMD_READ_CODE, count, address, out);
}

bool CKernelLink::WriteXdata(unsigned count, unsigned address, const BYTE* data) {
    if (count == 0 || address + count > 0x10000) {
        return false;
    }
    for (unsigned done = 0; done < count;) {
        const unsigned piece =
            count - done < kKernelMaxExchange ? count - done : kKernelMaxExchange;
        const unsigned at = address + done;
        BYTE message[4 + kKernelMaxExchange] = {KCMD_WRITE_XDATA, static_cast<BYTE>(piece),
                                                static_cast<BYTE>(at), static_cast<BYTE>(at >> 8)};
        std::memcpy(message + 4, data + done, piece);
        BYTE answer = 0;
        if (!WriteRaw(message, 4 + piece) || !ReadRaw(&answer, 1) || answer != kKernelAck) {
            return false;
        }
        done += piece;
    }
    return true;
}

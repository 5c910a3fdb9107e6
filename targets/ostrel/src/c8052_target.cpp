// The 8052 family: Timer 2's registers by name, its interrupt, and its machine cycles.
#include <cstring>

#include "engine/cpu.h"
#include "target_variants.h"

namespace ostrel {

namespace {

constexpr uint8_t kTimer2Vector = 0x2B;

enum Timer2Name { kT2, kRcap2, kT2con, kT2mod, kTimer2NameCount };
const char* const kTimer2Names[kTimer2NameCount] = {"T2", "RCAP2", "T2CON", "T2MOD"};

int FindTimer2Name(const char* name) {
    for (int i = 0; name != nullptr && i < kTimer2NameCount; ++i) {
        if (std::strcmp(name, kTimer2Names[i]) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

SimStatus C8052Target::StartDebugging() {
    const SimStatus status = C8051Target::StartDebugging();
    if (status == SIM_OK) {
        for (uint8_t address : kTimer2Registers) {
            Registers()->SetSfr(address, 0);
        }
    }
    return status;
}

int32_t SIM_CALL C8052Target::GetRegisterCount() {
    // The 8052 has no T2MOD, so its list ends before it.
    return C8051Target::GetRegisterCount() + (timer2_.Variant() == 1 ? kT2mod : kTimer2NameCount);
}

const char* SIM_CALL C8052Target::GetRegisterName(int32_t index) {
    const int32_t own = C8051Target::GetRegisterCount();
    if (index < own) {
        return C8051Target::GetRegisterName(index);
    }
    return index < GetRegisterCount() ? kTimer2Names[index - own] : "";
}

uint32_t SIM_CALL C8052Target::GetRegister(const char* name) {
    const int which = FindTimer2Name(name);
    CRegisterFile* r = Registers();
    if (which < 0 || r == nullptr) {
        return C8051Target::GetRegister(name);
    }
    switch (which) {
        case kT2:
            return static_cast<uint32_t>(r->Sfr(sfr::TH2) << 8 | r->Sfr(sfr::TL2));
        case kRcap2:
            return static_cast<uint32_t>(r->Sfr(sfr::RCAP2H) << 8 | r->Sfr(sfr::RCAP2L));
        case kT2con:
            return r->Sfr(sfr::T2CON);
        default:
            return timer2_.Variant() == 1 ? 0 : r->Sfr(sfr::T2MOD);
    }
}

void SIM_CALL C8052Target::SetRegister(const char* name, uint32_t value) {
    const int which = FindTimer2Name(name);
    CRegisterFile* r = Registers();
    if (which < 0 || r == nullptr) {
        C8051Target::SetRegister(name, value);
        return;
    }
    const auto low = static_cast<uint8_t>(value & 0xFF);
    const auto high = static_cast<uint8_t>((value >> 8) & 0xFF);
    switch (which) {
        case kT2:
            r->SetSfr(sfr::TH2, high);
            r->SetSfr(sfr::TL2, low);
            return;
        case kRcap2:
            r->SetSfr(sfr::RCAP2H, high);
            r->SetSfr(sfr::RCAP2L, low);
            return;
        case kT2con:
            r->SetSfr(sfr::T2CON, low);
            return;
        default:
            // Stored even on the 8052, whose Timer 2 does not look at it.
            r->SetSfr(sfr::T2MOD, low);
            return;
    }
}

void C8052Target::CheckExtraInterrupts(int32_t* vector, uint8_t startLevel) {
    // No wait of one instruction: TF2 and EXF2 are read from T2CON itself, and entering the
    // routine clears neither.
    const uint8_t* const s = Engine().sfr;
    if ((s[sfr::IE] & sfr::IE_ET2) == 0 || !timer2_.InterruptRequested(s)) {
        return;
    }
    CRegisterFile& r = *Registers();
    const uint8_t priority = (s[sfr::IP] & sfr::IP_PT2) != 0 ? 2 : 1;
    if (r.InterruptLevel() < priority) {
        *vector = kTimer2Vector;
        r.SetInterruptLevel(static_cast<uint8_t>(priority + startLevel));
    }
}

void C8052Target::StepTimer2(int32_t count) {
    timer2_.Step(Engine().sfr, CurrentCycleClass(), count);
}

}  // namespace ostrel

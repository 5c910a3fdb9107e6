// The 8052 family: Timer 2's registers by the names the host shows them under.
#include <cstring>

#include "ostrel/sfr.h"
#include "target_variants.h"

namespace ostrel {

namespace {

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

int32_t SIM_CALL C8052Target::GetRegisterCount() {
    // The 8052 has no T2MOD, so its list ends before it.
    return C8051Target::GetRegisterCount() +
           (Chip().Timer2()->Variant() == 1 ? kT2mod : kTimer2NameCount);
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
            return Chip().Timer2()->Variant() == 1 ? 0 : r->Sfr(sfr::T2MOD);
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

}  // namespace ostrel

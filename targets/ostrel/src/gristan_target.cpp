// The Gristan chips' MCON and TA by the names the host shows them under.
#include <cstring>

#include "ostrel/sfr.h"
#include "target_variants.h"

namespace ostrel {

namespace {

const char* const kGristanNames[] = {"MCON", "TA"};
constexpr int32_t kGristanNameCount = 2;

uint8_t GristanRegisterAddress(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    if (std::strcmp(name, "MCON") == 0) {
        return sfr::MCON;
    }
    return std::strcmp(name, "TA") == 0 ? sfr::TA : 0;
}

}  // namespace

int32_t SIM_CALL CGristanTarget::GetRegisterCount() {
    return C8051Target::GetRegisterCount() + kGristanNameCount;
}

const char* SIM_CALL CGristanTarget::GetRegisterName(int32_t index) {
    const int32_t own = C8051Target::GetRegisterCount();
    if (index < own) {
        return C8051Target::GetRegisterName(index);
    }
    return index < own + kGristanNameCount ? kGristanNames[index - own] : "";
}

uint32_t SIM_CALL CGristanTarget::GetRegister(const char* name) {
    const uint8_t address = GristanRegisterAddress(name);
    if (address == 0 || Registers() == nullptr) {
        return C8051Target::GetRegister(name);
    }
    return Registers()->Sfr(address);
}

void SIM_CALL CGristanTarget::SetRegister(const char* name, uint32_t value) {
    const uint8_t address = GristanRegisterAddress(name);
    if (address == 0 || Registers() == nullptr) {
        C8051Target::SetRegister(name, value);
        return;
    }
    // The next step applies MCON's rules to a value set here, as to one the program wrote.
    Registers()->SetSfr(address, static_cast<uint8_t>(value & 0xFF));
}

}  // namespace ostrel

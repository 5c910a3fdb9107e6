// The Gristan chips around the 8051 engine: the partition check before each step, the bits that
// only timed access may change, MCON's rules after each step, and their reset.
#include <cstring>

#include "engine/cpu.h"
#include "target_variants.h"

namespace ostrel {

namespace {

// PCON's bits 1, 2 and 6, and IP's bit 7, change only inside a timed-access window.
constexpr uint8_t kProtectedPcon = 0x46;
constexpr uint8_t kProtectedIp = 0x80;

const char* const kGristanNames[] = {"MCON", "TA"};
constexpr int32_t kGristanNameCount = 2;

uint8_t Restore(uint8_t now, uint8_t before, uint8_t mask) {
    return static_cast<uint8_t>((now & ~mask) | (before & mask));
}

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

SimStatus SIM_CALL CGristanTarget::LoadProgram(const char* path) {
    const SimStatus status = C8051Target::LoadProgram(path);
    if (status == SIM_OK) {
        // A new program brings new spaces, split as at the chip's start.
        mcon_.StartLoaded();
        uint8_t* const s = Engine().sfr;
        s[sfr::MCON] = CMconRegister::kStartValue;
        timedAccess_.Reset(s);
    }
    return status;
}

SimStatus CGristanTarget::StartDebugging() {
    const SimStatus status = C8051Target::StartDebugging();
    if (status != SIM_OK) {
        return status;
    }
    uint8_t* const s = Engine().sfr;
    s[sfr::MCON] = CMconRegister::kStartValue;
    mcon_.Reset();
    timedAccess_.Reset(s);
    return SIM_OK;
}

SimStatus CGristanTarget::StopDebugging() {
    const SimStatus status = C8051Target::StopDebugging();
    if (status == SIM_OK) {
        mcon_.ClearData();
    }
    return status;
}

SimStatus CGristanTarget::ExecuteInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (!mcon_.Valid() || Registers()->Pc() >= mcon_.Partition()) {
        return SIM_OUT_OF_RANGE;
    }
    uint8_t* const s = Engine().sfr;
    const uint8_t mcon = s[sfr::MCON];
    const uint8_t pcon = s[sfr::PCON];
    const uint8_t ip = s[sfr::IP];
    const SimStatus status = C8051Target::ExecuteInstruction();
    if (status != SIM_OK) {
        return status;
    }
    const int cycleClass = CurrentCycleClass();
    if (cycleClass == 2) {
        timedAccess_.Tick(s, cycleClass, 1);
    }
    if (!timedAccess_.IsOpen()) {
        s[sfr::PCON] = Restore(s[sfr::PCON], pcon, kProtectedPcon);
        s[sfr::IP] = Restore(s[sfr::IP], ip, kProtectedIp);
    }
    if (mcon_.NeedsUpdate(s[sfr::MCON])) {
        ApplyMcon(mcon);
    }
    if (!mcon_.Valid()) {
        return SIM_OUT_OF_RANGE;
    }
    timedAccess_.Tick(s, cycleClass, cycleClass == 2 ? 1 : cycleClass);
    return SIM_OK;
}

void CGristanTarget::ApplyMcon(uint8_t before) {
    uint8_t* const s = Engine().sfr;
    uint8_t mcon = s[sfr::MCON];
    if (!timedAccess_.IsOpen()) {
        mcon = Restore(mcon, before, CMconRegister::kPartitionAccess);
    }
    if ((before & CMconRegister::kPartitionAccess) == 0) {
        mcon = Restore(mcon, before, CMconRegister::kPartitionBits);
    }
    mcon = static_cast<uint8_t>((mcon & ~CMconRegister::kBit0) | CMconRegister::kRange);
    s[sfr::MCON] = mcon;
    mcon_.Update(mcon);
}

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

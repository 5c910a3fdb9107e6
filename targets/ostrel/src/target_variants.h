// The chip-specific targets: the 8052 family with Timer 2, and the Gristan chips.
#pragma once

#include "c8051_target.h"
#include "gristan/mcon_register.h"
#include "gristan/timed_access.h"
#include "timer2.h"

namespace ostrel {

// Timer 2's special function registers, which the 8052 family adds.
constexpr uint8_t kTimer2Registers[] = {0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD};

class C8052Target : public C8051Target {
public:
    explicit C8052Target(const char* options) : C8052Target("8052", options, 1) {}
    bool HasTimer2() const override { return true; }
    SimStatus StartDebugging() override;

    // The 8051's registers, then "T2", "RCAP2", "T2CON" and, where the chip has it, "T2MOD".
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;

    void CheckExtraInterrupts(int32_t* vector, uint8_t startLevel) override;
    void AdvanceSerialPort() override;
    void StepTimer2(int32_t count) override;

    CTimer2& Timer2() { return timer2_; }

protected:
    // `variant` 1: the 8052, without T2MOD; 2: the chips that have it.
    C8052Target(const char* chipId, const char* options, int variant)
        : C8051Target(chipId, options), timer2_(*this, variant) {}

private:
    CTimer2 timer2_;
};

class C80C52Target : public C8052Target {
public:
    explicit C80C52Target(const char* options) : C80C52Target("80C52", options) {}

protected:
    C80C52Target(const char* chipId, const char* options) : C8052Target(chipId, options, 2) {}
};

class CAT89S53Target : public C80C52Target {
public:
    explicit CAT89S53Target(const char* options) : C80C52Target("AT89S53", options) {}
};

// The Gristan chips share one RAM between program and data (MCON sets the split; the 32 KB
// models can give program memory more than 8 KB of it), and guard some control bits by timed
// access (TA).
class CGristanTarget : public C8051Target {
public:
    bool Has32KRange() const { return range32k_; }

    SimStatus SIM_CALL LoadProgram(const char* path) override;
    SimStatus StartDebugging() override;
    SimStatus StopDebugging() override;
    SimStatus ExecuteInstruction() override;

    // The 8051's registers, then "MCON" and "TA".
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;

    const CMconRegister& Mcon() const { return mcon_; }
    const CTimedAccess& TimedAccess() const { return timedAccess_; }

protected:
    CGristanTarget(const char* chipId, const char* options, bool range32k)
        : C8051Target(chipId, options), range32k_(range32k), mcon_(*this, range32k) {}

private:
    friend class CMconRegister;  // rebuilds program memory and the data space

    // MCON after a step changed it: bits that the step may not change go back to `before`,
    // then it is latched and the RAM split by it.
    void ApplyMcon(uint8_t before);

    bool range32k_;
    CMconRegister mcon_;
    CTimedAccess timedAccess_;
};

class CGristan8Target : public CGristanTarget {
public:
    explicit CGristan8Target(const char* options) : CGristan8Target("Gristan-8", options) {}

protected:
    CGristan8Target(const char* chipId, const char* options)
        : CGristanTarget(chipId, options, false) {}
};

class CGristan32Target : public CGristanTarget {
public:
    explicit CGristan32Target(const char* options) : CGristan32Target("Gristan-32", options) {}

protected:
    CGristan32Target(const char* chipId, const char* options)
        : CGristanTarget(chipId, options, true) {}
};

class CGristanT8Target : public CGristan8Target {
public:
    explicit CGristanT8Target(const char* options) : CGristan8Target("GristanT-8", options) {}
};

class CGristanT32Target : public CGristan32Target {
public:
    explicit CGristanT32Target(const char* options) : CGristan32Target("GristanT-32", options) {}
};

}  // namespace ostrel

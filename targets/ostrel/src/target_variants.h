// The chip-specific targets: the 8052 family with Timer 2, and the Gristan chips. Each passes
// its chip family to the engine, which gives it its peripherals; these classes add the names
// the host shows their registers under.
#pragma once

#include "c8051_target.h"

namespace ostrel {

class C8052Target : public C8051Target {
public:
    explicit C8052Target(const char* options) : C8052Target("8052", options, ChipFamily::k8052) {}

    // The 8051's registers, then "T2", "RCAP2", "T2CON" and, where the chip has it, "T2MOD".
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;

    CTimer2& Timer2() { return *Chip().Timer2(); }

protected:
    C8052Target(const char* chipId, const char* options, ChipFamily family)
        : C8051Target(chipId, options, family) {}
};

class C80C52Target : public C8052Target {
public:
    explicit C80C52Target(const char* options) : C80C52Target("80C52", options) {}

protected:
    C80C52Target(const char* chipId, const char* options)
        : C8052Target(chipId, options, ChipFamily::k80C52) {}
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
    bool Has32KRange() const { return (Chip().Variant().parts & kPartMcon32k) != 0; }

    // The 8051's registers, then "MCON" and "TA".
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;

    const CMconRegister& Mcon() const { return *Chip().Mcon(); }
    const CTimedAccess& TimedAccess() const { return *Chip().TimedAccess(); }

protected:
    CGristanTarget(const char* chipId, const char* options, ChipFamily family)
        : C8051Target(chipId, options, family) {}
};

class CGristan8Target : public CGristanTarget {
public:
    explicit CGristan8Target(const char* options) : CGristan8Target("Gristan-8", options) {}

protected:
    CGristan8Target(const char* chipId, const char* options)
        : CGristanTarget(chipId, options, ChipFamily::kGristan8) {}
};

class CGristan32Target : public CGristanTarget {
public:
    explicit CGristan32Target(const char* options) : CGristan32Target("Gristan-32", options) {}

protected:
    CGristan32Target(const char* chipId, const char* options)
        : CGristanTarget(chipId, options, ChipFamily::kGristan32) {}
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

// TModelTarget: the host's questions a board debugger answers from its own view alone, the
// register model and the host-side copies of the four memory spaces, with nothing sent to the
// board. Pelmor's and Yardlow's targets derive it over their target base.
#pragma once

#include <cstdint>

#include "boardlink/cpu_state.h"
#include "simtarget/chip_spaces.h"
#include "simtarget/opcode_facts.h"
#include "simtarget/sim_interfaces.h"

// Target is the deriving target (its Model() the register model), Base its target base. It adds
// no virtual operation: the slots of the target's table stay where the base puts them.
template <class Target, class Base>
class TModelTarget : public Base, protected CChipSpaces {
public:
    int32_t SIM_CALL GetMemorySpaceCount() override { return chip_spaces::kMemorySpaceCount; }
    uint8_t SIM_CALL GetMemorySpaceInfo(int32_t space, const char** name, uint32_t* size) override {
        return SpaceInfo(space, name, size);
    }
    SimStatus SIM_CALL GetPC(uint32_t* pc) override {
        if (!this->IsLoaded()) {
            return SIM_NOT_LOADED;
        }
        *pc = RegisterModel().m_pc;
        return SIM_OK;
    }
    SimStatus SIM_CALL GetSP(uint32_t* sp) override {
        if (!this->IsLoaded()) {
            return SIM_NOT_LOADED;
        }
        *sp = RegisterModel().Sp();
        return SIM_OK;
    }
    SimStatus SIM_CALL IsReturnAt(uint32_t address, uint8_t* result) override {
        if (!this->IsLoaded()) {
            return SIM_NOT_LOADED;
        }
        *result = opcodes::IsReturn(ProgramByte(address)) ? 1 : 0;
        return SIM_OK;
    }
    SimStatus SIM_CALL IsCallAt(uint32_t address, uint8_t* result) override {
        if (!this->IsLoaded()) {
            return SIM_NOT_LOADED;
        }
        *result = opcodes::IsCall(ProgramByte(address)) ? 1 : 0;
        return SIM_OK;
    }
    SimStatus SIM_CALL GetNextInstructionAddress(uint32_t address, uint32_t* next) override {
        if (!this->IsLoaded()) {
            return SIM_NOT_LOADED;
        }
        *next = address + static_cast<uint32_t>(opcodes::InstructionSize(ProgramByte(address)));
        return SIM_OK;
    }

protected:
    TModelTarget() = default;
    ~TModelTarget() = default;

private:
    const CpuState& RegisterModel() { return *static_cast<Target*>(this)->Model(); }
};

// What simhost knows of a plug-in's processor family beyond what the plug-in interfaces say: how
// wide each register is, and where the 8051's serial receiver is switched on.
#pragma once

#include <cstdint>
#include <string>

namespace simhost {

class TargetFamily {
public:
    // The family by the name the factory gives (GetFamilyName); an unknown name knows nothing.
    explicit TargetFamily(const std::string& familyName = std::string());

    bool Is8051() const { return m_is8051; }
    // Width of a register in bits, 0 when the family does not say.
    int RegisterBits(const std::string& name) const;
    // Upper-case hex digits that show a value of the register: one per four bits, at least two.
    std::string RegisterText(const std::string& name, uint32_t value) const;

    // The 8051's serial control register and its receive-enable bit: while REN is clear the
    // chip receives nothing.
    static constexpr const char* kSerialControl = "SCON";
    static constexpr uint32_t kReceiveEnable = 0x10;

private:
    bool m_is8051 = false;
};

}  // namespace simhost

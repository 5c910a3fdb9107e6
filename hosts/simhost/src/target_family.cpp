// Register widths of the processor families simhost knows.
#include "target_family.h"

#include <cstdio>

namespace simhost {

namespace {

// The 8051 registers that hold 16 bits; every other register name of the family is a byte.
const char* const k8051WordRegisters[] = {"PC", "DPTR", "T0", "T1", "T2", "RCAP2", "cycles"};

}  // namespace

TargetFamily::TargetFamily(const std::string& familyName) : m_is8051(familyName == "8051") {}

int TargetFamily::RegisterBits(const std::string& name) const {
    if (!m_is8051) {
        return 0;
    }
    for (const char* word : k8051WordRegisters) {
        if (name == word) {
            return 16;
        }
    }
    return 8;
}

std::string TargetFamily::RegisterText(const std::string& name, uint32_t value) const {
    int bits = RegisterBits(name);
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", bits > 8 ? bits / 4 : 2, value);
    return text;
}

}  // namespace simhost

// The chip-specific targets: the 8052 family with Timer 2, and the Gristan chips.
#pragma once

#include "c8051_target.h"

namespace ostrel {

// Timer 2's special function registers, which the 8052 family adds.
constexpr uint8_t kTimer2Registers[] = {0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD};

class C8052Target : public C8051Target {
public:
    explicit C8052Target(const char* options) : C8052Target("8052", options) {}
    bool HasTimer2() const override { return true; }
    SimStatus StartDebugging() override;

protected:
    C8052Target(const char* chipId, const char* options) : C8051Target(chipId, options) {}
};

class C80C52Target : public C8052Target {
public:
    explicit C80C52Target(const char* options) : C80C52Target("80C52", options) {}

protected:
    C80C52Target(const char* chipId, const char* options) : C8052Target(chipId, options) {}
};

class CAT89S53Target : public C80C52Target {
public:
    explicit CAT89S53Target(const char* options) : C80C52Target("AT89S53", options) {}
};

// The Gristan chips share one RAM between program and data; the 32 KB models can give program
// memory more than 8 KB of it.
class CGristanTarget : public C8051Target {
public:
    bool Has32KRange() const { return range32k_; }

protected:
    CGristanTarget(const char* chipId, const char* options, bool range32k)
        : C8051Target(chipId, options), range32k_(range32k) {}

private:
    bool range32k_;
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

// The peripheral items as a table: name, kind, how the state reads, how an edit applies.
#include "peripheral_items.h"

#include <cstdio>
#include <cstring>

#include "oscillator.h"
#include "ostrel/sfr.h"
#include "simtarget/sim_interfaces.h"

namespace ostrel {

namespace {

enum ItemKind : int32_t { kFlag = 1, kChoice = 2, kNumber = 3 };

struct ItemState {
    int32_t value;
    char text[sizeof(SimPeripheralItem::valueText)];
};

using DescribeFn = void (*)(CRegisterFile&, ItemState&);
using EditFn = void (*)(CRegisterFile&, int32_t);

struct ItemHandler {
    const char* name;
    int32_t kind;
    DescribeFn describe;
    EditFn edit;  // null: the item cannot be edited
};

// The record's text field is short: a long value text is cut, which is all a caller needs.
template <typename... Args>
void SetText(ItemState& state, const char* format, Args... args) {
    if (std::snprintf(state.text, sizeof(state.text), format, args...) < 0) {
        state.text[0] = '\0';
    }
}

void SetText(ItemState& state, const char* text) {
    std::snprintf(state.text, sizeof(state.text), "%s", text);
}

// One bit of a special function register, as a flag item.
template <uint8_t kAddress, uint8_t kMask>
bool Bit(CRegisterFile& r) {
    return (r.Sfr(kAddress) & kMask) != 0;
}

template <uint8_t kAddress, uint8_t kMask>
void DescribeBit(CRegisterFile& r, ItemState& s) {
    s.value = Bit<kAddress, kMask>(r) ? 1 : 0;
}

template <uint8_t kAddress, uint8_t kMask>
void EditBit(CRegisterFile& r, int32_t value) {
    const uint8_t byte = r.Sfr(kAddress);
    r.SetSfr(kAddress, static_cast<uint8_t>(value != 0 ? (byte | kMask) : (byte & ~kMask)));
}

// A two-bit field of a special function register starting at bit kShift, as a choice item.
template <uint8_t kAddress, int kShift>
void EditField(CRegisterFile& r, int32_t value) {
    if (value < 0 || value > 3) {
        return;
    }
    const uint8_t mask = static_cast<uint8_t>(3u << kShift);
    const uint8_t byte = r.Sfr(kAddress);
    r.SetSfr(kAddress, static_cast<uint8_t>((byte & ~mask) | (value << kShift)));
}

// PCON's PD and IDL: power down wins over idle, as on the chip.
void DescribePower(CRegisterFile& r, ItemState& s) {
    static const char* const kModes[] = {"running mode", "power down mode", "idle mode"};
    const uint8_t pcon = r.Sfr(sfr::PCON);
    s.value = (pcon & sfr::PCON_PD) ? 1 : (pcon & sfr::PCON_IDL) ? 2 : 0;
    SetText(s, kModes[s.value]);
}

// Running clears both bits; power down and idle each set their own bit and leave the other.
void EditPower(CRegisterFile& r, int32_t value) {
    const uint8_t pcon = r.Sfr(sfr::PCON);
    switch (value) {
        case 0:
            r.SetSfr(sfr::PCON, static_cast<uint8_t>(pcon & ~(sfr::PCON_PD | sfr::PCON_IDL)));
            return;
        case 1:
            r.SetSfr(sfr::PCON, static_cast<uint8_t>(pcon | sfr::PCON_PD));
            return;
        case 2:
            r.SetSfr(sfr::PCON, static_cast<uint8_t>(pcon | sfr::PCON_IDL));
            return;
        default:
            return;
    }
}

void DescribeOscillator(CRegisterFile&, ItemState& s) {
    s.value = static_cast<int32_t>(GetOscillatorHz());
    SetText(s, "[Hz]");
}

void EditOscillator(CRegisterFile&, int32_t value) { SetOscillatorHz(value); }

// The highest overflow rate of a timer in its current mode.
void DescribeOverflow(ItemState& s, bool flag, int mode, uint8_t th) {
    const uint32_t fosc = GetOscillatorHz();
    uint32_t rate = 0;
    switch (mode) {
        case 0:
            rate = fosc / 98304;
            break;
        case 1:
            rate = fosc / 786432;
            break;
        case 2:
            rate = fosc / 12 / (256u - th);
            break;
        default:
            rate = fosc / 3072;
            break;
    }
    s.value = flag ? 1 : 0;
    SetText(s, "Max F overflow is %d Hz", static_cast<int>(rate));
}

void DescribeT1Overflow(CRegisterFile& r, ItemState& s) {
    DescribeOverflow(s, Bit<sfr::TCON, sfr::TCON_TF1>(r),
                     (r.Sfr(sfr::TMOD) >> sfr::TMOD_MODE1_SHIFT) & sfr::TMOD_MODE_BITS,
                     r.Sfr(sfr::TH1));
}

void DescribeT0Overflow(CRegisterFile& r, ItemState& s) {
    DescribeOverflow(s, Bit<sfr::TCON, sfr::TCON_TF0>(r),
                     (r.Sfr(sfr::TMOD) >> sfr::TMOD_MODE0_SHIFT) & sfr::TMOD_MODE_BITS,
                     r.Sfr(sfr::TH0));
}

void DescribeT1Run(CRegisterFile& r, ItemState& s) {
    s.value = Bit<sfr::TCON, sfr::TCON_TR1>(r) ? 1 : 0;
    SetText(s, s.value ? "Timer 1 is operating" : "Timer 1 is stopped");
}

void DescribeT0Run(CRegisterFile& r, ItemState& s) {
    s.value = Bit<sfr::TCON, sfr::TCON_TR0>(r) ? 1 : 0;
    SetText(s, s.value ? "Timer 0 is operating" : "Timer 0 is stopped");
}

const char* const kTimerModes[] = {"13-bit mode", "16-bit mode", "8-bit auto reload mode",
                                   "8-bit dual mode"};

template <int kShift>
void DescribeTimerMode(CRegisterFile& r, ItemState& s) {
    s.value = (r.Sfr(sfr::TMOD) >> kShift) & sfr::TMOD_MODE_BITS;
    SetText(s, kTimerModes[s.value]);
}

template <uint8_t kMask>
void DescribeCounterOrTimer(CRegisterFile& r, ItemState& s) {
    s.value = (r.Sfr(sfr::TMOD) & kMask) ? 1 : 0;
    SetText(s, s.value ? "Counter" : "Timer");
}

void DescribeSerialMode(CRegisterFile& r, ItemState& s) {
    const uint32_t fosc = GetOscillatorHz();
    const bool smod = (r.Sfr(sfr::PCON) & sfr::PCON_SMOD) != 0;
    const uint32_t timer1Rate = (smod ? 2u : 1u) * fosc / 384 / (256u - r.Sfr(sfr::TH1));
    s.value = r.Sfr(sfr::SCON) >> sfr::SCON_MODE_SHIFT;
    switch (s.value) {
        case 0:
            SetText(s, "Shift register,BaudRate=%d", static_cast<int>(fosc / 12));
            break;
        case 1:
            SetText(s, "UART,8 bit,BaudRate=%d", static_cast<int>(timer1Rate));
            break;
        case 2:
            SetText(s, "UART,9 bit,BaudRate=%d", static_cast<int>(smod ? fosc / 32 : fosc / 64));
            break;
        default:
            SetText(s, "UART,9 bit,BaudRate=%d", static_cast<int>(timer1Rate));
            break;
    }
}

void DescribeSm2(CRegisterFile& r, ItemState& s) {
    s.value = Bit<sfr::SCON, sfr::SCON_SM2>(r) ? 1 : 0;
    SetText(s, s.value ? "Multi-Processor Exchanging" : "Normal Exchanging");
}

const ItemHandler kItems[kPeripheralItemCount] = {
    {"power", kChoice, DescribePower, EditPower},
    {"F oscillator", kNumber, DescribeOscillator, EditOscillator},
    {"T1 Overflow", kFlag, DescribeT1Overflow, nullptr},
    {"T1 Run", kFlag, DescribeT1Run, EditBit<sfr::TCON, sfr::TCON_TR1>},
    {"T0 Overflow", kFlag, DescribeT0Overflow, nullptr},
    {"T0 Run", kFlag, DescribeT0Run, EditBit<sfr::TCON, sfr::TCON_TR0>},
    {"IE1", kFlag, DescribeBit<sfr::TCON, sfr::TCON_IE1>, EditBit<sfr::TCON, sfr::TCON_IE1>},
    {"IT1", kFlag, DescribeBit<sfr::TCON, sfr::TCON_IT1>, EditBit<sfr::TCON, sfr::TCON_IT1>},
    {"IE0", kFlag, DescribeBit<sfr::TCON, sfr::TCON_IE0>, EditBit<sfr::TCON, sfr::TCON_IE0>},
    {"IT0", kFlag, DescribeBit<sfr::TCON, sfr::TCON_IT0>, EditBit<sfr::TCON, sfr::TCON_IT0>},
    {"T1 mode", kChoice, DescribeTimerMode<sfr::TMOD_MODE1_SHIFT>,
     EditField<sfr::TMOD, sfr::TMOD_MODE1_SHIFT>},
    {"T0 mode", kChoice, DescribeTimerMode<sfr::TMOD_MODE0_SHIFT>,
     EditField<sfr::TMOD, sfr::TMOD_MODE0_SHIFT>},
    {"T1 GATE", kFlag, DescribeBit<sfr::TMOD, sfr::TMOD_GATE1>,
     EditBit<sfr::TMOD, sfr::TMOD_GATE1>},
    {"T0 GATE", kFlag, DescribeBit<sfr::TMOD, sfr::TMOD_GATE0>,
     EditBit<sfr::TMOD, sfr::TMOD_GATE0>},
    {"C/T 1", kFlag, DescribeCounterOrTimer<sfr::TMOD_CT1>, EditBit<sfr::TMOD, sfr::TMOD_CT1>},
    {"C/T 0", kFlag, DescribeCounterOrTimer<sfr::TMOD_CT0>, EditBit<sfr::TMOD, sfr::TMOD_CT0>},
    {"Serial Port mode", kChoice, DescribeSerialMode, EditField<sfr::SCON, sfr::SCON_MODE_SHIFT>},
    {"SM2", kFlag, DescribeSm2, EditBit<sfr::SCON, sfr::SCON_SM2>},
    {"REN", kFlag, DescribeBit<sfr::SCON, sfr::SCON_REN>, EditBit<sfr::SCON, sfr::SCON_REN>},
    {"TB8", kFlag, DescribeBit<sfr::SCON, sfr::SCON_TB8>, EditBit<sfr::SCON, sfr::SCON_TB8>},
    {"RB8", kFlag, DescribeBit<sfr::SCON, sfr::SCON_RB8>, EditBit<sfr::SCON, sfr::SCON_RB8>},
    {"TI", kFlag, DescribeBit<sfr::SCON, sfr::SCON_TI>, EditBit<sfr::SCON, sfr::SCON_TI>},
    {"RI", kFlag, DescribeBit<sfr::SCON, sfr::SCON_RI>, EditBit<sfr::SCON, sfr::SCON_RI>},
};

}  // namespace

void DescribePeripheralItem(CRegisterFile& registers, int index, SimPeripheralItem* item) {
    if (item == nullptr) {
        return;
    }
    std::memset(item, 0, sizeof(*item));
    if (index < 0 || index >= kPeripheralItemCount) {
        return;
    }
    const ItemHandler& handler = kItems[index];
    ItemState state{};
    handler.describe(registers, state);
    item->kind = handler.kind;
    std::snprintf(item->name, sizeof(item->name), "%s", handler.name);
    std::snprintf(item->valueText, sizeof(item->valueText), "%s", state.text);
    item->value = state.value;
}

void EditPeripheralItem(CRegisterFile& registers, int index, const SimPeripheralItem& item) {
    if (index < 0 || index >= kPeripheralItemCount || kItems[index].edit == nullptr) {
        return;
    }
    kItems[index].edit(registers, item.value);
}

}  // namespace ostrel

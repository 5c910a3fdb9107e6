// The peripheral status items that the host lists: power mode, oscillator, timers, serial port.
#pragma once

#include "ostrel/register_file.h"

struct SimPeripheralItem;

namespace ostrel {

constexpr int kPeripheralItemCount = 23;

// Fills `item` with the state of item `index`; an index outside the list gives an empty item.
void DescribePeripheralItem(CRegisterFile& registers, int index, SimPeripheralItem* item);

// Applies the value field of `item` to item `index`; items without an edit, and indices outside
// the list, change nothing.
void EditPeripheralItem(CRegisterFile& registers, int index, const SimPeripheralItem& item);

}  // namespace ostrel

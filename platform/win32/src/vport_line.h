// Character timing and framing on the virtual cable.
#pragma once

#include <stdint.h>

#include "w32test/vport.h"

namespace w32 {
namespace vport {

using w32test::vport::Cable;
using w32test::vport::CallKind;
using w32test::vport::Device;
using w32test::vport::EventKind;
using w32test::vport::HostEvent;
using w32test::vport::LineSettings;

// Microseconds one character takes on the wire (rounded up).
uint64_t CharacterMicros(const LineSettings& line);

// What a receiver framing at `receiver` reads when `byte` was sent framed at `sender`: the byte
// cut to the data bits when the framings agree; otherwise a garbled byte, never equal to `byte`,
// and *garbled is set.
BYTE Receive(BYTE byte, const LineSettings& sender, const LineSettings& receiver, bool* garbled);

}  // namespace vport
}  // namespace w32

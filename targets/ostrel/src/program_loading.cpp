// Loading an Intel HEX program into a fresh set of memory spaces, with the vector redirection of
// programs linked above the chip's vector table.
#include <cstdio>
#include <new>

#include "c8051_target.h"
#include "hexfile/hex_reader.h"

namespace ostrel {

namespace {

// Lowest addresses up to this one belong to the vector table: such a program keeps its own.
constexpr uint32_t kHighestVectorTableStart = 49;
constexpr uint32_t kNothingLoaded = 0xFFFFFFFFu;

struct LoadContext {
    C8051Target* target;
    CProgramMemory* program;
};

int32_t StoreRecord(void* context, uint32_t address, uint32_t count, const uint8_t* bytes) {
    auto* load = static_cast<LoadContext*>(context);
    return load->program->WriteLoaded(address, count, bytes) ? kHexOk : kHexOutOfRange;
}

void RelayMessage(void* context, int32_t level, const char* text) {
    static_cast<LoadContext*>(context)->target->OutputMessage(level, text);
}

// Memory exhaustion while loading is a failed load, not an exception through the host.
template <typename T, typename... Args>
std::unique_ptr<T> MakeOrNull(Args&&... args) {
    return std::unique_ptr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

}  // namespace

void C8051Target::RedirectVectors(CProgramMemory& program) {
    // LJMPs at the reset vector and at every interrupt vector of the chip, each to the same
    // offset above the program's start, the bytes between them 0.
    const uint32_t start = program.GetLowest();
    const uint32_t lastVector = HasTimer2() ? 0x2B : 0x23;
    uint8_t table[0x2B + 3] = {};
    auto ljmp = [&table](uint32_t at, uint32_t target) {
        table[at] = 0x02;
        table[at + 1] = static_cast<uint8_t>((target >> 8) & 0xFF);
        table[at + 2] = static_cast<uint8_t>(target & 0xFF);
    };
    ljmp(0, start);
    for (uint32_t vector = 0x03; vector <= lastVector; vector += 8) {
        ljmp(vector, start + vector);
    }
    program.WriteBlock(0, lastVector + 3, table);
    program.SetLowest(0);
}

SimStatus SIM_CALL C8051Target::LoadProgram(const char* path) {
    if (m_chipInfo == nullptr) {
        return SIM_LOAD_FAILED;
    }
    char line[512];
    std::snprintf(line, sizeof(line), "\nChip Type: %s Manufacturer: %s", m_chipInfo->chipId,
                  m_chipInfo->manufacturer);
    OutputMessage(0, line);
    if (m_chipInfo->programSize < 1024) {
        return SIM_LOAD_FAILED;
    }
    std::unique_ptr<CProgramMemory> program = CProgramMemory::Create(m_chipInfo->programSize, this);
    if (!program) {
        return SIM_LOAD_FAILED;
    }
    LoadContext context{this, program.get()};
    if (ReadHexFile(&context, path, kHexFormatIntel, StoreRecord, RelayMessage) != kHexOk) {
        return SIM_LOAD_FAILED;
    }
    const uint32_t lowest = program->GetLowest();
    if (lowest != kNothingLoaded && lowest > kHighestVectorTableStart) {
        RedirectVectors(*program);
    }

    // A failed load below leaves the program loaded before (if any) as it was.
    std::unique_ptr<CMemorySegment> sfrSpace = CMemorySegment::Create(256, this);
    std::unique_ptr<CMemorySegment> internalRam =
        CMemorySegment::Create(m_chipInfo->internalRamSize, this);
    std::unique_ptr<CMemorySegment> externalData;
    if (m_extMem != ExtMemMode::Overlapped) {
        externalData = CMemorySegment::Create(
            m_extMem == ExtMemMode::Separate ? m_chipInfo->externalSize : 0, this);
    }
    auto callStack = MakeOrNull<CCallStack>();
    if (!sfrSpace || !internalRam || (!externalData && m_extMem != ExtMemMode::Overlapped) ||
        !callStack) {
        return SIM_LOAD_FAILED;
    }

    m_sfrSpace = std::move(sfrSpace);
    m_program = std::move(program);
    m_internalRam = std::move(internalRam);
    m_externalData = std::move(externalData);
    m_callStack = std::move(callStack);
    BindChipMemory();
    // A new program runs on a chip as new: its registers reset, its peripherals as at start.
    m_chip.PowerOn();
    SetLoaded(true);
    return SIM_OK;
}

}  // namespace ostrel

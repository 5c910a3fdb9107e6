// The host objects simhost hands to a target: message sink, debug information from a symbol
// file, serial terminal and port observer. Each counts the Release calls it gets.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "simtarget/sim_interfaces.h"
#include "transcript.h"

namespace simhost {

// Symbols of the program under debugging, from a file of "ADDR NAME" lines (ADDR in hex,
// with or without 0x; blank lines and lines starting with '#' are skipped).
class SymbolTable {
public:
    bool Load(const std::string& path, std::string* error);
    // The name at exactly `address`, or null.
    const std::string* Find(uint32_t address) const;
    size_t Size() const { return m_names.size(); }

private:
    std::map<uint32_t, std::string> m_names;
};

// Prints `message <level>: <text>`.
class HostMessageSink : public ISimMessageSink {
public:
    explicit HostMessageSink(Transcript& transcript) : m_transcript(transcript) {}
    void SIM_CALL Output(int32_t level, const char* text) override;
    void SIM_CALL Release() override { ++m_releases; }
    int GetReleases() const { return m_releases; }

private:
    Transcript& m_transcript;
    int m_releases = 0;
};

// Answers from the session's symbol table: the symbol's name and found = 1 for an address
// that has one; an empty name and found = 0 otherwise. Leaves the range words as preset.
class HostDebugInfo : public ISimDebugInfo {
public:
    explicit HostDebugInfo(const SymbolTable& symbols) : m_symbols(symbols) {}
    const char* SIM_CALL ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                        uint32_t* low, uint32_t* high) override;
    uint8_t SIM_CALL IsKnownAddress(uint32_t address) override;
    void SIM_CALL Release() override { ++m_releases; }
    int GetReleases() const { return m_releases; }

private:
    const SymbolTable& m_symbols;
    int m_releases = 0;
};

// Gathers transmitted bytes into `serial <channel>: "<bytes>"` lines.
class HostSerialTerminal : public ISimSerialTerminal {
public:
    explicit HostSerialTerminal(Transcript& transcript) : m_transcript(transcript) {}
    void SIM_CALL Transmit(int32_t channel, const uint8_t* bytes, uint32_t count) override;
    void SIM_CALL Release() override { ++m_releases; }
    int GetReleases() const { return m_releases; }

private:
    Transcript& m_transcript;
    int m_releases = 0;
};

// Prints `ports: Port0=FF Port1=FF ...`; active while the script has switched it on.
class HostPortObserver : public ISimPortObserver {
public:
    explicit HostPortObserver(Transcript& transcript) : m_transcript(transcript) {}
    void SIM_CALL UpdateValues(const char* const* names, const uint32_t* values,
                               int32_t count) override;
    int32_t SIM_CALL IsActive() override { return m_active ? 1 : 0; }
    void SetActive(bool active) { m_active = active; }

private:
    Transcript& m_transcript;
    bool m_active = false;
};

}  // namespace simhost

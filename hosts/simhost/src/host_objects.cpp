// The host objects of simhost and its symbol table.
#include "host_objects.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "script_files.h"
#include "script_words.h"

namespace simhost {

bool SymbolTable::Load(const std::string& path, std::string* error) {
    // A folder opens like an empty file on some systems: it must not pass for one.
    if (IsFolder(path)) {
        *error = "'" + path + "' is a folder, not a symbol file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot open symbol file '" + path + "'";
        return false;
    }
    std::map<uint32_t, std::string> names;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream in(line);
        std::string address;
        std::string name;
        if (!(in >> address) || address[0] == '#') {
            continue;
        }
        std::string rest;
        int64_t value = 0;
        bool hex =
            address.size() > 2 && address[0] == '0' && (address[1] == 'x' || address[1] == 'X');
        if (!(in >> name) || (in >> rest) || !ParseNumber(hex ? address : "0x" + address, &value) ||
            value < 0) {
            *error = path + " line " + std::to_string(number) + ": \"ADDR NAME\" expected";
            return false;
        }
        names[static_cast<uint32_t>(value)] = name;
    }
    m_names.insert(names.begin(), names.end());
    return true;
}

const std::string* SymbolTable::Find(uint32_t address) const {
    auto it = m_names.find(address);
    return it != m_names.end() ? &it->second : nullptr;
}

void HostMessageSink::Output(int32_t level, const char* text) {
    m_transcript.Line("message " + std::to_string(level) + ": " +
                      Escape(text != nullptr ? std::string(text) : std::string()));
}

const char* HostDebugInfo::ResolveAddress(uint32_t address, uint32_t, uint8_t* found, uint32_t*,
                                          uint32_t*) {
    const std::string* name = m_symbols.Find(address);
    if (found != nullptr) {
        *found = name != nullptr ? 1 : 0;
    }
    return name != nullptr ? name->c_str() : "";
}

uint8_t HostDebugInfo::IsKnownAddress(uint32_t address) {
    return m_symbols.Find(address) != nullptr ? 1 : 0;
}

void HostSerialTerminal::Transmit(int32_t channel, const uint8_t* bytes, uint32_t count) {
    m_transcript.Serial(channel, bytes, count);
}

void HostPortObserver::UpdateValues(const char* const* names, const uint32_t* values,
                                    int32_t count) {
    std::string line = "ports:";
    for (int32_t i = 0; i < count && names != nullptr && values != nullptr; ++i) {
        char value[16];
        std::snprintf(value, sizeof value, "%02X", values[i]);
        line += std::string(" ") + (names[i] != nullptr ? names[i] : "?") + "=" + value;
    }
    m_transcript.Line(line);
}

}  // namespace simhost

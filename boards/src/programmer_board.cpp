// The programmer board's controller: packets in, replies out, memories by kind, and the hand-over
// of the line to the chip's boot loader.
#include "boards/programmer_board.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace boards {
namespace {

const size_t kLoaderImage1At = 0x40;
const size_t kLoaderImage1Size = 177;
const size_t kLoaderImage2At = 0x100;
const size_t kLoaderImage2Size = 315;
const BYTE kChipTypeBootLoader = 2;
const BYTE kChipTypeHc908 = 3;
const BYTE kChipTypePic16 = 14;
const BYTE kChipTypePic18 = 16;
const BYTE kBoardErrorEcho = 0xEC;

BYTE Sum(const BYTE* data, size_t count) {
    BYTE sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum = static_cast<BYTE>(sum + data[i]);
    }
    return sum;
}

uint64_t CharacterMicros(DWORD baud) { return baud == 0 ? 1000 : 10000000ull / baud; }

uint16_t CrcCcitt(const BYTE* data, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc = static_cast<uint16_t>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

}  // namespace

ProgrammerBoard::ProgrammerBoard(const ProgrammerBoardOptions& options)
    : Board(options.line), m_options(options), m_ramWritten(0x10000, false) {
    if (options.bootLoader) {
        BootLoader::Host& host = *this;
        m_chip = std::make_unique<BootLoader>(host, options.loader);
    }
}

void ProgrammerBoard::Misbehave(const Misbehaviour& m) {
    m_shaper.Set(m);
    if (m.fault == Fault::WrongBaud) {
        m_options.line.baud = m.wrongBaud;
        Listen(m_options.line);
    }
}

std::vector<BYTE>& ProgrammerBoard::Memory(BYTE kind) {
    auto it = m_memory.find(kind);
    if (it == m_memory.end()) {
        size_t size = kind == 3 ? kEepromSize : 0x10000;
        it = m_memory.emplace(kind, std::vector<BYTE>(size, 0xFF)).first;
    }
    return it->second;
}

void ProgrammerBoard::Follow() {
    if (m_loaderMode && m_chip) {
        if (!m_chip->Locked()) {
            if (BoardLine() != HostLine()) {
                Listen(HostLine());
            }
        } else if (BoardLine().baud != m_chip->LockedBaud()) {
            Listen(LineSettings{m_chip->LockedBaud()});
        }
    } else if (BoardLine() != m_options.line) {
        Listen(m_options.line);
    }
}

void ProgrammerBoard::OnByte(BYTE byte, bool garbled) {
    if (garbled && m_shaper.Get().fault == Fault::WrongBaud) {
        Send(std::vector<BYTE>{byte});  // what a confused line gives back
        return;
    }
    if (m_loaderMode && m_chip) {
        m_chip->OnByte(byte, ByteFraming(HostLine(), garbled));
        Follow();
        return;
    }
    // A packet ends with a pause: each byte restarts the wait for the end.
    m_packet.push_back(byte);
    uint64_t serial = ++m_packetSerial;
    uint64_t pause = std::max<uint64_t>(1000, 3 * CharacterMicros(m_options.line.baud));
    After(pause, [this, serial] {
        if (serial == m_packetSerial) {
            EndOfPacket();
        }
    });
}

void ProgrammerBoard::OnRts(bool on) {
    if (on) {
        m_rtsRaised = true;
        return;
    }
    if (m_loaderMode && m_chip) {
        m_chip->OnRtsFalling();
        Follow();
    }
    if (m_options.kestrix && m_rtsRaised) {
        m_rtsRaised = false;
        Log().Add(Now(), "restart");
        After(m_options.kestrixStartMicros, [this] {
            Reply r;
            r.bytes = {'R'};
            r.commandAt = 0;
            Answer(r);
        });
    }
}

void ProgrammerBoard::Answer(Reply reply) {
    if (m_shaper.Shape(reply)) {
        SendAfter(reply.delayMicros, reply.bytes);
    }
}

void ProgrammerBoard::ProgramStarted() {
    m_loaderMode = false;
    Log().Add(Now(), "controller has the line");
    Follow();
}

void ProgrammerBoard::Note(const std::string& what) { Log().Add(Now(), what); }

void ProgrammerBoard::EndOfPacket() {
    std::vector<BYTE> p;
    p.swap(m_packet);
    if (!TakeControllerPacket(p) && !TakeLengthPacket(p)) {
        Log().Add(Now(), "packet not understood");
    }
}

void ProgrammerBoard::Status(BYTE command, BYTE status, uint64_t delayMicros) {
    Reply r;
    r.bytes = {command, status, static_cast<BYTE>(command + status)};
    r.check = CheckRule::Sum;
    r.commandAt = 0;
    r.statusAt = 1;
    r.delayMicros = delayMicros;
    Answer(r);
}

bool ProgrammerBoard::TakeControllerPacket(const std::vector<BYTE>& p) {
    if (p.empty()) {
        return false;
    }
    BYTE command = p[0];
    size_t expected = 0;
    switch (command) {
        case 1:
            expected = 3;
            break;
        case 2:
        case 10:
            expected = p.size() >= 3 ? 6 + static_cast<size_t>(p[2]) : 0;
            break;
        case 3:
            expected = 6;
            break;
        case 4:
        case 5:
        case 6:
        case 7:
            expected = 1;
            break;
        default:
            return false;
    }
    if (p.size() != expected) {
        return false;
    }
    if (expected > 1 && Sum(p.data(), p.size() - 1) != p.back()) {
        Status(command, 2);
        return true;
    }
    uint32_t address = expected >= 6 ? static_cast<uint32_t>(p[3] | p[4] << 8) : 0;
    switch (command) {
        case 1:
            SetChipType(p[1]);
            break;
        case 2:
            WriteBlock(p[1], p[2], address, p.data() + 5);
            break;
        case 3:
            ReadBlock(3, p[1], p[2], address, nullptr);
            break;
        case 10:
            ReadBlock(10, p[1], p[2], address, p.data() + 5);
            break;
        case 4:
            for (auto& kind : m_memory) {
                std::fill(kind.second.begin(), kind.second.end(), 0xFF);
            }
            Status(4, 0, m_options.eraseMicros);
            break;
        case 5: {
            const std::array<BYTE, 4>& v =
                m_loaderRunning ? m_options.loaderVersion : m_options.version;
            Reply r;
            r.bytes = {5, v[0], v[1], v[2], v[3], 0};
            r.check = CheckRule::Sum;
            r.commandAt = 0;
            ReplyShaper::Recheck(r);
            Answer(r);
            break;
        }
        case 6: {
            bool images = LoaderImageIntact(kLoaderImage1At, kLoaderImage1Size) &&
                          LoaderImageIntact(kLoaderImage2At, kLoaderImage2Size);
            bool ready = m_chipType == kChipTypeHc908 && images && m_loaderStartFlag;
            if (ready) {
                m_loaderRunning = true;
                Log().Add(Now(), "resident loader runs");
            }
            Status(6, ready ? 0 : 1);
            break;
        }
        case 7: {
            Reply r;
            r.bytes = {7, 0, static_cast<BYTE>(m_options.boardWord >> 8),
                       static_cast<BYTE>(m_options.boardWord), 0};
            r.check = CheckRule::Sum;
            r.commandAt = 0;
            r.statusAt = 1;
            ReplyShaper::Recheck(r);
            Answer(r);
            break;
        }
        default:
            break;
    }
    return true;
}

void ProgrammerBoard::SetChipType(BYTE type) {
    ++m_setTypeTries;
    if (m_setTypeTries < m_options.acceptSetTypeAt || m_options.chipTypes.count(type) == 0) {
        Status(1, 1);
        return;
    }
    m_chipType = type;
    char note[32];
    std::snprintf(note, sizeof note, "chip type %u", type);
    Log().Add(Now(), note);
    Status(1, 0);
    if (type == kChipTypeBootLoader && m_chip) {
        // The controller holds the chip in its boot loader and gives it the line once the reply
        // has gone.
        m_chip->EnterLoader();
        m_loaderMode = true;
        Log().Add(Now(), "loader has the line");
        Follow();
    }
}

bool ProgrammerBoard::Place(BYTE command, BYTE kind, Placement* placement) const {
    bool write = command == 2;
    *placement = Placement{kind, false};
    if (m_chipType == kChipTypePic16 || m_chipType == kChipTypePic18) {
        if (kind == (write ? 2 : 4)) {
            placement->kind = 2;
        } else if (kind == (write ? 0xFF : 5)) {
            *placement = Placement{1, true};
        } else if (kind == (write ? 0 : 0xFF)) {
            placement->kind = 4;
        } else {
            return false;
        }
    } else if (m_chipType == kChipTypeHc908 && kind == 2) {
        placement->kind = 1;  // the flash lies in the chip's one address space
    }
    return true;
}

bool ProgrammerBoard::KindUsable(BYTE packetKind, const Placement& place, size_t n,
                                 uint32_t address) {
    size_t cells = place.pairs ? n / 2 : n;
    if (address + cells > Memory(place.kind).size()) {
        return false;
    }
    return !(m_chipType == kChipTypeHc908 && packetKind == 2 && !m_loaderRunning);
}

bool ProgrammerBoard::LoaderImageIntact(size_t at, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (!m_ramWritten[at + i]) {
            return false;
        }
    }
    const BYTE* image = Memory(1).data() + at;
    uint16_t check = static_cast<uint16_t>(image[size - 2] << 8 | image[size - 1]);
    return CrcCcitt(image, size - 2) == check;
}

void ProgrammerBoard::WriteBlock(BYTE kind, size_t n, uint32_t address, const BYTE* data) {
    Placement place;
    if (!Place(2, kind, &place) || !KindUsable(kind, place, n, address)) {
        Status(2, 1);
        return;
    }
    std::vector<BYTE>& memory = Memory(place.kind);
    if (place.pairs) {
        for (size_t j = 0; j < n / 2; ++j) {
            memory[address + j] = data[2 * j];
        }
    } else {
        std::copy(data, data + n, memory.begin() + address);
    }
    if (m_chipType == kChipTypeHc908 && kind == 1) {
        for (size_t i = 0; i < n; ++i) {
            m_ramWritten[address + i] = true;
        }
        if (address == static_cast<uint32_t>(m_options.boardWord + 4) && n == 2 && data[0] == 1 &&
            data[1] == 0) {
            m_loaderStartFlag = true;
        }
    }
    Status(2, 0);
}

void ProgrammerBoard::ReadBlock(BYTE command, BYTE kind, size_t n, uint32_t address,
                                const BYTE* compare) {
    (void)compare;  // the chip's bytes go back whatever the host sent: the host compares
    Reply r;
    r.check = CheckRule::Sum;
    r.commandAt = 0;
    r.statusAt = 1;
    r.bytes = {command, 0};
    Placement place;
    if (!Place(command, kind, &place) || !KindUsable(kind, place, n, address)) {
        r.bytes[1] = 1;
        r.bytes.insert(r.bytes.end(), n, 0);
    } else if (place.pairs) {
        const std::vector<BYTE>& m = Memory(place.kind);
        for (size_t j = 0; j < n; ++j) {
            r.bytes.push_back(j % 2 == 0 ? m[address + j / 2] : 0);
        }
    } else {
        const std::vector<BYTE>& m = Memory(place.kind);
        r.bytes.insert(r.bytes.end(), m.begin() + address, m.begin() + address + n);
    }
    r.bytes.push_back(0);
    ReplyShaper::Recheck(r);
    Answer(r);
}

// ---- the length-prefixed packets ----

void ProgrammerBoard::LengthReply(std::vector<BYTE> body) {
    Reply r;
    r.bytes.push_back(static_cast<BYTE>(body.size()));
    r.bytes.insert(r.bytes.end(), body.begin(), body.end());
    r.bytes.push_back(0);
    r.check = CheckRule::NegatedSum;
    r.commandAt = 1;
    if (body.size() >= 2 && body[0] == 2) {
        r.statusAt = 2;
    }
    ReplyShaper::Recheck(r);
    Answer(r);
}

bool ProgrammerBoard::TakeLengthPacket(const std::vector<BYTE>& p) {
    if (p.size() < 3 || static_cast<size_t>(p[0]) + 2 != p.size()) {
        return false;
    }
    if (m_options.boardError != 0) {
        LengthReply({kBoardErrorEcho, m_options.boardError});
        return true;
    }
    if (Sum(p.data(), p.size()) != 0) {
        LengthReply({kBoardErrorEcho, 1});
        return true;
    }
    BYTE command = p[1];
    if (command == 0 && p.size() == 4) {
        LengthReply({0, p[2]});
    } else if (command == 6 && p.size() == 6) {
        size_t count = static_cast<size_t>(p[3] | p[4] << 8);
        const std::vector<BYTE>& m = Memory(p[2]);
        count = std::min(count, m.size());
        size_t used = static_cast<size_t>(
            std::count_if(m.begin(), m.begin() + count, [](BYTE b) { return b != 0xFF; }));
        LengthReply({6, static_cast<BYTE>(used), static_cast<BYTE>(used >> 8)});
    } else if (command == 2 && p.size() == 4) {
        if (p[2] == 0) {
            m_chipType = 0;
        }
        LengthReply({2, 0});
    } else {
        LengthReply({kBoardErrorEcho, 3});
    }
    return true;
}

// ---- the catalogue's maker ----

namespace {

bool TakeFourCharacters(BoardOptions& options, const char* key, std::array<BYTE, 4>* value,
                        std::string* error) {
    std::string text;
    if (!options.Take(key, &text)) {
        return true;
    }
    if (text.size() != 4) {
        *error = std::string(key) + " must be four characters";
        return false;
    }
    std::copy(text.begin(), text.end(), value->begin());
    return true;
}

bool TakeTypes(BoardOptions& options, std::set<BYTE>* types, std::string* error) {
    std::string text;
    if (!options.Take("types", &text)) {
        return true;
    }
    types->clear();
    size_t at = 0;
    while (at <= text.size()) {
        size_t comma = text.find(',', at);
        std::string one =
            text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        char* end = nullptr;
        unsigned long type = std::strtoul(one.c_str(), &end, 10);
        if (one.empty() || *end != '\0' || type > 255) {
            *error = "types must be chip types 0 to 255 separated by commas";
            return false;
        }
        types->insert(static_cast<BYTE>(type));
        if (comma == std::string::npos) {
            break;
        }
        at = comma + 1;
    }
    return true;
}

}  // namespace

std::unique_ptr<Board> MakeProgrammerBoard(BoardOptions& options, std::string* error) {
    ProgrammerBoardOptions p;
    p.line = options.Framing();
    uint32_t tries = static_cast<uint32_t>(p.acceptSetTypeAt);
    uint32_t word = p.boardWord;
    uint32_t erase = static_cast<uint32_t>(p.eraseMicros);
    uint32_t kestrix = 0;
    uint32_t boardError = 0;
    if (!options.TakeNumber("tries", &tries, error) || !options.TakeNumber("word", &word, error) ||
        !options.TakeNumber("erase-us", &erase, error) ||
        !options.TakeNumber("kestrix", &kestrix, error) ||
        !options.TakeNumber("error", &boardError, error) ||
        !TakeTypes(options, &p.chipTypes, error) ||
        !TakeFourCharacters(options, "version", &p.version, error) ||
        !TakeFourCharacters(options, "loader-version", &p.loaderVersion, error)) {
        return nullptr;
    }
    if (word > 0xFFFF || boardError > 0xFF) {
        *error = "word must fit 16 bits and error 8 bits";
        return nullptr;
    }
    std::string loader;
    if (options.Take("loader", &loader)) {
        if (loader != "p89" && loader != "t89") {
            *error = "loader must be p89 or t89";
            return nullptr;
        }
        p.bootLoader = true;
        p.loader.displayAfterZero = loader == "p89";
    }
    Misconduct faults;
    if (!faults.Take(options, error)) {
        return nullptr;
    }
    p.acceptSetTypeAt = static_cast<int>(tries);
    p.boardWord = static_cast<WORD>(word);
    p.eraseMicros = erase;
    p.kestrix = kestrix != 0;
    p.boardError = static_cast<BYTE>(boardError);
    auto board = std::make_unique<ProgrammerBoard>(p);
    faults.ApplyTo(*board);
    return board;
}

}  // namespace boards

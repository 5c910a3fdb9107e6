// The device facts table: one row per device code the programming core handles.
#include "device_facts.h"

namespace {

constexpr DWORD kBaud9600 = 9600;
constexpr DWORD kBaud19200 = 19200;
constexpr DWORD kBaud57600 = 57600;

// A row with the defaults of DeviceFacts; each maker below changes its own fields.
constexpr DeviceFacts Row(BYTE code, BackendKind backend, BYTE chipType, EraseKind erase) {
    DeviceFacts row{};
    row.code = code;
    row.backend = backend;
    row.chipType = chipType;
    row.erase = erase;
    return row;
}

constexpr DeviceFacts Pic(BYTE code, BYTE chipType, const char* eraseTitle, bool eraseStart,
                          bool keepsCalibration) {
    DeviceFacts row = Row(code, BackendKind::Pic, chipType, EraseKind::ChipPacket);
    row.wordAreas = true;
    row.countsInWords = true;
    row.eraseTitle = eraseTitle;
    row.eraseStartStatus = eraseStart;
    row.writeTimeOut = 500;
    row.keepsCalibrationWord = keepsCalibration;
    return row;
}

// Whether the board holds the chip in its loader, and whose loader the chip has.
constexpr bool kHeldByBoard = true;
constexpr bool kWaitsInLoader = false;
constexpr bool kRx2Loader = true;
constexpr bool kP89Loader = false;

constexpr DeviceFacts BootLoader(BYTE code, BYTE chipType, bool heldByBoard, bool rx2Loader,
                                 DWORD baud) {
    DeviceFacts row = Row(code, BackendKind::BootLoader, chipType, EraseKind::BootLoaderLines);
    row.endRecord = heldByBoard ? EndRecord::ThenLeaveLoader : EndRecord::ThenRtsStart;
    row.leavesLoaderMode = heldByBoard;
    row.rx2Loader = rx2Loader;
    row.baud = baud;
    return row;
}

constexpr DeviceFacts Rx2Board(BYTE code, BYTE chipType, bool rx2Loader, DWORD baud) {
    DeviceFacts row = BootLoader(code, chipType, kHeldByBoard, rx2Loader, baud);
    row.rx2Board = true;
    row.securityChipType = chipType;
    return row;
}

constexpr DeviceFacts Kestrix() {
    DeviceFacts row = Row(kDeviceKestrixBoard, BackendKind::KestrixBoard, 11, EraseKind::None);
    row.enterTimeOut = 1000;
    row.dataBehindId = 16;
    row.namesAreasInStart = true;
    return row;
}

constexpr DeviceFacts FlashBoard() {
    DeviceFacts row = Row(kDeviceHc908, BackendKind::FlashBoard, 0, EraseKind::FlashBoard);
    row.writeTimeOut = 10000;
    row.asksEraseFirst = true;
    return row;
}

constexpr DeviceFacts Memory(BYTE code, bool direct) {
    DeviceFacts row = Row(code, BackendKind::MemoryBoard, 0, EraseKind::MemoryBoard);
    row.writeTimeOut = 100;
    row.readTimeOut = 100;
    row.enterTimeOut = 1000;
    row.writesDirect = direct;
    row.flushesAfterWrite = !direct;
    return row;
}

constexpr DeviceFacts kRows[] = {
    Pic(kDevicePic16, 14, "Erase PIC16F877A...", true, true),
    Pic(kDevicePic18, 16, "Erase PIC18F4xx...", false, false),
    Row(kDeviceAt89S8252, BackendKind::BoardChip, 1, EraseKind::ChipPacket),
    Row(kDeviceAt89S53, BackendKind::BoardChip, 1, EraseKind::ChipPacket),
    Row(kDeviceSerialEeprom, BackendKind::SerialEeprom, 0, EraseKind::None),
    BootLoader(kDeviceP89C51Rx2Fast, 2, kHeldByBoard, kP89Loader, kBaud19200),
    FlashBoard(),
    BootLoader(kDeviceP89C51RxxWaiting, 8, kWaitsInLoader, kP89Loader, kBaud19200),
    BootLoader(kDeviceP89C51Rxx9600, 9, kWaitsInLoader, kP89Loader, kBaud9600),
    BootLoader(kDeviceT89C51Rx2Board2, 8, kWaitsInLoader, kRx2Loader, kBaud57600),
    BootLoader(kDeviceP89C51Rx2Slow, 10, kHeldByBoard, kP89Loader, kBaud19200),
    Kestrix(),
    Rx2Board(kDeviceT89C51Rx2Board9600, 12, kP89Loader, kBaud9600),
    Rx2Board(kDeviceT89C51Rx2, 15, kRx2Loader, kBaud19200),
    Memory(kDeviceMemoryBoard, true),
    Memory(kDeviceDrive, false),
};

// Unknown codes: below 160 the board is told the code by a set-type packet and the code and
// special areas count words; from 160 on the mode entry fails.
constexpr DeviceFacts Unknown(bool belowChips) {
    DeviceFacts row = Row(kDeviceUnknown, BackendKind::None, 0, EraseKind::None);
    row.countsInWords = belowChips;
    row.entersThroughBackend = !belowChips;
    return row;
}

constexpr DeviceFacts kUnknownBelowChips = Unknown(true);
constexpr DeviceFacts kUnknownChip = Unknown(false);
constexpr BYTE kFirstChipCode = kDeviceAt89S8252;

}  // namespace

const DeviceFacts& FactsOf(BYTE code) {
    for (const DeviceFacts& row : kRows) {
        if (row.code == code) {
            return row;
        }
    }
    return code < kFirstChipCode ? kUnknownBelowChips : kUnknownChip;
}

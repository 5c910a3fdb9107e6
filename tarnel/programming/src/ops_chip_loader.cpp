// The set-chip-type step that begins every chip operation: the chip brought into its programming
// mode or boot loader, and the HC908 chip's RAM-resident loader.
#include <cstdio>

#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"
#include "tarnel/protocols/port_reopen.h"
#include "tarnel/protocols/resident_loader_images.h"
#include "w32/clock.h"

namespace {

const int kHc908TriesPerRound = 5;
const DWORD kLoaderPiece = 32;
const DWORD kBootLoaderBaud = 115200;
const size_t kLoaderTextSize = 80;

bool IsRx2Board(BYTE device) { return device == 170 || device == 171; }

// Five set-type tries on the HC908 board per round; after a refused round the user may reconnect
// the board's power and have another. Then, with loader choice 2, the resident loader.
int EnterHc908(CJobRun& run, JobRequest& job, JobObjects& objects) {
    CComms& port = run.Port();
    objects.m_board.SetType(3);
    int result = BOARD_OK;
    for (;;) {
        for (int attempt = 0; attempt < kHc908TriesPerRound; ++attempt) {
            result = objects.m_board.SetChipType(port);
            if (result == BOARD_OK) {
                break;
            }
            PostText(job.statusWindow, kStatusAdviceText, "Initialization. Please wait...");
            w32::Sleep(500);
        }
        if (result == BOARD_OK) {
            break;
        }
        objects.SetText("Set Type Error.");
        port.ResetRTS();
        w32::Sleep(200);
        port.SetRTS();
        w32::Sleep(200);
        if (!run.Ask(IProgrammingQuestions::kReconnectPower)) {
            return result;
        }
        port.PurgeRcvBuffer();
    }
    if (job.loaderChoice == 2) {
        return ActivateResidentLoader(run, job, objects.m_board);
    }
    return BOARD_OK;
}

// The Kestrix board restarts on an RTS pulse and says 'R' when it is ready.
int EnterKestrix(CJobRun& run, JobObjects& objects, bool* notAccessible) {
    CComms& port = run.Port();
    port.SetTimeOut(1000);
    port.SetRTS();
    w32::Sleep(100);
    port.ResetRTS();
    w32::Sleep(100);
    port.PurgeRcvBuffer();
    BYTE ready = 0;
    int result = port.Read(&ready);
    if (result != COMMS_OK || ready != 'R') {
        *notAccessible = true;
        return result != COMMS_OK ? result : BOARD_LINE_FAILED;
    }
    objects.m_chip.SetType(11);
    return objects.m_chip.SetChipType(port);
}

// The boot-loader chips: the board holds 163, 168, 170 and 171 in the loader on its set-type
// command; the others wait in it. Then the chip finds the rate and, but for 167 and 171, learns
// the oscillator frequency.
int EnterBootLoader(CJobRun& run, JobObjects& objects) {
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    HWND window = objects.m_window;
    if (device_rules::LeavesLoaderMode(device)) {
        port.SetRTS();
        w32::Sleep(200);
        port.PurgeRcvBuffer();
        PostText(window, kStatusInfoText,
                 IsRx2Board(device) ? "Enter (A)T89C51Rx2 chip to Loader mode"
                                    : "Enter Wendra chip to Loader mode");
        int result = objects.m_chip.SetChipType(port);
        if (result != BOARD_OK) {
            objects.SetText(IsRx2Board(device) ? "Can not enter (A)T89C51RX2 chip to Loader mode"
                                               : "Can not enter Wendra chip to Loader mode");
            return result;
        }
        if (IsRx2Board(device)) {
            // These loaders talk at 115200 baud for the rest of the run. The thread's own port
            // object opens again, so that no second object holds its handle.
            ReopenPortAt(port, kBootLoaderBaud);
            port.SetRTS();
            w32::Sleep(200);
            port.PurgeRcvBuffer();
        }
    } else {
        w32::Sleep(200);
        port.PurgeRcvBuffer();
    }
    bool rx2 = device == 167 || device == 171;
    PostText(window, kStatusInfoText,
             rx2 ? "Check Connection with (A)T89C51RX2" : "Check Connection with P89C51RXX");
    int result = objects.m_chip.Sync(port, objects.Text());
    if (result != BOARD_OK || rx2) {
        return result;
    }
    PostText(window, kStatusInfoText, "Specify Oscillator Frequency");
    return objects.m_chip.SetFrequency(port, objects.Text());
}

// One loader image in pieces of at most 32 bytes; status 9 with `before` + the bytes of this image
// sent so far after each piece, then the cancel test.
int UploadImage(CJobRun& run, JobRequest& job, CBoardProtocol& board, const BYTE* image, DWORD size,
                WORD at, DWORD before) {
    for (DWORD sent = 0; sent < size;) {
        DWORD piece = size - sent < kLoaderPiece ? size - sent : kLoaderPiece;
        int result =
            board.WriteBlock(run.Port(), static_cast<WORD>(at + sent), piece, image + sent);
        if (result != BOARD_OK) {
            return result;
        }
        sent += piece;
        PostStatus(job.statusWindow, kStatusPosition, static_cast<LPARAM>(before + sent));
        if (run.Cancelled(job)) {
            return kLoaderCancelled;
        }
    }
    return BOARD_OK;
}

// Upload, start flag at the board word + 4, start, and the loader's version.
int StartResidentLoader(CJobRun& run, JobRequest& job, CBoardProtocol& board, DWORD* version) {
    CComms& port = run.Port();
    int result = UploadImage(run, job, board, kResidentLoaderImage1.data(),
                             kResidentLoaderImage1Size, kResidentLoaderImage1At, 0);
    if (result == BOARD_OK) {
        result =
            UploadImage(run, job, board, kResidentLoaderImage2.data(), kResidentLoaderImage2Size,
                        kResidentLoaderImage2At, kResidentLoaderImage1Size);
    }
    if (result != BOARD_OK) {
        return result;
    }
    WORD word = 0;
    result = board.ReadBoardWord(port, &word);
    if (result != BOARD_OK) {
        return result;
    }
    const BYTE startFlag[2] = {1, 0};
    result = board.WriteBlock(port, static_cast<WORD>(word + 4), sizeof startFlag, startFlag);
    if (result != BOARD_OK) {
        return result;
    }
    result = board.StartLoader(port);
    if (result != BOARD_OK) {
        return result;
    }
    w32::Sleep(100);
    port.ResetRTS();
    w32::Sleep(100);
    return board.ReadVersionBlock(port, version);
}

}  // namespace

void JobObjects::LeaveLoaderMode(CJobRun& run) {
    if (device_rules::LeavesLoaderMode(m_device)) {
        m_chip.ResetToRun(run.Port());
    }
}

int ActivateResidentLoader(CJobRun& run, JobRequest& job, CBoardProtocol& board) {
    HWND window = job.statusWindow;
    PostStatus(window, kStatusLoaderRange, kResidentLoaderImage1Size + kResidentLoaderImage2Size);
    run.Port().SetTimeOut(10000);
    DWORD version = 0;
    int result = StartResidentLoader(run, job, board, &version);
    if (result == kLoaderCancelled) {
        PostStatus(window, kStatusCancelled);
        PostStatus(window, kStatusLoaderFailed);
        return kLoaderCancelled;
    }
    if (result != BOARD_OK) {
        char text[kLoaderTextSize];
        std::snprintf(text, sizeof text, "LOADING ERROR, ec = %d", result);
        PostText(window, kStatusErrorText, text, kLoaderTextSize);
        PostStatus(window, kStatusLoaderFailed);
        return result;
    }
    PostText(window, kStatusInfoText, "RAM resident loader activated", kLoaderTextSize);
    BYTE characters[4] = {static_cast<BYTE>(version), static_cast<BYTE>(version >> 8),
                          static_cast<BYTE>(version >> 16), static_cast<BYTE>(version >> 24)};
    PostBlock(window, kStatusVersionText, characters, sizeof characters, kLoaderTextSize);
    PostStatus(window, kStatusLoaderStarted);
    return BOARD_OK;
}

int EnterChipLoader(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "SetType Error");
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    device_rules::SetChipType(objects.m_chip, device);
    int result = BOARD_OK;
    bool kestrixNotAccessible = false;
    if (device_rules::IsPic(device) || device == 160 || device == 161) {
        result = objects.m_chip.SetChipType(port);
    } else if (device == 162) {
        // The serial EEPROM needs no mode.
    } else if (device == 164) {
        result = EnterHc908(run, job, objects);
    } else if (device == 169) {
        result = EnterKestrix(run, objects, &kestrixNotAccessible);
    } else if (device_rules::IsMemoryBoard(device)) {
        port.SetTimeOut(1000);
        result = objects.m_memory.Resync(port);
    } else if (device_rules::IsBootLoaderChip(device)) {
        result = EnterBootLoader(run, objects);
    } else {
        objects.SetText("Unknown Program Mode");
        result = BOARD_LINE_FAILED;
    }
    if (result == BOARD_OK) {
        return 1;
    }
    if (result == kLoaderCancelled) {
        return 0;  // the upload has said so
    }
    objects.LeaveLoaderMode(run);
    if (kestrixNotAccessible) {
        for (const char* advice :
             {"Target board is not accessible.", "Please make sure the power supply is plugged",
              "and the communications cable is connected.",
              "Also, make sure that you selected the correct communications "
              "port."}) {
            PostText(job.statusWindow, kStatusAdviceText, advice);
        }
        objects.SetText("Kestrix error");
    }
    objects.PostError();
    PostStatus(job.statusWindow, kStatusSetTypeFailed);
    return 0;
}

// The set-chip-type step that begins every chip operation: the chip brought into its programming
// mode or boot loader by its device's back-end, and the HC908 chip's RAM-resident loader.
#include <cstdio>

#include "device_backend.h"
#include "job_objects.h"
#include "programming_operations.h"
#include "tarnel/protocols/resident_loader_images.h"
#include "w32/clock.h"

namespace {

const DWORD kLoaderPiece = 32;
const size_t kLoaderTextSize = 80;

// One loader image in pieces of at most 32 bytes; kStatusPosition with `before` + the bytes of
// this image sent so far after each piece, then the cancel test.
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
    DeviceBackend& device = objects.Backend();
    int result = device.Enter(run, job);
    if (result == BOARD_OK) {
        return 1;
    }
    if (result == kLoaderCancelled) {
        return 0;  // the upload has said so
    }
    device.Leave(run);
    objects.PostError();
    PostStatus(job.statusWindow, kStatusSetTypeFailed);
    return 0;
}

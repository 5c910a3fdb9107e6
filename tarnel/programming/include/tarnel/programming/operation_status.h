// The statuses the programming thread posts to the main frame, and the blocks that travel with
// them.
//
// Every status is posted as WM_OPERATION_STATUS (WM_USER + 1): the code in wParam, a value in
// lParam (0 where none is named). With the text codes (58 to 61, 67) and the board identity (33)
// lParam is a heap block of its own for that one post; the receiver frees it with
// FreeStatusBlock. A post that fails frees its block at the sender.
#pragma once

#include "w32/types.h"

#define WM_OPERATION_STATUS (WM_USER + 1)

enum OperationStatus : UINT {
    kStatusCannotExecute = 0,  // the programming thread could not be started
    kStatusEraseDone = 1,
    kStatusEraseFailed = 2,
    kStatusCheckingConnection = 3,
    kStatusConnectionValid = 4,
    kStatusNoConnection = 5,
    kStatusWriteRange = 6,  // a write starts; value: its number of cells
    kStatusWriteDone = 7,
    kStatusWriteFailed = 8,
    kStatusPosition = 9,  // progress; value: cells done
    kStatusSendFailed = 10,
    kStatusNoResponse = 11,
    kStatusBoardReportedFailure = 12,
    kStatusChecksumWrong = 13,
    kStatusPacketSent = 14,
    kStatusReadRange = 15,
    kStatusReadDone = 16,
    kStatusReadFailed = 17,
    kStatusSetTypeFailed = 21,
    kStatusBlankCheckStarted = 23,
    kStatusBlankCheckDone = 24,
    kStatusBlankCheckFailed = 25,
    kStatusBoardError = 27,  // to the main window; value: the board's error code
    kStatusPortNotOpened = 28,
    kStatusBoardIdStarted = 30,
    kStatusBoardIdDone = 31,
    kStatusBoardIdFailed = 32,
    kStatusBoardIdentity = 33,
    kStatusVerifyDone = 35,
    kStatusVerifyFailed = 36,
    kStatusFreeCode = 37,  // value: free cells
    kStatusFreeData = 38,
    kStatusFreeSpecial = 39,
    kStatusEraseCode = 40,
    kStatusEraseData = 41,
    kStatusEraseSpecial = 42,
    kStatusVerifyCode = 43,
    kStatusVerifyData = 44,
    kStatusVerifySpecial = 45,
    kStatusReadCode = 46,
    kStatusReadData = 47,
    kStatusReadSpecial = 48,
    kStatusWriteCode = 49,
    kStatusWriteData = 50,
    kStatusWriteSpecial = 51,
    kStatusVerifyRange = 52,
    kStatusCancelled = 53,
    kStatusDifferences = 54,  // value: cells that did not compare
    kStatusMismatch = 55,     // value: area code << 24 | cell
    kStatusRunMode = 56,
    kStatusProgramMode = 57,
    kStatusVersionText = 58,
    kStatusErrorText = 59,
    kStatusInfoText = 60,
    kStatusAdviceText = 61,
    kStatusLoaderRange = 62,
    kStatusLoaderStarted = 63,
    kStatusLoaderFailed = 64,
    kStatusHideProgress = 65,
    kStatusBlankLine = 66,
    kStatusSuccessText = 67,
};

// Frees a block posted with a status (a text, or the board identity record).
void FreeStatusBlock(LPARAM value);

// The statuses the programming thread posts to the main frame, and the blocks that travel with
// them.
//
// Every status is posted as WM_OPERATION_STATUS (WM_USER + 1): the code in wParam, a value in
// lParam (0 where none is named). With the texts (kStatusVersionText to kStatusAdviceText,
// kStatusSuccessText) and the board identity (kStatusBoardIdentity) lParam is a heap block of its
// own for that one post; the receiver frees it with
// FreeStatusBlock. A post that fails frees its block at the sender.
#pragma once

#include "tarnel/programming/operation_status_codes.h"
#include "w32/types.h"

#define WM_OPERATION_STATUS (WM_USER + 1)

// Frees a block posted with a status (a text, or the board identity record).
void FreeStatusBlock(LPARAM value);

// Results of the board protocol classes.
#pragma once

// 0 is success; a CommsResult of the port is passed on unchanged; the codes below are the
// protocols' own.
enum BoardResult : int {
    BOARD_OK = 0,
    // A boot-loader line that was not echoed as sent or not answered with '.', or an answer that
    // could not be read as the chip's data.
    BOARD_LINE_FAILED = 1,
    BOARD_CHECK_WRONG = 2001,          // the reply's check byte is wrong
    BOARD_WRONG_REPLY = 2002,          // the reply does not begin with the command (or sync) byte
    BOARD_FAILED = 2003,               // the board reports failure (status byte not 0)
    BOARD_LOADER_FILE_MISSING = 2004,  // a resident-loader image file cannot be opened
    BOARD_LOADER_FILE_SHORT = 2005,    // a resident-loader image file is shorter than its length
    BOARD_RTS_ON_FAILED = 2006,        // RTS cannot be raised
    BOARD_PURGE_FAILED = 2007,         // the receive buffer cannot be purged
    // A block too long for the one-byte count of its packet or line, or a line whose addresses do
    // not fit its four digits: refused before anything is sent.
    BOARD_TOO_LONG = 2008,
    BOARD_NO_ANSWER = 2010,       // the chip type was not accepted within 10 tries
    BOARD_RTS_OFF_FAILED = 2012,  // RTS cannot be lowered
};

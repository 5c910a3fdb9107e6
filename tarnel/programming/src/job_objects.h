// The objects one programming operation builds for its call: the protocol objects its device code
// needs and its error text.
#pragma once

#include <cstring>

#include "job_run.h"
#include "status_post.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/memory_board_protocol.h"

struct JobObjects {
    JobObjects(const JobRequest& job, const char* errorText)
        : m_device(static_cast<BYTE>(job.deviceCode)),
          m_window(job.statusWindow),
          m_chip(m_device),
          m_text{} {
        SetText(errorText);
    }

    // The boot-loader operations write their result text here (at most 80 characters), which
    // then becomes the operation's error text.
    char* Text() { return m_text; }
    void SetText(const char* text) {
        std::strncpy(m_text, text, sizeof m_text - 1);
        m_text[sizeof m_text - 1] = '\0';
    }
    // The error text as a block of its own, with kStatusErrorText.
    void PostError() { PostText(m_window, kStatusErrorText, m_text); }
    // The boot-loader chips the board brought into the loader start their program again.
    void LeaveLoaderMode(CJobRun& run);

    BYTE m_device;
    HWND m_window;
    CChipProtocol m_chip;
    CBoardProtocol m_board;
    CEepromProtocol m_eeprom;
    CMemoryBoardProtocol m_memory;
    char m_text[kStatusTextSize];
};

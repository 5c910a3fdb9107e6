// Board detection: which arrangement the debug board has, and the baud rate of its boot loader.
#include "boardloader/kernel_link.h"
#include "comms/utilities.h"
#include "w32/clock.h"
#include "w32/errors.h"

namespace {

// The boot loader's rates, fastest first.
const DWORD kBaudList[] = {115200, 57600, 38400, 28800, 19200, 9600, 4800};
constexpr DWORD kDetectRate = 19200;
// Older board PICs talk at this rate only.
constexpr DWORD kOldPicRate = 9600;
constexpr int kTries = 3;

DWORD PortBaud(CComms& comms) {
    comm_settings settings = {};
    comms.GetCommPort(&settings);
    return settings.baud;
}

}  // namespace

int CKernelLink::DetectBoard(CComms& comms) {
    if (!Reopen(comms, kDetectRate)) {
        Message(1, "WARNING: Can not open %s", comms.CurrPortName());
        Message(1, "Please check COM port under Tools->Options->Loader");
        return LDR_ERR_DOWNLOAD;
    }
    comms.SetTimeOut(100);
    Message(1, "Setting board to PROGRAM mode...");
    int result = comms.SetRTS();
    if (result != 0) {
        ReportLineFailure(result, w32::GetLastError());
        return LDR_ERR_PROGRAM_MODE;
    }
    Message(1, "Waiting for board to initialize...");
    SleepMsec(100);
    result = comms.PurgeRcvBuffer();
    if (result != 0) {
        Message(1, "Error purging receive buffer, ec=%d", result);
        return LDR_ERR_PURGE;
    }
    Message(1, "Detecting microcontroller type and baud rate...");
    m_boardKind = BOARD_KIND_RX2_DIRECT;
    char text[kBoardTextSize];
    bool answered = false;
    for (int i = 0; i < kTries && !answered; ++i) {
        answered = syncIspU(comms, text) == 0;
    }
    if (answered) {
        Message(1, " ");
        Message(1, "T89C51Rx2 DETECTED ON CORVANEC2 BOARD");
        comms.SetTimeOut(10);
        if (SearchDirectLoader(comms)) {
            return 0;
        }
    }
    return DetectThroughPic(comms);
}

bool CKernelLink::BootLoaderAnswers(CComms& comms) {
    char text[kBoardTextSize];
    BYTE vector = 0;
    return syncIspU(comms, text) == 0 &&
           readSpecialByteIsp(comms, &vector, ISP_READ_BOOT_VECTOR, text) == 0;
}

bool CKernelLink::SearchDirectLoader(CComms& comms) {
    for (DWORD baud : kBaudList) {
        Reopen(comms, baud);
        comms.SetRTS();
        w32::Sleep(50);
        comms.PurgeRcvBuffer();
        Message(1, "Trying %d baud...", static_cast<int>(baud));
        for (int attempt = 0; attempt < kTries; ++attempt) {
            if (BootLoaderAnswers(comms)) {
                Message(1, "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS %d BAUD",
                        static_cast<int>(baud));
                Message(1, " ");
                return true;
            }
        }
    }
    return false;
}

int CKernelLink::DetectThroughPic(CComms& comms) {
    char text[kBoardTextSize];
    bool answered = false;
    for (int round = 0; round < 2 && !answered; ++round) {
        if (round == 1) {
            comms.Deinstall();
            comms.SetBaud(kOldPicRate);
        }
        comms.SetTimeOut(10);
        Message(1, "Trying %d baud...", static_cast<int>(PortBaud(comms)));
        for (int i = 0; i < kTries && !answered; ++i) {
            answered = readPicVersion(comms, text) == 0;
        }
    }
    if (!answered) {
        Message(1, "ERROR: CORVANEC board not detected");
        Message(1, "NOTE: Please check COM port under Tools->Options->Loader");
        Message(1, "NOTE: Please check power and communication cables");
        return LDR_ERR_DOWNLOAD;
    }
    Message(1, "%s", text);

    m_boardKind = BOARD_KIND_S53_PIC;
    comms.SetTimeOut(100);
    for (int i = 0; i < kTries; ++i) {
        if (setChipTypeViaPic(comms, BOARD_KIND_S53_PIC, text) == 0) {
            Message(1, " ");
            Message(1, "AT89S53 OR AT89S8252 DETECTED ON CORVANEC BOARD");
            Message(1, "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS %d BAUD",
                    static_cast<int>(PortBaud(comms)));
            Message(1, " ");
            return 0;
        }
    }

    m_boardKind = BOARD_KIND_RX2_PIC;
    answered = false;
    for (int i = 0; i < kTries && !answered; ++i) {
        answered = setChipTypeViaPic(comms, BOARD_KIND_RX2_PIC, text) == 0;
    }
    if (!answered) {
        Message(1, "ERROR: Can not enter to Loader Mode of T89C51Rx2");
        Message(1, "NOTE: Please check PIC version (1.05 or later)");
        return LDR_ERR_DOWNLOAD;
    }
    comms.SetTimeOut(10);
    answered = false;
    for (int i = 0; i < kTries && !answered; ++i) {
        answered = syncIspU(comms, text) == 0;
    }
    if (answered) {
        Message(1, " ");
        Message(1, "T89C51Rx2 DETECTED ON CORVANEC BOARD");
    }
    return SearchLoaderBehindPic(comms);
}

int CKernelLink::SearchLoaderBehindPic(CComms& comms) {
    char text[kBoardTextSize];
    for (DWORD baud : kBaudList) {
        // Back to the PIC: 'R' and an RTS pulse end the pass-through of the last try, and set
        // type 2 starts the boot loader afresh, ready to learn the next rate.
        Reopen(comms, kDetectRate);
        comms.SetRTS();
        w32::Sleep(50);
        comms.Write(static_cast<BYTE>('R'));
        comms.ResetRTS();
        w32::Sleep(50);
        comms.SetRTS();
        w32::Sleep(50);
        comms.PurgeRcvBuffer();
        if (setChipTypeViaPic(comms, BOARD_KIND_RX2_PIC, text) != 0) {
            Message(1, "Bad Set Type of T89C51RD2");
            continue;
        }
        Reopen(comms, baud);
        comms.SetRTS();
        w32::Sleep(50);
        comms.PurgeRcvBuffer();
        Message(1, "Trying %d baud...", static_cast<int>(baud));
        for (int attempt = 0; attempt < kTries; ++attempt) {
            if (BootLoaderAnswers(comms)) {
                Message(1, "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS %d BAUD",
                        static_cast<int>(baud));
                Message(1, " ");
                return 0;
            }
        }
    }
    Message(1, "ERROR: T89C51Rx2 not detected on CORVANEC board");
    Message(1, "NOTE: Please check T89C51Rx2 on CORVANEC board");
    return LDR_ERR_DOWNLOAD;
}

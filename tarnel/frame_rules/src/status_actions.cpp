// The meaning of each operation status: its lines, progress steps, marks and redraws.
#include "tarnel/frame_rules/status_actions.h"

#include <cstdio>
#include <cstring>

#include "tarnel/programming/operation_status_codes.h"
#include "tarnel/frame_rules/progress_texts.h"

namespace {

// A status whose whole meaning is one string-table line, perhaps after a gap line that sets a
// new operation apart from the last one.
struct LineRow {
    unsigned code;
    bool gap;
    unsigned stringId;
    int kind;
};

constexpr LineRow kLineRows[] = {
    {kStatusCannotExecute, false, IDS_CANNOT_EXECUTE, kLineFailure},
    {kStatusEraseDone, false, IDS_ERASE_SUCCESSFUL, kLineSuccess},
    {kStatusEraseFailed, false, IDS_CANNOT_ERASE, kLineFailure},
    {kStatusCheckingConnection, true, IDS_CHECKING_CONNECTION, kLineInformation},
    {kStatusConnectionValid, false, IDS_CONNECTION_VALID, kLineSuccess},
    {kStatusNoConnection, false, IDS_NO_CONNECTION, kLineFailure},
    {kStatusSendFailed, false, IDS_SEND_ERROR, kLineErrorDetail},
    {kStatusNoResponse, false, IDS_NO_RESPONSE, kLineErrorDetail},
    {kStatusBoardReportedFailure, false, IDS_BOARD_REPORTED_FAILURE, kLineErrorDetail},
    {kStatusChecksumWrong, false, IDS_CHECKSUM_ERROR, kLineErrorDetail},
    {kStatusReceiveError, false, IDS_RECEIVE_ERROR, kLineErrorDetail},
    {kStatusBlankCheckStarted, true, IDS_CHECKING_BLANK, kLineInformation},
    {kStatusBlankCheckDone, false, IDS_BLANK_CHECK_DONE, kLineSuccess},
    {kStatusBlankCheckFailed, false, IDS_BLANK_CHECK_FAILED, kLineFailure},
    {kStatusPortNotOpened, true, IDS_CANNOT_OPEN_COM_PORT, kLineFailure},
    {kStatusNotErasable, false, IDS_NOT_ERASABLE, kLineFailure},
    {kStatusBoardIdStarted, true, IDS_BOARD_ID_STARTED, kLineInformation},
    {kStatusBoardIdDone, false, IDS_BOARD_ID_OK, kLineSuccess},
    {kStatusBoardIdFailed, false, IDS_BOARD_ID_ERROR, kLineFailure},
    {kStatusEraseCode, true, IDS_ERASING_CODE, kLineInformation},
    {kStatusEraseData, true, IDS_ERASING_DATA, kLineInformation},
    {kStatusEraseSpecial, true, IDS_ERASING_SPECIAL, kLineInformation},
    {kStatusVerifyCode, true, IDS_VERIFY_STARTED_CODE, kLineInformation},
    {kStatusVerifyData, true, IDS_VERIFY_STARTED_DATA, kLineInformation},
    {kStatusVerifySpecial, true, IDS_VERIFY_STARTED_SPECIAL, kLineInformation},
    {kStatusReadCode, true, IDS_READ_STARTED_CODE, kLineInformation},
    {kStatusReadData, true, IDS_READ_STARTED_DATA, kLineInformation},
    {kStatusReadSpecial, true, IDS_READ_STARTED_SPECIAL, kLineInformation},
    {kStatusWriteCode, true, IDS_WRITE_STARTED_CODE, kLineInformation},
    {kStatusWriteData, true, IDS_WRITE_STARTED_DATA, kLineInformation},
    {kStatusWriteSpecial, true, IDS_WRITE_STARTED_SPECIAL, kLineInformation},
    {kStatusRunMode, true, IDS_RUN_MODE, kLineInformation},
    {kStatusProgramMode, true, IDS_PROGRAM_MODE, kLineInformation},
};

// The end of a write, read or verify: its line and its status word.
struct EndRow {
    unsigned code;
    unsigned stringId;
    int kind;
    const char* status;
};

constexpr EndRow kEndRows[] = {
    {kStatusWriteDone, IDS_WRITE_COMPLETED, kLineSuccess, "Done"},
    {kStatusWriteFailed, IDS_WRITE_FAILED, kLineFailure, "Failure"},
    {kStatusReadDone, IDS_READ_COMPLETED, kLineSuccess, "Done"},
    {kStatusReadFailed, IDS_READ_FAILED, kLineFailure, "Failure"},
    {kStatusVerifyDone, IDS_VERIFY_DONE, kLineSuccess, "Done"},
    {kStatusVerifyFailed, IDS_VERIFY_FAILED, kLineFailure, "Failure"},
};

// The heap texts: the status, how the line is made of the text, its kind.
struct TextRow {
    unsigned code;
    const char* prefix;
    int kind;
};

constexpr TextRow kTextRows[] = {
    {kStatusVersionText, "Version ", kLineInformation},
    {kStatusErrorText, "", kLineErrorDetail},
    {kStatusInfoText, "", kLineInformation},
    {kStatusAdviceText, "", kLineAdvice},
    {kStatusSuccessText, "", kLineSuccess},
};

// A posted text lies in a block of this many bytes at most; a text without its terminator there
// is cut, so that nothing past the block is read.
constexpr std::size_t kTextBlockLimit = 255;

const char* const kBoardErrors[] = {
    "Timeout error",
    "Incorrect checksumm",
    "Board cannot recognize command",
    "Board cannot accept command data",
    "Software error in board",
    "Hardware error in board",
};

class ActionList {
public:
    explicit ActionList(StatusActions& out) : m_out(out.actions) {}

    void Line(unsigned stringId, int kind) { Add(StatusStep::kLine, stringId, {}, kind, 0); }
    void Line(std::string text, int kind) { Add(StatusStep::kLine, 0, std::move(text), kind, 0); }
    void Gap() { Line(std::string(), kLinePlain); }
    void Step(StatusStep step, int number = 0) { Add(step, 0, {}, 0, number); }
    void Status(const char* text) { Add(StatusStep::kSetStatus, 0, text, 0, 0); }
    void Mark(int kind, int cell) { Add(StatusStep::kMarkMismatch, 0, {}, kind, cell); }

private:
    void Add(StatusStep step, unsigned stringId, std::string text, int kind, int number) {
        m_out.push_back(StatusAction{step, stringId, std::move(text), kind, number});
    }

    std::vector<StatusAction>& m_out;
};

// The start of an operation in the progress dialog; the steps' order is each start's own.
void StartWrite(ActionList& list, int total) {
    list.Step(StatusStep::kShowProgress);
    list.Step(StatusStep::kSetMode, kProgressWrite);
    list.Step(StatusStep::kSetFileLine);
    list.Status("Writing...");
    list.Step(StatusStep::kSetPos, 0);
    list.Step(StatusStep::kSetRange, total);
    list.Step(StatusStep::kDisableExit);
}

void StartReadOrVerify(ActionList& list, int mode, const char* status, int total) {
    list.Step(StatusStep::kSetMode, mode);
    list.Step(StatusStep::kSetFileLine);
    list.Status(status);
    list.Step(StatusStep::kSetPos, 0);
    list.Step(StatusStep::kSetRange, total);
    list.Step(StatusStep::kShowProgress);
    list.Step(StatusStep::kDisableExit);
}

void StartResidentLoader(ActionList& list, int total) {
    list.Step(StatusStep::kShowProgress);
    list.Step(StatusStep::kSetMode, kProgressResidentLoader);
    list.Step(StatusStep::kSetFileLine);
    list.Status("Loading...");
    list.Step(StatusStep::kSetPos, 0);
    list.Step(StatusStep::kSetRange, total);
    list.Step(StatusStep::kDisableExit);
}

void End(ActionList& list, const EndRow& row) {
    list.Step(StatusStep::kClearCancel);
    list.Line(row.stringId, row.kind);
    list.Status(row.status);
    list.Step(StatusStep::kEnableExit);
    list.Step(StatusStep::kRedrawViews);
}

std::string BoardIdentityLine(const unsigned char* record) {
    // {device, version, year - 2000, date number A, date number B}
    char line[96];
    std::snprintf(line, sizeof line, "Device:%s Version:%02d Date:%02d/%02d/%04d",
                  record[0] == 1 ? "Quillet" : "Unknown", record[1], record[3], record[4],
                  2000 + record[2]);
    return line;
}

std::string FreeSpaceLine(const char* area, int cells) {
    return "Free space of " + std::string(area) + " Memory : " + std::to_string(cells) + " cells";
}

template <typename Row, std::size_t N>
const Row* FindRow(const Row (&rows)[N], unsigned code) {
    for (const Row& row : rows) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

StatusActions DescribeOperationStatus(unsigned code, std::intptr_t value) {
    StatusActions result;
    ActionList list(result);
    const int number = static_cast<int>(value);
    const void* block = reinterpret_cast<const void*>(value);

    if (const LineRow* row = FindRow(kLineRows, code)) {
        if (row->gap) {
            list.Gap();
        }
        list.Line(row->stringId, row->kind);
        return result;
    }
    if (const EndRow* row = FindRow(kEndRows, code)) {
        End(list, *row);
        return result;
    }
    if (const TextRow* row = FindRow(kTextRows, code)) {
        if (block != nullptr) {
            const char* text = static_cast<const char*>(block);
            list.Line(row->prefix + std::string(text, strnlen(text, kTextBlockLimit)), row->kind);
            result.freesBlock = true;
        }
        return result;
    }

    switch (code) {
        case kStatusWriteRange:
            StartWrite(list, number);
            break;
        case kStatusPosition:
            list.Step(StatusStep::kSetPos, number);
            break;
        case kStatusReadRange:
            StartReadOrVerify(list, kProgressRead, "Reading...", number);
            break;
        case kStatusSetTypeFailed:
            // The set-chip-type step failed and the thread posts nothing more for this job: its
            // start may have shown the progress dialog, which must not wait for an end that never
            // comes. The cancel word and the views are left to the job's own end.
            list.Line(IDS_SET_CHIP_TYPE_ERROR, kLineFailure);
            list.Status("Failure");
            list.Step(StatusStep::kEnableExit);
            break;
        case kStatusBoardError: {
            const bool known = number >= 1 && number <= 6;
            list.Line(known ? kBoardErrors[number - 1] : "Unknown error in board",
                      kLineErrorDetail);
            break;
        }
        case kStatusBoardIdentity:
            if (block != nullptr) {
                list.Line(BoardIdentityLine(static_cast<const unsigned char*>(block)), kLinePlain);
                result.freesBlock = true;
            }
            break;
        case kStatusFreeCode:
            list.Line(FreeSpaceLine("Code", number), kLineInformation);
            break;
        case kStatusFreeData:
            list.Line(FreeSpaceLine("Data", number), kLineInformation);
            break;
        case kStatusFreeSpecial:
            list.Line(FreeSpaceLine("Special", number), kLineInformation);
            break;
        case kStatusVerifyRange:
            StartReadOrVerify(list, kProgressVerify, "Verifying...", number);
            break;
        case kStatusCancelled:
            // The cancel word stays raised: the next job that a document queues lowers it.
            list.Line(IDS_CANCELED_BY_USER, kLineFailure);
            list.Status("Canceled by user");
            list.Step(StatusStep::kEnableExit);
            list.Step(StatusStep::kRedrawViews);
            break;
        case kStatusDifferences:
            if (number == 0) {
                list.Line("All the cells were successfully compared", kLineInformation);
            } else {
                list.Line("VERIFY OPERATION COMPLETED WITH ERRORS.", kLineFailure);
            }
            break;
        case kStatusMismatch: {
            // The memory kind in the top byte of the 32-bit value, the cell in the rest.
            const auto packed = static_cast<std::uint32_t>(value);
            list.Mark(static_cast<int>(packed >> 24), static_cast<int>(packed & 0xFFFFFFu));
            break;
        }
        case kStatusLoaderRange:
            StartResidentLoader(list, number);
            break;
        case kStatusLoaderFailed:
            // A resident loader that failed: no verify follows to redraw anything.
            list.Step(StatusStep::kClearCancel);
            list.Status("Failure");
            list.Step(StatusStep::kEnableExit);
            break;
        case kStatusHideProgress:
            list.Step(StatusStep::kHideProgress);
            break;
        case kStatusBlankLine:
            list.Line(" ", kLinePlain);
            break;
        default:
            break;  // a status with no meaning here, or one that only the sender counts
    }
    return result;
}

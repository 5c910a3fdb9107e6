// simhost commands around the target's serial world: simulated boards on virtual ports, their
// logs, and stop-after, a second thread that stops the target after some clock time.
#include <cstdio>

#include "boards/catalogue.h"
#include "session.h"
#include "stopper.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace simhost {
namespace {

// "COM3" gives 3; 0 for anything else.
int ComNumber(const std::string& text) {
    if (text.size() < 4 || text.size() > 7 || text.compare(0, 3, "COM") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return 0;
        }
        number = number * 10 + (text[i] - '0');
    }
    return number;
}

}  // namespace

void Session::DoBoard(const std::vector<Word>& words) {
    int number = ComNumber(words[2].text);
    if (number == 0) {
        Error("COMn expected, not '" + words[2].text + "'");
        return;
    }
    if (m_boards.count(number) != 0 || w32test::vport::IsAttached(number)) {
        Error("a board is already on COM" + std::to_string(number));
        return;
    }
    std::string options;
    for (size_t i = 3; i < words.size(); ++i) {
        options += (i > 3 ? " " : "") + words[i].text;
    }
    std::string error;
    std::unique_ptr<boards::Board> board = boards::MakeBoard(words[1].text, options, &error);
    if (board == nullptr) {
        Error(error);
        return;
    }
    if (!w32test::vport::Attach(number, board.get())) {
        Error("cannot attach the board to COM" + std::to_string(number));
        return;
    }
    m_boards[number] = std::move(board);
    m_transcript.Line("board " + words[1].text + " on COM" + std::to_string(number));
}

void Session::DoBoardLog(const std::vector<Word>& words) {
    if (m_boards.empty()) {
        Error("no board (attach one first)");
        return;
    }
    if (words.size() > 1) {
        if (words[1].text != "clear") {
            Error("usage: board-log [clear]");
            return;
        }
        // The events so far are forgotten unseen: a long download need not fill a transcript.
        for (auto& entry : m_boards) {
            entry.second->Log().Clear();
        }
        return;
    }
    // Each board's events since the last board-log, times in ms from the first of them.
    for (auto& entry : m_boards) {
        boards::Transcript& log = entry.second->Log();
        m_transcript.Line("board on COM" + std::to_string(entry.first) + ":");
        std::string text = log.Text();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            m_transcript.Line("  " + text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        log.Clear();
    }
}

void Session::DetachBoards() {
    for (auto& entry : m_boards) {
        w32test::vport::Detach(entry.first);
    }
    m_boards.clear();
}

void Session::DoStopAfter(const std::vector<Word>& words) {
    uint32_t ms = 0;
    if (!Number(words[1], &ms)) {
        return;
    }
    Stopper::Call call = Stopper::Call::Stop;
    if (words.size() > 2) {
        if (words[2].text == "break") {
            call = Stopper::Call::Break;
        } else if (words[2].text != "stop") {
            Error("usage: stop-after MS [stop|break]");
            return;
        }
    }
    CancelStopper();
    // The session's own thread holds the clock from here on, so that the time passes only while
    // the target waits: the stop comes at the same point of every run.
    w32test::clock::TakePart();
    m_transcript.Line(std::string("stop-after: ") + Stopper::NameOf(call) + " after " +
                      std::to_string(ms) + " ms of clock time");
    m_stopper = std::make_unique<Stopper>(*m_target, call, static_cast<uint64_t>(ms) * 1000u);
}

void Session::ReportStopper() {
    SimStatus status = SIM_OK;
    if (m_stopper != nullptr && m_stopper->TakeReport(&status)) {
        m_transcript.Line(std::string("stop-after: ") + Stopper::NameOf(m_stopper->GetCall()) +
                          " made");
        Status(status);
    }
}

void Session::CancelStopper() {
    if (m_stopper == nullptr) {
        return;
    }
    if (!m_stopper->Finish()) {
        m_transcript.Line("stop-after: not reached");
    }
    ReportStopper();
    m_stopper.reset();
}

}  // namespace simhost

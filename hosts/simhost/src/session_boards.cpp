// simhost commands around the target's serial world: simulated boards on virtual ports, their
// logs, and stop-after, a second thread that stops the target after some clock time.
#include <cstdio>

#include "session.h"
#include "stopper.h"
#include "w32test/clock.h"

namespace simhost {
namespace {

// "COM3" gives 3; 0 for anything else.
int ComNumber(const std::string& text) {
    return text.size() > 7 ? 0 : hostscript::ComNumber(text, 9999);
}

}  // namespace

void Session::DoBoard(const std::vector<Word>& words) {
    int number = ComNumber(words[2].text);
    if (number == 0) {
        Error("COMn expected, not '" + words[2].text + "'");
        return;
    }
    m_boards.Attach(words, number, *this);
}

void Session::DoBoardLog(const std::vector<Word>& words) {
    if (m_boards.Empty() || words.size() == 1) {
        m_boards.PrintLogs(*this);
        return;
    }
    if (words[1].text != "clear") {
        Error("usage: board-log [clear]");
        return;
    }
    // The events so far are forgotten unseen: a long download need not fill a transcript.
    m_boards.ClearLogs();
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

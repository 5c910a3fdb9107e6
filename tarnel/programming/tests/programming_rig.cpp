// The programming rig: windows that receive the statuses, the queue, and the waits.
#include "programming_rig.h"

#include <w32/handles.h>
#include <w32/threads.h>

#include <cstdio>

namespace programming_test {

bool CarriesBlock(UINT code) {
    return code == kStatusBoardIdentity ||
           (code >= kStatusVersionText && code <= kStatusAdviceText) || code == kStatusSuccessText;
}

std::string Describe(const Posted& p) {
    std::string text = std::to_string(p.code);
    if (CarriesBlock(p.code)) {
        text += " '" + p.text + "'";
    } else if (p.value != 0) {
        char value[32];
        std::snprintf(value, sizeof value, "=%ld", static_cast<long>(p.value));
        text += value;
    }
    return text;
}

std::vector<std::string> Describe(const std::vector<Posted>& posted) {
    std::vector<std::string> lines;
    for (const Posted& p : posted) {
        lines.push_back(Describe(p));
    }
    return lines;
}

std::vector<std::string> WithoutPositions(const std::vector<Posted>& posted) {
    std::vector<std::string> lines;
    for (const Posted& p : posted) {
        if (p.code != kStatusPosition) {
            lines.push_back(Describe(p));
        }
    }
    return lines;
}

std::vector<LPARAM> Values(const std::vector<Posted>& posted, UINT code) {
    std::vector<LPARAM> values;
    for (const Posted& p : posted) {
        if (p.code == code) {
            values.push_back(p.value);
        }
    }
    return values;
}

int Count(const std::vector<Posted>& posted, UINT code) {
    return static_cast<int>(Values(posted, code).size());
}

void ScriptedQuestions::Answer(std::initializer_list<BOOL> answers) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers.assign(answers.begin(), answers.end());
}

std::vector<std::string> ScriptedQuestions::Asked() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_asked;
}

BOOL ScriptedQuestions::AskYesNo(const char* question) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_asked.push_back(question);
    if (m_answers.empty()) {
        return FALSE;
    }
    BOOL answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

TestQueue::TestQueue() : m_gate(w32::CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

TestQueue::~TestQueue() {
    ReleaseStart();  // a held thread must reach the base destructor's stop test
    w32::CloseHandle(m_gate);
}

void TestQueue::HoldStart() { w32::ResetEvent(m_gate); }

void TestQueue::ReleaseStart() { w32::SetEvent(m_gate); }

DWORD WINAPI TestQueue::GatedThreadProc(LPVOID queue) {
    w32::WaitForSingleObject(static_cast<TestQueue*>(queue)->m_gate, INFINITE);
    return CJobQueue::ThreadProc(static_cast<CJobQueue*>(static_cast<TestQueue*>(queue)));
}

HANDLE TestQueue::CreateProgrammingThread() {
    if (m_failThreadCreation) {
        return nullptr;
    }
    return w32::CreateThread(nullptr, 0, &TestQueue::GatedThreadProc, this, CREATE_SUSPENDED,
                             nullptr);
}

namespace {

LRESULT CALLBACK IgnoreMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

ProgrammingRig::ProgrammingRig() : m_queue(std::make_unique<TestQueue>()) {
    m_window = w32::CreateMessageWindow(&IgnoreMessage);
    m_mainWindow = w32::CreateMessageWindow(&IgnoreMessage);
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", kCom);
    m_settings.SetCommPort(name);
    ProgrammingEnvironment environment;
    environment.settings = &m_settings;
    environment.mainWindow = m_mainWindow;
    environment.questions = &m_questions;
    m_queue->SetEnvironment(environment);
}

ProgrammingRig::~ProgrammingRig() {
    {
        w32test::clock::OutsideWaitScope waiting;
        m_queue.reset();  // waits for its thread
    }
    TakeMessages();
    w32test::vport::Detach(kCom);
    w32::DestroyMessageWindow(m_window);
    w32::DestroyMessageWindow(m_mainWindow);
}

std::unique_ptr<JobRequest> ProgrammingRig::Job(JobOp op, BYTE device, BYTE kind,
                                                std::vector<BYTE>* area, std::vector<BYTE>* marks,
                                                DWORD startCell) {
    std::unique_ptr<JobRequest> job = Job(op, device, static_cast<DWORD>(area->size()));
    job->area = area->data();
    job->marks = marks != nullptr ? marks->data() : nullptr;
    job->memoryKind = kind;
    job->startCell = startCell;
    return job;
}

std::unique_ptr<JobRequest> ProgrammingRig::Job(JobOp op, BYTE device, DWORD size) {
    auto job = std::make_unique<JobRequest>();
    job->op = op;
    job->size = size;
    job->statusWindow = m_window;
    job->memoryKind = kMemoryCode;
    job->cancel = &m_cancel;
    job->deviceCode = device;
    return job;
}

std::vector<Posted> ProgrammingRig::Run(std::vector<std::unique_ptr<JobRequest>> jobs) {
    // All of them are queued before the thread looks at the first, as when the user queues
    // them during a run.
    m_queue->HoldStart();
    for (auto& job : jobs) {
        m_queue->StartJob(std::move(job));
    }
    m_queue->ReleaseStart();
    WaitUntilIdle();
    return TakePosted();
}

std::vector<Posted> ProgrammingRig::Run(std::unique_ptr<JobRequest> job) {
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(std::move(job));
    return Run(std::move(jobs));
}

void ProgrammingRig::WaitUntilIdle() {
    w32test::clock::OutsideWaitScope waiting;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (m_queue->IsRunning()) {
        TakeMessages();
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the programming thread did not end";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    TakeMessages();
}

void ProgrammingRig::TakeMessages() {
    MSG msg;
    while (w32::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_OPERATION_STATUS) {
            continue;
        }
        Posted p;
        p.code = static_cast<UINT>(msg.wParam);
        p.value = msg.lParam;
        if (CarriesBlock(p.code) && msg.lParam != 0) {
            p.text = reinterpret_cast<const char*>(msg.lParam);
            FreeStatusBlock(msg.lParam);
            p.value = 0;
        }
        (msg.hwnd == m_mainWindow ? m_mainPosted : m_posted).push_back(p);
    }
}

std::vector<Posted> ProgrammingRig::TakePosted() {
    TakeMessages();
    std::vector<Posted> posted;
    posted.swap(m_posted);
    return posted;
}

std::vector<Posted> ProgrammingRig::TakeMainPosted() {
    TakeMessages();
    std::vector<Posted> posted;
    posted.swap(m_mainPosted);
    return posted;
}

void ProgrammingRig::ExpectPortFree() {
    CComms other;
    EXPECT_EQ(other.SetCommPort(kCom - 1), COMMS_OK) << "a handle of the port is still open";
    other.Deinstall();
}

}  // namespace programming_test

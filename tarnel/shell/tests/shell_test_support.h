// The shell's window tests: an application that answers the documents' choices from queues the
// tests fill, a stand-in for the tabbed view of .hex images, and the fixture with a main frame.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "tarnel/shell/area_views.h"
#include "tarnel/shell/bin_doc.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/hex_view.h"

namespace shell_test {

constexpr const char* kAt89S8252 = "Brontal-A: AT89S8252";  // code 0x2000, data 0x800
constexpr const char* kPic16 = "Brontal-P: PIC16F877A";     // code 0x4000, data 0x100, special 0x10
constexpr const char* kPic18 = "Brontal-P: PIC18F452";      // code 0x8000, data 0x100, special 0x10
constexpr const char* kPic18F458 = "Brontal-P: PIC18F458";
constexpr const char* kMemoryBoard = "Vasbel-1 RAM 512K";   // data 0x80000 only
constexpr const char* kHc908 = "Brontal-H: MC68HC908GP32";  // code 0x10000, device 164

// The application: settings in memory and the user's answers from queues. A choice whose queue
// is empty is cancelled (the format dialog answers Intel). With `dialogs` set, the choices are
// asked through those instead (the real dialogs).
class CShellTestApp : public CWinApp, public IDocumentHost, public IDocumentChoices {
public:
    CShellTestApp() : CWinApp("Shell Test") {}

    struct ChipAnswer {
        bool ok;
        CString name;
        AreaSizes lengths;
    };
    struct MemoryAnswer {
        bool ok;
        BYTE kind;
        UINT base;
    };
    struct DestinationAnswer {
        bool ok;
        AreaChoice chosen;
    };
    struct LengthAnswer {
        bool ok;
        UINT length;
    };
    struct IndexAnswer {
        bool ok;
        int index;
    };

    // Queues the chip with the table's lengths (the dialog's answer when nothing is typed).
    void AnswerChip(const char* name);
    void AnswerChip(const char* name, AreaSizes lengths) { chips.push_back({true, name, lengths}); }
    void Reset();

    // IDocumentHost
    CAppSettings& Settings() override { return settings; }
    void SetCurrentChip(const CString& name) override { settings.SetChipName(name); }
    IDocumentChoices& Choices() override { return dialogs != nullptr ? *dialogs : *this; }
    CancelWord& Cancel() override { return cancel; }
    HWND StatusWindow() override;
    int StartJob(std::unique_ptr<JobRequest> job) override;
    bool IsProgrammingRunning() override { return running; }

    // IDocumentChoices
    bool SelectChip(CString& name, AreaSizes& lengths) override;
    bool ChooseMemory(const AreaChoice& present, bool baseAllowed, BYTE& kind, UINT& base) override;
    bool ChooseDestination(bool boardLabels, AreaChoice& chosen) override;
    bool NewBinLength(UINT& length) override;
    int ChooseHexFormat() override;
    bool ChooseResidentLoader(int& index) override;

    IDocumentChoices* dialogs = nullptr;

    // Settings, the cancel word and the jobs queued, in order.
    CAppSettings settings;
    CancelWord cancel{0};
    std::vector<std::unique_ptr<JobRequest>> jobs;
    bool running = false;  // what the documents see of the programming thread

    // Answers, and what was asked.
    std::deque<ChipAnswer> chips;
    std::deque<MemoryAnswer> memories;
    std::deque<DestinationAnswer> destinations;
    std::deque<LengthAnswer> lengths;
    std::deque<int> formats;
    std::deque<IndexAnswer> loaders;
    int chipQuestions = 0;
    int lengthQuestions = 0;
    int formatQuestions = 0;
    int loaderQuestions = 0;
    std::vector<AreaChoice> memoryQuestions;  // the areas offered
    std::vector<bool> memoryBaseAllowed;
    std::vector<bool> destinationBoardLabels;
};

CShellTestApp& App();

// Stands in for the tabbed view of a .hex image: one hex editor per present area, one above the
// other, the active area chosen by the test.
class CTestAreaView : public CView, public CAreaViewSet {
    DECLARE_DYNCREATE(CTestAreaView)
public:
    int m_nActiveArea = 0;
    int GetActiveArea() override { return m_nActiveArea; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC*) override {}
    void OnSize(UINT nType, int cx, int cy);

protected:
    CHexView* AddAreaView(int area);
    void LayOut();
    DECLARE_MESSAGE_MAP()
};

// Keys sent straight to a window as its messages, with Shift or Ctrl held as far as the window's
// thread can tell (its keyboard state), so that no foreground or focus is needed.
void SetKeyHeld(int vk, bool held);
void SendKey(CWnd* pWnd, UINT vk);
void TypeInto(CWnd* pWnd, const char* text);

// A main frame with the two templates registered; temporary files removed afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the temporary folder, removed after the test (written when bytes are given).
    std::string TempFile(const std::string& name);
    std::string TempFile(const std::string& name, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);

    CBinDoc* NewBin(UINT length);
    CHexDoc* NewHex(const char* chip);
    CBinDoc* OpenBin(const std::string& path);
    CHexDoc* OpenHex(const std::string& path, const char* chip);
    static CHexView* FirstHexView(CDocument* doc);
    static CTestAreaView* AreaViewOf(CDocument* doc);
    static CFrameWnd* FrameOf(CDocument* doc);

    CMDIFrameWnd* m_pFrame = nullptr;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
    int m_timedOutBefore = 0;
};

}  // namespace shell_test

// The main frame: its bars, the board commands and their enabled states, the frame's port.
#include "tarnel/shell/main_frame.h"

#include <memory>

#include "tarnel/images/chip_table.h"
#include "tarnel/programming/operation_status.h"
#include "tarnel/programming/port_names.h"
#include "tarnel/shell/doc_templates.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/fill_dlg.h"
#include "tarnel/shell/goto_address_dlg.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/job_builder.h"
#include "tarnel/shell/pic16f877a_dlg.h"
#include "tarnel/shell/pic18f4xx_dlg.h"
#include "tarnel/shell/quillet_document.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/tarnel_app.h"

namespace {

// The Messages window's toolkit style: caption buttons, grip lines and caption text.
constexpr DWORD kMessageBarToolkitStyle = 19;
// Programming-mode bytes of the chips with configuration-word dialogs.
constexpr int kModePic16F877A = 30;
constexpr int kModePic18F4xx = 31;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

const char* const kBarStateName = "Bar State";
const char* const kPlacementSection = "Settings";
const char* const kPlacementEntry = "Placement";

CAppSettings& Settings() { return DocumentHost().Settings(); }

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CXTMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CXTMDIFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_MESSAGE(WM_OPERATION_STATUS, OnOperationStatus)
ON_COMMAND(ID_CHIP_READ, OnReadChip)
ON_COMMAND(ID_CHIP_WRITE, OnWriteChip)
ON_COMMAND(ID_CHIP_VERIFY, OnVerifyChip)
ON_COMMAND(ID_AUTO_SEQUENCE, OnAutoSequence)
ON_COMMAND(ID_CHIP_BLANK_CHECK, OnBlankCheck)
ON_COMMAND(ID_SPECIAL_FEATURES, OnSpecialFeatures)
ON_COMMAND(ID_CHIP_ERASE, OnErase)
ON_COMMAND(ID_SET_SECURITY_BITS, OnSetSecurityBits)
ON_COMMAND(ID_SET_MODE, OnSetMode)
ON_COMMAND(ID_CHECK_CONNECTION, OnCheckConnection)
ON_COMMAND(ID_BOARD_INFO, OnBoardInfo)
ON_COMMAND(ID_CLEAR_MESSAGES, OnClearMessages)
ON_COMMAND(ID_VIEW_MESSAGES, OnViewMessages)
// The bar menu names each docking window by its identifier, and the toolkit frame toggles only
// bars of its own identifier range: the Messages window's item is this frame's to answer.
ON_COMMAND(IDW_MESSAGE_BAR, OnViewMessages)
ON_COMMAND(ID_VIEW_SETTINGS, OnViewSettings)
ON_COMMAND(ID_EDIT_FILL, OnFill)
ON_COMMAND(ID_EDIT_GOTO_ADDRESS, OnGoToAddress)
ON_COMMAND(ID_EDIT_COPY, OnCopy)
ON_UPDATE_COMMAND_UI(ID_CHIP_READ, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_CHIP_WRITE, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_CHIP_VERIFY, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_AUTO_SEQUENCE, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_CHIP_BLANK_CHECK, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_SPECIAL_FEATURES, OnUpdateSpecialFeatures)
ON_UPDATE_COMMAND_UI(ID_CHIP_ERASE, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_SET_SECURITY_BITS, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_SET_MODE, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_CHECK_CONNECTION, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_BOARD_INFO, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_CLEAR_MESSAGES, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_VIEW_MESSAGES, OnUpdateViewMessages)
ON_UPDATE_COMMAND_UI(IDW_MESSAGE_BAR, OnUpdateViewMessages)
ON_UPDATE_COMMAND_UI(ID_VIEW_SETTINGS, OnUpdateViewSettings)
ON_UPDATE_COMMAND_UI(ID_EDIT_FILL, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO_ADDRESS, OnUpdateCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCommand)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_wndProgress(DocumentHost().Cancel()), m_wndSettingsBar(DocumentHost().Settings()) {}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (CXTMDIFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0])) {
        return -1;
    }
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_wndSettingsBar.Create(this, IDD_SETTINGS_BAR, CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY,
                                 IDD_SETTINGS_BAR)) {
        return -1;
    }
    m_wndSettingsBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndSettingsBar);

    if (!m_wndMessageBar.Create(this, IDW_MESSAGE_BAR, "Messages", 400, 120,
                                CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, kMessageBarToolkitStyle)) {
        return -1;
    }
    m_wndMessageBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMessageBar, AFX_IDW_DOCKBAR_BOTTOM);

    LoadBarState(kBarStateName);
    m_wndProgress.Create(this);
    return 0;
}

void CMainFrame::OnClose() {
    if (IsProgrammingRunning()) {
        const DWORD start = ::GetTickCount();
        while (IsProgrammingRunning() && ::GetTickCount() - start < kCloseWaitMs) {
            ::Sleep(10);
        }
        if (IsProgrammingRunning()) {
            return;  // the user may try again once the operation has ended
        }
    }
    SaveBarState(kBarStateName);
    SavePlacement();
    CXTMDIFrameWnd::OnClose();
}

LRESULT CMainFrame::OnOperationStatus(WPARAM wParam, LPARAM lParam) {
    HandleOperationStatus(*this, wParam, lParam);
    return 0;
}

// --- Lines, documents, the cancel word ---------------------------------------------------------

void CMainFrame::PostMessageText(LPCTSTR pszText, int nKind) {
    HWND list = m_wndMessageBar.List().m_hWnd;
    if (list != nullptr) {
        PostMessageLine(list, pszText != nullptr ? pszText : "", nKind);
    }
}

void CMainFrame::PostMessageId(UINT nStringId, int nKind) {
    CString text;
    text.LoadString(nStringId);
    PostMessageText(text, nKind);
}

CQuilletDocument* CMainFrame::GetActiveQuilletDocument() {
    CMDIChildWnd* child = MDIGetActive();
    if (child == nullptr) {
        return nullptr;
    }
    return dynamic_cast<CQuilletDocument*>(child->GetActiveDocument());
}

void CMainFrame::ClearCancelRequest() { DocumentHost().Cancel() = 0; }

BOOL CMainFrame::IsProgrammingRunning() {
    auto* app = dynamic_cast<CTarnelApp*>(AfxGetApp());
    return app != nullptr && app->JobQueue().IsRunning();
}

// --- Settings bar and placement ------------------------------------------------------------------

void CMainFrame::FillChipCombo(const CStringArray& chipNames) {
    CComboBox* combo = m_wndSettingsBar.ChipCombo();
    if (combo == nullptr) {
        return;
    }
    combo->ResetContent();
    for (INT_PTR i = 0; i < chipNames.GetSize(); ++i) {
        combo->AddString(chipNames[i]);
    }
}

void CMainFrame::FillPortCombo() {
    CComboBox* combo = m_wndSettingsBar.PortCombo();
    if (combo == nullptr) {
        return;
    }
    combo->ResetContent();
    for (int index = 0; index < 4; ++index) {
        if (IsComPortAvailable(index)) {
            CString name;
            name.Format("COM%d", index + 1);
            combo->AddString(name);
        }
    }
}

void CMainFrame::RestoreBarSelections() {
    m_wndSettingsBar.SelectPort(Settings().CommPort());
    m_wndSettingsBar.SelectChip(Settings().ChipName());
}

void CMainFrame::LoadPlacement() {
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (AfxGetApp()->GetProfileBinary(kPlacementSection, kPlacementEntry, &data, &bytes)) {
        std::unique_ptr<BYTE[]> owned(data);
        // A value of another size is not a placement: the frame is shown as on a first start.
        if (bytes == sizeof(WINDOWPLACEMENT)) {
            WINDOWPLACEMENT placement;
            memcpy(&placement, data, sizeof placement);
            placement.length = sizeof placement;
            SetWindowPlacement(&placement);
            return;
        }
    }
    ShowWindow(SW_SHOWNORMAL);
}

void CMainFrame::SavePlacement() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(&placement)) {
        AfxGetApp()->WriteProfileBinary(kPlacementSection, kPlacementEntry,
                                        reinterpret_cast<LPBYTE>(&placement), sizeof placement);
    }
}

// --- The frame's port ----------------------------------------------------------------------------

void CMainFrame::SetModeButtonImage(UINT nBitmapId) {
    if (m_wndToolBar.m_hWnd == nullptr) {
        return;
    }
    int& image = nBitmapId == IDB_MODE_PROGRAM ? m_nProgramImage
                 : nBitmapId == IDB_MODE_RUN   ? m_nRunImage
                                               : m_nClosedImage;
    if (image < 0) {
        image = m_wndToolBar.GetToolBarCtrl().AddBitmap(1, nBitmapId);
    }
    const int index = m_wndToolBar.CommandToIndex(ID_SET_MODE);
    if (image < 0 || index < 0) {
        return;
    }
    m_wndToolBar.SetButtonInfo(index, ID_SET_MODE, m_wndToolBar.GetButtonStyle(index), image);
    m_wndToolBar.Invalidate();
}

void CMainFrame::ClosePort() {
    SetModeButtonImage(IDB_MODE_CLOSED);
    m_port.Close();
}

int CMainFrame::EnsurePortOpen() {
    if (m_port.EnsureOpen(Settings().CommPort())) {
        return 0;
    }
    PostMessage(WM_OPERATION_STATUS, kStatusPortNotOpened, 0);
    return 1;
}

BOOL CMainFrame::CheckChipMode() {
    if (ChipTable::Contains(Settings().ChipName())) {
        return TRUE;
    }
    AfxMessageBox("Unknown programming mode. Please select chip.", MB_OK | MB_ICONSTOP);
    return FALSE;
}

BOOL CMainFrame::ChooseResidentLoader(JobRequest& job) {
    return ::ChooseResidentLoader(static_cast<uint8_t>(job.deviceCode), job.loaderChoice);
}

// --- Enabled states ------------------------------------------------------------------------------

FrameCommandState CMainFrame::CommandState() {
    FrameCommandState state;
    state.running = IsProgrammingRunning() != FALSE;
    CQuilletDocument* doc = GetActiveQuilletDocument();
    state.activeDocument = doc != nullptr;
    state.activeHexDocument = dynamic_cast<CHexDoc*>(doc) != nullptr;
    state.childActive = MDIGetActive() != nullptr;
    state.hasSelection = doc != nullptr && doc->HasSelection();
    state.activeDocumentInUse = doc != nullptr && doc->IsInUseByRun();
    SetCurrentChip(state, Settings().ChipName());
    return state;
}

void CMainFrame::OnUpdateCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsFrameCommandEnabled(pCmdUI->m_nID, CommandState()));
}

void CMainFrame::FollowActiveDocumentChip() {
    CQuilletDocument* doc = GetActiveQuilletDocument();
    auto* hex = dynamic_cast<CHexDoc*>(doc);
    if (hex == nullptr) {
        m_wndSettingsBar.EnableChipCombo();
        return;
    }
    m_wndSettingsBar.DisableChipCombo();
    if (hex->GetChipName() != Settings().ChipName()) {
        Settings().SetChipName(hex->GetChipName());
        RestoreBarSelections();
    }
}

void CMainFrame::OnUpdateSpecialFeatures(CCmdUI* pCmdUI) {
    if (!IsProgrammingRunning()) {
        FollowActiveDocumentChip();
    }
    OnUpdateCommand(pCmdUI);
}

void CMainFrame::OnUpdateViewMessages(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_wndMessageBar.IsWindowVisible() ? 1 : 0);
}

void CMainFrame::OnUpdateViewSettings(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_wndSettingsBar.IsWindowVisible() ? 1 : 0);
}

// --- Board commands ------------------------------------------------------------------------------

std::unique_ptr<JobRequest> CMainFrame::NewFrameJob(JobOp op) {
    auto job = std::make_unique<JobRequest>();  // zeroed: no area, size 0, reserved bytes 0
    job->op = op;
    job->statusWindow = m_hWnd;
    job->cancel = &DocumentHost().Cancel();
    job->deviceCode = ChipTable::GetDeviceCode(Settings().ChipName());
    return job;
}

void CMainFrame::QueueFrameJob(std::unique_ptr<JobRequest> job) {
    DocumentHost().StartJob(std::move(job));
}

void CMainFrame::OnReadChip() {
    if (IsProgrammingRunning()) {
        return;
    }
    ClosePort();
    if (!CheckChipMode()) {
        return;
    }
    CWinApp* app = AfxGetApp();
    if (!app->SaveAllModified()) {
        return;
    }
    app->CloseAllDocuments(FALSE);
    if (auto* doc = dynamic_cast<CQuilletDocument*>(OpenNewDocumentOfType(kHexFileDocName))) {
        doc->ReadChip();
    }
}

// The steps Write chip and Verify chip share before they hand the active document its command:
// the port freed for the programming thread, a chip with a mode, a chip name.
CQuilletDocument* CMainFrame::DocumentForChipCommand() {
    ClosePort();
    if (!CheckChipMode()) {
        return nullptr;
    }
    if (Settings().ChipName().IsEmpty()) {
        PostMessageId(IDS_CHIP_NOT_SELECTED, kMessagePlain);
        return nullptr;
    }
    return GetActiveQuilletDocument();
}

void CMainFrame::OnWriteChip() {
    if (IsProgrammingRunning()) {
        return;
    }
    if (CQuilletDocument* doc = DocumentForChipCommand()) {
        doc->WriteChip(TRUE);
    }
}

void CMainFrame::OnVerifyChip() {
    if (CQuilletDocument* doc = DocumentForChipCommand()) {
        doc->VerifyChip(TRUE);
    }
}

void CMainFrame::OnAutoSequence() {
    if (CQuilletDocument* doc = GetActiveQuilletDocument()) {
        doc->WriteChip(FALSE);
        doc->VerifyChip(FALSE);
    }
}

void CMainFrame::OnBlankCheck() {
    ClosePort();
    if (!CheckChipMode()) {
        return;
    }
    const CString chip = Settings().ChipName();
    const uint8_t device = ChipTable::GetDeviceCode(chip);
    AreaChoice chosen;
    if (!DocumentHost().Choices().ChooseDestination(device == kDeviceKestrixBoard, chosen)) {
        return;
    }
    const struct {
        bool chosen;
        BYTE kind;
        uint32_t size;
    } areas[] = {
        {chosen.code, kMemoryCode, ChipTable::GetCodeSize(chip)},
        {chosen.data, kMemoryData, ChipTable::GetDataSize(chip)},
        {chosen.special, kMemorySpecial, ChipTable::GetSpecialSize(chip)},
    };
    for (const auto& area : areas) {
        if (area.chosen) {
            auto job = NewFrameJob(kJobBlankCheck);
            job->memoryKind = area.kind;
            job->startCell = area.size;
            QueueFrameJob(std::move(job));
        }
    }
}

void CMainFrame::OnSpecialFeatures() {
    auto* hex = dynamic_cast<CHexDoc*>(GetActiveQuilletDocument());
    if (hex == nullptr) {
        return;
    }
    Settings().SetChipName(hex->GetChipName());
    RestoreBarSelections();
    switch (ChipTable::GetProgrammingMode(Settings().ChipName())) {
        case kModePic16F877A:
            CPic16F877ADlg(hex, this).DoModal();
            break;
        case kModePic18F4xx:
            CPic18F4xxDlg(hex, this).DoModal();
            break;
        default:
            AfxMessageBox("FOR NOW SPECIAL FUNCTIONS FOR THIS PROCESSOR ARE NOT SUPPORTED", MB_OK);
            break;
    }
    hex->UpdateAllViews(nullptr);
}

void CMainFrame::OnErase() {
    ClosePort();
    if (!ChipTable::IsProgrammable(Settings().ChipName())) {
        PostMessage(WM_OPERATION_STATUS, kStatusNotErasable, 0);
        return;
    }
    if (!CheckChipMode()) {
        return;
    }
    auto job = NewFrameJob(kJobErase);
    job->memoryKind = kMemoryCode;
    if (ChooseResidentLoader(*job)) {
        QueueFrameJob(std::move(job));
    }
}

void CMainFrame::OnSetSecurityBits() {
    // The programming thread opens the port by name: a port left open by Set Mode would make
    // the job fail, so it is closed here like for every other job of the frame.
    ClosePort();
    auto job = NewFrameJob(kJobSetSecurityBits);
    job->memoryKind = 0;
    if (ChooseResidentLoader(*job)) {
        QueueFrameJob(std::move(job));
    }
}

void CMainFrame::OnSetMode() {
    if (EnsurePortOpen() != 0) {
        return;
    }
    switch (m_port.SetMode(Settings().CommPort())) {
        case CFramePort::kRunMode:
            PostMessage(WM_OPERATION_STATUS, kStatusRunMode, 0);
            break;
        case CFramePort::kProgramMode:
            PostMessage(WM_OPERATION_STATUS, kStatusProgramMode, 0);
            break;
        default:
            break;
    }
    SetModeButtonImage(m_port.IsRunMode() ? IDB_MODE_RUN : IDB_MODE_PROGRAM);
}

void CMainFrame::OnBoardInfo() {
    ClosePort();
    QueueFrameJob(NewFrameJob(kJobReadBoardId));
}

void CMainFrame::OnClearMessages() { PostMessageText("", kMessageClearAll); }

void CMainFrame::OnViewMessages() {
    ShowControlBar(&m_wndMessageBar, !m_wndMessageBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnViewSettings() {
    ShowControlBar(&m_wndSettingsBar, !m_wndSettingsBar.IsWindowVisible(), FALSE);
}

void CMainFrame::OnFill() {
    CQuilletDocument* active = GetActiveQuilletDocument();
    if (active != nullptr && active->IsInUseByRun()) {
        return;  // disabled meanwhile; an accelerator may still send it
    }
    CFillDlg dlg(this);
    if (dlg.DoModal() != IDOK) {
        return;
    }
    CQuilletDocument* doc = GetActiveQuilletDocument();
    if (doc == nullptr) {
        return;
    }
    switch (dlg.m_nMode) {
        case CFillDlg::kFillSelection:
            doc->FillSelection(dlg.m_byFill);
            break;
        case CFillDlg::kFillAll:
            doc->FillAll(dlg.m_byFill);
            break;
        case CFillDlg::kFillRange:
            doc->FillRange(static_cast<int>(dlg.m_dwFrom), static_cast<int>(dlg.m_dwTo),
                           dlg.m_byFill);
            break;
        default:
            break;
    }
}

void CMainFrame::OnGoToAddress() {
    CGotoAddressDlg dlg(this);
    if (dlg.DoModal() != IDOK) {
        return;
    }
    if (CQuilletDocument* doc = GetActiveQuilletDocument()) {
        doc->GoToAddress(static_cast<int>(dlg.m_dwAddress));
    }
}

void CMainFrame::OnCopy() {
    if (CQuilletDocument* doc = GetActiveQuilletDocument()) {
        doc->CopySelection();
    }
}

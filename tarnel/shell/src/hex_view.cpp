// The hex editor view: painting, caret, scroll bars, mouse, keys and the popup menu over the
// editor model.
#include "tarnel/shell/hex_view.h"

#include <algorithm>
#include <cstdio>

#include "tarnel/shell/quillet_document.h"
#include "tarnel/shell/resource.h"

IMPLEMENT_DYNCREATE(CHexView, CView)

BEGIN_MESSAGE_MAP(CHexView, CView)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_CONTEXTMENU()
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_COMMAND(ID_HEX_WORD_MODE, OnWordMode)
ON_COMMAND(ID_HEX_BYTE_MODE, OnByteMode)
ON_COMMAND(ID_HEX_REMOVE_MARKS, OnRemoveMarks)
END_MESSAGE_MAP()

namespace {

HexEditorModel::Key KeyOf(UINT nChar) {
    using Key = HexEditorModel::Key;
    switch (nChar) {
        case VK_RIGHT:
            return Key::kRight;
        case VK_LEFT:
            return Key::kLeft;
        case VK_UP:
            return Key::kUp;
        case VK_DOWN:
            return Key::kDown;
        case VK_PRIOR:
            return Key::kPageUp;
        case VK_NEXT:
            return Key::kPageDown;
        case VK_HOME:
            return Key::kHome;
        case VK_END:
            return Key::kEnd;
        case VK_DELETE:
            return Key::kDelete;
        case VK_SHIFT:
            return Key::kShift;
        case VK_CONTROL:
            return Key::kControl;
        default:
            return Key::kOther;
    }
}

HexEditorModel::Scroll ScrollOf(UINT nSBCode) {
    using Scroll = HexEditorModel::Scroll;
    switch (nSBCode) {
        case SB_LINEUP:
            return Scroll::kLineBack;
        case SB_LINEDOWN:
            return Scroll::kLineForward;
        case SB_PAGEUP:
            return Scroll::kPageBack;
        case SB_PAGEDOWN:
            return Scroll::kPageForward;
        case SB_THUMBTRACK:
            return Scroll::kThumbTrack;
        case SB_THUMBPOSITION:
            return Scroll::kThumbPosition;
        case SB_TOP:
            return Scroll::kStart;
        case SB_BOTTOM:
            return Scroll::kEnd;
        default:
            return Scroll::kOther;
    }
}

bool KeyIsDown(int vk) { return ::GetKeyState(vk) < 0; }

}  // namespace

CHexView::CHexView() {
    ResetState(FALSE);
    m_font.CreatePointFont(100, "Courier New");
}

CHexView::~CHexView() = default;

void CHexView::ReadColours() {
    m_clrBack = ::GetSysColor(COLOR_WINDOW);
    m_clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrSelBack = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrMismatch = RGB(255, 0, 0);
}

BOOL CHexView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_VSCROLL | WS_HSCROLL;
    return CView::PreCreateWindow(cs);
}

int CHexView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    Relayout();
    m_popup.CreatePopupMenu();
    m_popup.AppendMenu(MF_STRING, ID_HEX_WORD_MODE, "WORD Mode");
    m_popup.AppendMenu(MF_STRING, ID_HEX_BYTE_MODE, "BYTE Mode");
    m_popup.AppendMenu(MF_STRING, ID_HEX_REMOVE_MARKS, "Remove marks");
    return 0;
}

void CHexView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    Relayout();
}

void CHexView::SetData(BYTE* pBuffer, BYTE* pMarks, int nSize) {
    m_model.SetData(pBuffer, pMarks, nSize);
    Relayout();
}

void CHexView::SetDisplay(BOOL bShowAddress, BOOL bShowHex, BOOL bShowChars, DWORD dwBaseAddress) {
    m_model.SetDisplay(bShowAddress != FALSE, bShowHex != FALSE, bShowChars != FALSE,
                       dwBaseAddress);
}

void CHexView::SetWordMode(BOOL bWordMode) { m_model.SetWordMode(bWordMode != FALSE); }

void CHexView::ResetState(BOOL bKeepDisplay) {
    m_model.ResetState(bKeepDisplay != FALSE);
    m_cxChar = 0;
    m_cyChar = 0;
    ReadColours();
}

void CHexView::Relayout() {
    if (m_hWnd != nullptr) {
        CClientDC dc(this);
        CFont* old = dc.SelectObject(&m_font);
        const CSize size = dc.GetTextExtent("0", 1);
        dc.SelectObject(old);
        m_cxChar = size.cx;
        m_cyChar = size.cy;
    }
    m_model.ScrollHome();
    UpdateScrollBars();
    if (m_hWnd != nullptr) {
        Invalidate();
    }
}

void CHexView::UpdateScrollBars() {
    if (m_hWnd == nullptr) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int rows = m_cyChar > 0 ? client.Height() / m_cyChar : 0;
    const int columns = m_cxChar > 0 ? client.Width() / m_cxChar : 0;
    m_model.SetViewCells(rows, columns);

    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(m_model.RowCount() - 1, 0);
    info.nPage = static_cast<UINT>(rows);
    info.nPos = m_model.FirstRow();
    SetScrollInfo(SB_VERT, &info, TRUE);
    info.nMax = std::max(m_model.RowWidth() - 1, 0);
    info.nPage = static_cast<UINT>(columns);
    info.nPos = m_model.FirstColumn();
    SetScrollInfo(SB_HORZ, &info, TRUE);
}

void CHexView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    UpdateScrollBars();
}

CRect CHexView::ColumnRect(int nCell, int nColumn, int nChars) const {
    const int row = nCell / m_model.CellsPerRow();
    const int x = (nColumn - m_model.FirstColumn()) * m_cxChar;
    const int y = (row - m_model.FirstRow()) * m_cyChar;
    return CRect(x, y, x + nChars * m_cxChar, y + m_cyChar);
}

CRect CHexView::CellHexRect(int nCell) const {
    return ColumnRect(nCell, m_model.HexColumn(nCell % m_model.CellsPerRow()), 2);
}

CRect CHexView::CellCharRect(int nCell) const {
    return ColumnRect(nCell, m_model.CharColumn(nCell % m_model.CellsPerRow()), 1);
}

void CHexView::OnDraw(CDC* pDC) {
    const int rows = m_model.RowCount();
    if (rows == 0 || m_cxChar == 0) {
        return;
    }
    CFont* oldFont = pDC->SelectObject(&m_font);
    pDC->SetBkMode(OPAQUE);
    const int perRow = m_model.CellsPerRow();
    const int first = m_model.FirstRow();
    const int last = std::min(first + m_model.VisibleRows() + 1, rows);
    for (int row = first; row < last; ++row) {
        const int y = (row - first) * m_cyChar;
        if (m_model.ShowAddress()) {
            char address[16];
            std::snprintf(address, sizeof(address), "%08X",
                          static_cast<unsigned>(m_model.RowAddress(row)));
            pDC->SetTextColor(m_clrText);
            pDC->SetBkColor(m_clrBack);
            pDC->TextOut(-m_model.FirstColumn() * m_cxChar, y, address, 8);
        }
        for (int index = 0; index < perRow; ++index) {
            const int cell = row * perRow + index;
            if (cell >= m_model.Size()) {
                break;
            }
            COLORREF text = m_clrText;
            COLORREF back = m_clrBack;
            switch (m_model.Look(cell)) {
                case HexEditorModel::CellLook::kNormal:
                    break;
                case HexEditorModel::CellLook::kMismatch:
                    text = m_clrMismatch;
                    break;
                case HexEditorModel::CellLook::kSelected:
                    text = m_clrSelText;
                    back = m_clrSelBack;
                    break;
                case HexEditorModel::CellLook::kSelectedMismatch:
                    text = m_clrMismatch;
                    back = m_clrSelBack;
                    break;
            }
            pDC->SetTextColor(text);
            pDC->SetBkColor(back);
            if (m_model.ShowHex()) {
                const CRect r = CellHexRect(cell);
                pDC->TextOut(r.left, r.top, m_model.CellDigits(cell).c_str(), 2);
            }
            if (m_model.ShowChars()) {
                const CRect r = CellCharRect(cell);
                const char c = m_model.CellChar(cell);
                pDC->TextOut(r.left, r.top, &c, 1);
            }
        }
    }
    // Blue lines between the address and the digits and between the digits and the characters.
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* oldPen = pDC->SelectObject(&pen);
    const int bottom = (last - first) * m_cyChar;
    const int left = (8 - m_model.FirstColumn()) * m_cxChar + m_cxChar / 2;
    const int right =
        (HexEditorModel::kFirstCellColumn + m_model.HexWidth() - m_model.FirstColumn()) * m_cxChar -
        m_cxChar / 2;
    pDC->MoveTo(left, 0);
    pDC->LineTo(left, bottom);
    pDC->MoveTo(right, 0);
    pDC->LineTo(right, bottom);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldFont);
}

void CHexView::PlaceCaret() {
    if (!m_model.HasData() || m_cxChar == 0 || ::GetFocus() != m_hWnd) {
        return;
    }
    HideCaret();
    CreateSolidCaret(m_cxChar, m_cyChar);
    const CPoint at((m_model.CaretColumn() - m_model.FirstColumn()) * m_cxChar,
                    (m_model.CaretRow() - m_model.FirstRow()) * m_cyChar);
    SetCaretPos(at);
    ShowCaret();
}

void CHexView::Apply(const HexEditorModel::Change& change) {
    if (change.edited) {
        if (CDocument* doc = GetDocument()) {
            doc->SetModifiedFlag(TRUE);
        }
    }
    if (change.rowsScrolled != 0) {
        ScrollWindow(0, -change.rowsScrolled * m_cyChar);
        SetScrollPos(SB_VERT, m_model.FirstRow());
    }
    if (change.redraw) {
        Invalidate();
    }
    if (change.caret || change.rowsScrolled != 0) {
        PlaceCaret();
    }
}

void CHexView::GoToCell(int nCell) { Apply(m_model.GoToCell(nCell)); }

void CHexView::SetCellMark(int nCell, BYTE mark) {
    if (m_model.SetCellMark(nCell, mark) && m_hWnd != nullptr) {
        InvalidateRect(CellHexRect(nCell));
        InvalidateRect(CellCharRect(nCell));
    }
}

void CHexView::RemoveMarks() {
    m_model.RemoveMarks();
    if (m_hWnd != nullptr) {
        Invalidate();
    }
}

void CHexView::OnSetFocus(CWnd* pOldWnd) {
    CView::OnSetFocus(pOldWnd);
    PlaceCaret();
}

void CHexView::OnKillFocus(CWnd* pNewWnd) {
    CView::OnKillFocus(pNewWnd);
    HideCaret();
}

void CHexView::OnLButtonDown(UINT nFlags, CPoint point) {
    CView::OnLButtonDown(nFlags, point);
    Apply(m_model.ButtonDown(m_model.HitTest(point.x, point.y, m_cxChar, m_cyChar)));
}

void CHexView::OnMouseMove(UINT nFlags, CPoint point) {
    if ((nFlags & MK_LBUTTON) != 0) {
        Apply(m_model.DragTo(m_model.HitTest(point.x, point.y, m_cxChar, m_cyChar)));
    }
    CView::OnMouseMove(nFlags, point);
}

void CHexView::OnLButtonUp(UINT nFlags, CPoint point) {
    Apply(m_model.ButtonUp(m_model.HitTest(point.x, point.y, m_cxChar, m_cyChar)));
    CView::OnLButtonUp(nFlags, point);
}

void CHexView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_DELETE && ImageInUse()) {
        return;
    }
    const HexEditorModel::Change change =
        m_model.KeyDown(KeyOf(nChar), KeyIsDown(VK_SHIFT), KeyIsDown(VK_CONTROL));
    if (!change.handled) {
        CView::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    Apply(change);
}

void CHexView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (ImageInUse()) {
        return;  // every character the editor takes changes a cell
    }
    const HexEditorModel::Change change = m_model.Char(nChar);
    if (!change.handled) {
        CView::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    Apply(change);
}

bool CHexView::ImageInUse() {
    auto* image = dynamic_cast<CQuilletDocument*>(GetDocument());
    return image != nullptr && image->IsInUseByRun();
}

void CHexView::OnContextMenu(CWnd*, CPoint pos) {
    if (pos.x == -1 && pos.y == -1) {
        ::GetCursorPos(&pos);
    }
    const bool word = m_model.WordMode();
    m_popup.CheckMenuItem(ID_HEX_WORD_MODE, MF_BYCOMMAND | (word ? MF_CHECKED : MF_UNCHECKED));
    m_popup.CheckMenuItem(ID_HEX_BYTE_MODE, MF_BYCOMMAND | (word ? MF_UNCHECKED : MF_CHECKED));
    m_popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x, pos.y, this);
}

void CHexView::ApplyScroll(const HexEditorModel::ScrollChange& change, bool vertical) {
    if (change.repaint) {
        Invalidate();
    } else if (change.moved != 0) {
        if (vertical) {
            ScrollWindow(0, change.moved * m_cyChar);
        } else {
            ScrollWindow(change.moved * m_cxChar, 0);
        }
    }
    SetScrollPos(SB_VERT, m_model.FirstRow());
    SetScrollPos(SB_HORZ, m_model.FirstColumn());
    PlaceCaret();
}

void CHexView::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS);
    ApplyScroll(m_model.VScroll(ScrollOf(nSBCode), info.nTrackPos), true);
}

void CHexView::OnHScroll(UINT nSBCode, UINT, CScrollBar*) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    GetScrollInfo(SB_HORZ, &info, SIF_TRACKPOS);
    ApplyScroll(m_model.HScroll(ScrollOf(nSBCode), info.nTrackPos), false);
}

void CHexView::OnWordMode() {
    SetWordMode(TRUE);
    Relayout();
    PlaceCaret();
}

void CHexView::OnByteMode() {
    SetWordMode(FALSE);
    Relayout();
    PlaceCaret();
}

void CHexView::OnRemoveMarks() { RemoveMarks(); }

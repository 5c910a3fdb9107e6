// CHexView: the hex editor of one memory area, drawn in a fixed-pitch font with a block caret,
// mouse and keyboard selection, byte or word display and coloured verify marks.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/frame_rules/hex_editor_model.h"

class CHexView : public CView {
    DECLARE_DYNCREATE(CHexView)
public:
    CHexView();
    ~CHexView() override;

    // The area to show (not owned); lays the view out anew.
    void SetData(BYTE* pBuffer, BYTE* pMarks, int nSize);
    // The three columns and the address of the first cell; no repaint.
    void SetDisplay(BOOL bShowAddress, BOOL bShowHex, BOOL bShowChars, DWORD dwBaseAddress);
    // WORD (TRUE) or BYTE (FALSE) display.
    void SetWordMode(BOOL bWordMode);
    // Empties the view; without bKeepDisplay also back to 16 cells per row, every column shown
    // and BYTE mode.
    void ResetState(BOOL bKeepDisplay);
    // Puts the cursor on a cell (clamped into the area) and scrolls it into view.
    void GoToCell(int nCell);
    // Stores a mark of a cell inside the area and redraws it.
    void SetCellMark(int nCell, BYTE mark);
    // Every mark above 1 becomes 1.
    void RemoveMarks();

    int GetSelFirst() const { return m_model.SelFirst(); }
    int GetSelLast() const { return m_model.SelLast(); }
    BOOL HasSelection() const { return m_model.HasSelection(); }
    BOOL IsModified() const { return m_model.Modified(); }
    void SetModified(BOOL bModified) { m_model.SetModified(bModified != FALSE); }

    // The editor's state, and the character cell of the view's font.
    const HexEditorModel& Model() const { return m_model; }
    CSize GetCharSize() const { return CSize(m_cxChar, m_cyChar); }
    // Client rectangles of a cell's two digits and of its character at the scroll position
    // (outside the client area when the cell's row is not shown).
    CRect CellHexRect(int nCell) const;
    CRect CellCharRect(int nCell) const;

    COLORREF m_clrBack = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrSelBack = 0;
    COLORREF m_clrSelText = 0;
    COLORREF m_clrMismatch = 0;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnSize(UINT nType, int cx, int cy);
    void OnWordMode();
    void OnByteMode();
    void OnRemoveMarks();

protected:
    // Measures the font, sets the scroll ranges and scrolls back to the first row and column.
    void Relayout();
    void UpdateScrollBars();
    void PlaceCaret();
    void ReadColours();
    // Redraws, scrolls, marks the document and moves the caret as an input asks.
    void Apply(const HexEditorModel::Change& change);
    void ApplyScroll(const HexEditorModel::ScrollChange& change, bool vertical);
    CRect ColumnRect(int nCell, int nColumn, int nChars) const;
    // The image's cells are lent to the programming thread: edits are ignored meanwhile.
    bool ImageInUse();

    HexEditorModel m_model;
    CFont m_font;
    int m_cxChar = 0;
    int m_cyChar = 0;
    CMenu m_popup;

    DECLARE_MESSAGE_MAP()
};

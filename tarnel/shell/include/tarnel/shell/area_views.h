// What a .hex document asks of the view that shows its areas, and the common part of such a view:
// one hex editor per present area.
#pragma once

#include "classlib/classlib.h"

class CHexView;

// The questions a .hex document puts to a view that shows its code, data and special areas.
// Areas count 0 code, 1 data, 2 special.
class IAreaViews {
public:
    virtual ~IAreaViews() = default;

    // Any present area's editor has its modified switch set.
    virtual BOOL IsModified() = 0;
    // Sets or clears the modified switch of every present area's editor.
    virtual void SetModified(BOOL bModified) = 0;
    // The area the user works on (the selected tab); 0 when nothing matches.
    virtual int GetActiveArea() = 0;
    // First and last selected cell of the active area (-1 when none).
    virtual void GetSelection(int& first, int& last) = 0;
    virtual BOOL HasSelection() = 0;
    // Puts the active area's cursor on an address (in the units its rows show).
    virtual void GoToAddress(int address) = 0;
    // Marks the cells of a verify mismatch (cell and memory kind as the programming thread
    // reports them) with mark 2; nothing when that area is not shown.
    virtual void MarkCell(int address, int kind) = 0;
    // Every mark above 1 in every area becomes 1.
    virtual void RemoveMarks() = 0;
    // Empties every area's editor but keeps how it displays.
    virtual void ResetViews() = 0;
};

// The editors of the three areas (none for an absent area; not owned), answering everything but
// which area is active, which the view that holds them knows.
class CAreaViewSet : public IAreaViews {
public:
    BOOL IsModified() override;
    void SetModified(BOOL bModified) override;
    void GetSelection(int& first, int& last) override;
    BOOL HasSelection() override;
    void GoToAddress(int address) override;
    void MarkCell(int address, int kind) override;
    void RemoveMarks() override;
    void ResetViews() override;

    // The editor of an area (0 code, 1 data, 2 special), or null.
    CHexView* AreaView(int area) const;
    CHexView* ActiveView();

    CHexView* m_pCodeView = nullptr;
    CHexView* m_pDataView = nullptr;
    CHexView* m_pSpecialView = nullptr;
    // The code area holds 16-bit words in two cells each (PIC chips).
    BOOL m_bCodeWordCells = FALSE;
};

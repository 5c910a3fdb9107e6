// CXTCoolMenu: a frame's popup menus drawn in the toolbars' look, with button images beside
// the commands that have them.
#pragma once

#include "menus/wnd_hook.h"

#include <cstdint>
#include <vector>

// The record an owner-drawn item of ours carries as its item data.
struct XT_ITEMDATA {
    CString m_strText;  // with its mnemonic ampersand and, after a tab, the accelerator
    UINT m_fType = 0;   // the item's type flags before it became owner-drawn
    int m_iImage = -1;  // in the menu's image list, or -1
    char m_sig[4] = {'Q', 'v', 'n', 'd'};
    BYTE m_flag = 0;

    bool IsSeparator() const { return (m_fType & MFT_SEPARATOR) != 0; }
};

// The item data of an item is ours only when it is one of the records in use: the data of
// other owner-drawn code is never read, since it need not point to anything.
XT_ITEMDATA* XTFindItemData(ULONG_PTR itemData);

class CXTCoolMenu : public CXTWndHook {
    DECLARE_DYNAMIC(CXTCoolMenu)
public:
    CXTCoolMenu();
    // Deletes every item record in use, forgets the images and unhooks.
    ~CXTCoolMenu() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Remembers the frame and hooks its window.
    virtual void Install(CFrameWnd* pFrame);
    // The images of a toolbar resource and its bitmap of the same id. FALSE when either is
    // missing or its image size differs from the first toolbar's (nothing is added then).
    virtual BOOL LoadToolbar(UINT nIDToolbar);
    virtual BOOL LoadToolbars(const UINT* pIDToolbars, int nCount);
    // The images of a bitmap (16 x 15 each unless a toolbar set the size) for the commands.
    virtual BOOL AddImages(UINT nIDBitmap, const UINT* pCommands, int nCount);
    virtual void DrawMenuText(CDC& dc, CRect rc, BOOL bSelected, BOOL bChecked, BOOL bGrayed,
                              const CString& strText);
    virtual void DrawCheckMark(CDC& dc, const CRect& rc, BOOL bSelected, BOOL bRadio);
    virtual void ConvertMenu(CMenu* pMenu, UINT nIndex, BOOL bSysMenu, BOOL bShowButtons);
    virtual void DrawChevron(CDC& dc, CRect rc, BOOL bHot);
    virtual void Reset();
    virtual void Refresh();
    virtual void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    virtual BOOL OnMeasureItem(LPMEASUREITEMSTRUCT lpms);
    virtual BOOL OnDrawItem(LPDRAWITEMSTRUCT lpds);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    // The image of a command, or -1.
    int GetImageIndex(UINT nCommand) const;
    CImageList& GetImageList() { return m_ilButtons; }
    CSize GetButtonSize() const { return m_szButton; }
    INT_PTR GetConvertedCount() const { return m_menuList.GetCount(); }

    BOOL m_bConvert = TRUE;  // popups become owner-drawn when they open

protected:
    // The box beside the text that holds the image or the check mark.
    CRect ImageBox(const CRect& rcItem) const;
    BOOL AddBitmap(HBITMAP hBitmap, const std::vector<uint16_t>& commands);

    CImageList m_ilButtons;
    CMapWordToPtr m_mapIDtoImage;
    CFrameWnd* m_pFrame = nullptr;
    CUIntArray m_arToolbarID;
    CPtrList m_menuList;
    CSize m_szBitmap{0, 0};
    CSize m_szButton{0, 0};
};

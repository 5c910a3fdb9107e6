// CXTCoolMenu: popups converted to owner-drawn items when they open and back when the menu
// closes, measured and drawn with the toolkit's colours and fonts.
#include "menus/cool_menu.h"

#include "docking/aux_data.h"
#include "docking/draw.h"
#include "menus/menu_text.h"
#include "menus/toolbar_resource.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CXTCoolMenu, CXTWndHook)

namespace {

const LPCSTR kToolbarResource = MAKEINTRESOURCEA(241);
constexpr int kMaxItemText = 256;

// Every item record in use, of every owner-drawn menu of the program.
std::vector<std::unique_ptr<XT_ITEMDATA>>& ItemRecords() {
    static std::vector<std::unique_ptr<XT_ITEMDATA>> records;
    return records;
}

void DeleteItemRecord(XT_ITEMDATA* pData) {
    auto& records = ItemRecords();
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [pData](const auto& record) { return record.get() == pData; }),
                  records.end());
}

void* ImageSlot(int index) { return reinterpret_cast<void*>(static_cast<INT_PTR>(index)); }

}  // namespace

XT_ITEMDATA* XTFindItemData(ULONG_PTR itemData) {
    if (itemData == 0) {
        return nullptr;
    }
    for (const auto& record : ItemRecords()) {
        if (reinterpret_cast<ULONG_PTR>(record.get()) == itemData) {
            return std::equal(record->m_sig, record->m_sig + 4, "Qvnd") ? record.get() : nullptr;
        }
    }
    return nullptr;
}

CXTCoolMenu::CXTCoolMenu() = default;

CXTCoolMenu::~CXTCoolMenu() {
    ItemRecords().clear();
    Reset();
}

void CXTCoolMenu::Install(CFrameWnd* pFrame) {
    m_pFrame = pFrame;
    HookWindow(pFrame);
}

LRESULT CXTCoolMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITMENUPOPUP:
            // The frame's own update runs first, so the items are converted as it left them.
            CXTWndHook::WindowProc(message, wParam, lParam);
            OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
                            HIWORD(lParam));
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            break;
        case WM_MENUCHAR: {
            LRESULT answer =
                OnMenuChar(static_cast<UINT>(static_cast<signed char>(LOBYTE(LOWORD(wParam)))),
                           HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
            if (answer != 0) {
                return answer;
            }
            break;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            Refresh();
            break;
        case WM_MEASUREITEM:
            if (OnMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam))) {
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (OnDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))) {
                return TRUE;
            }
            break;
        default:
            break;
    }
    return CXTWndHook::WindowProc(message, wParam, lParam);
}

// Images.

int CXTCoolMenu::GetImageIndex(UINT nCommand) const {
    void* slot = nullptr;
    if (nCommand > 0xFFFF || !m_mapIDtoImage.Lookup(static_cast<WORD>(nCommand), slot)) {
        return -1;
    }
    return static_cast<int>(reinterpret_cast<INT_PTR>(slot));
}

BOOL CXTCoolMenu::AddBitmap(HBITMAP hBitmap, const std::vector<uint16_t>& commands) {
    CBitmap bitmap;
    bitmap.Attach(hBitmap);
    const int first = m_ilButtons.GetImageCount();
    if (m_ilButtons.Add(&bitmap, xtAfxData.m_clr3DFace) < 0) {
        return FALSE;
    }
    auto isMapped = [this](uint16_t command) { return GetImageIndex(command) >= 0; };
    for (auto [command, index] : xtmenus::AssignImages(commands, first, isMapped)) {
        m_mapIDtoImage.SetAt(command, ImageSlot(index));
    }
    return TRUE;
}

BOOL CXTCoolMenu::LoadToolbar(UINT nIDToolbar) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hBitmapRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDToolbar), RT_BITMAP);
    HRSRC hToolbarRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDToolbar), kToolbarResource);
    if (hBitmapRes == nullptr || hToolbarRes == nullptr) {
        return FALSE;
    }
    HGLOBAL hGlobal = ::LoadResource(hInst, hToolbarRes);
    const void* data = hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
    auto resource = xtmenus::ParseToolbarResource(data, ::SizeofResource(hInst, hToolbarRes));
    if (!resource) {
        return FALSE;
    }
    const CSize size(resource->imageWidth, resource->imageHeight);
    if (m_szBitmap.cx != 0 && m_szBitmap != size) {
        return FALSE;
    }
    HBITMAP hBitmap = XTLoadSysColorBitmap(hInst, hBitmapRes, FALSE);
    if (hBitmap == nullptr) {
        return FALSE;
    }
    if (m_szBitmap.cx == 0) {
        m_szBitmap = size;
        m_szButton = CSize(size.cx + 2, size.cy + 2);
        m_ilButtons.DeleteImageList();
        m_ilButtons.Create(size.cx, size.cy, ILC_MASK | ILC_COLOR24, 0, 10);
    }
    if (!AddBitmap(hBitmap, resource->commands)) {
        return FALSE;
    }
    m_arToolbarID.Add(nIDToolbar);
    return TRUE;
}

BOOL CXTCoolMenu::LoadToolbars(const UINT* pIDToolbars, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        if (!LoadToolbar(pIDToolbars[i])) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CXTCoolMenu::AddImages(UINT nIDBitmap, const UINT* pCommands, int nCount) {
    HBITMAP hBitmap =
        static_cast<HBITMAP>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDBitmap),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hBitmap == nullptr) {
        return FALSE;
    }
    if (m_szBitmap.cx == 0) {
        m_szBitmap = CSize(16, 15);
        m_szButton = CSize(18, 17);
        m_ilButtons.DeleteImageList();
        m_ilButtons.Create(16, 15, ILC_MASK | ILC_COLOR24, 0, 10);
    }
    std::vector<uint16_t> commands;
    for (int i = 0; i < nCount; ++i) {
        commands.push_back(static_cast<uint16_t>(pCommands[i]));
    }
    return AddBitmap(hBitmap, commands);
}

void CXTCoolMenu::Reset() {
    m_szBitmap = CSize(0, 0);
    m_szButton = CSize(0, 0);
    m_mapIDtoImage.RemoveAll();
    m_arToolbarID.RemoveAll();
    m_ilButtons.DeleteImageList();
}

void CXTCoolMenu::Refresh() {
    std::vector<UINT> toolbars;
    for (INT_PTR i = 0; i < m_arToolbarID.GetSize(); ++i) {
        toolbars.push_back(m_arToolbarID[i]);
    }
    Reset();
    for (UINT id : toolbars) {
        LoadToolbar(id);
    }
}

// Converting.

void CXTCoolMenu::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu) {
    if (!bSysMenu) {
        ConvertMenu(pMenu, nIndex, FALSE, m_bConvert);
    }
}

void CXTCoolMenu::ConvertMenu(CMenu* pMenu, UINT /*nIndex*/, BOOL bSysMenu, BOOL bShowButtons) {
    if (pMenu == nullptr || pMenu->m_hMenu == nullptr) {
        return;
    }
    if (!bSysMenu && m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) {
        CMenu* pSysMenu = m_pFrame->GetSystemMenu(FALSE);
        bSysMenu = pSysMenu != nullptr && pSysMenu->m_hMenu == pMenu->m_hMenu;
    }
    const int count = pMenu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        char text[kMaxItemText + 1] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = kMaxItemText;
        if (!::GetMenuItemInfoA(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        XT_ITEMDATA* pData = XTFindItemData(info.dwItemData);
        if (info.dwItemData != 0 && pData == nullptr) {
            continue;  // another owner-drawn code's item
        }
        if (bSysMenu && info.wID >= 0xF000) {
            continue;
        }
        MENUITEMINFOA change = {};
        change.cbSize = sizeof(change);
        if (bShowButtons) {
            if (info.fType & MFT_OWNERDRAW) {
                continue;  // converted when this popup opened before
            }
            if (pData == nullptr) {
                auto record = std::make_unique<XT_ITEMDATA>();
                record->m_fType = info.fType;
                record->m_iImage = GetImageIndex(info.wID);
                record->m_strText = text;
                pData = record.get();
                ItemRecords().push_back(std::move(record));
            }
            // The text lives in the record now: a text left on the item would answer its
            // mnemonic before the menu asks the frame (WM_MENUCHAR).
            static char empty[] = "";
            change.fMask = MIIM_FTYPE | MIIM_DATA;
            change.fType = info.fType | MFT_OWNERDRAW;
            change.dwItemData = reinterpret_cast<ULONG_PTR>(pData);
            if (!(info.fType & MFT_SEPARATOR)) {
                change.fMask |= MIIM_STRING;
                change.dwTypeData = empty;
            }
            ::SetMenuItemInfoA(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &change);
            if (m_menuList.Find(pMenu->m_hMenu) == nullptr) {
                m_menuList.AddTail(pMenu->m_hMenu);
            }
        } else if ((info.fType & MFT_OWNERDRAW) && pData != nullptr) {
            CString restored = pData->m_strText;
            change.fMask = MIIM_FTYPE | MIIM_DATA;
            change.fType = info.fType & ~MFT_OWNERDRAW;
            change.dwItemData = 0;
            if (!(change.fType & MFT_SEPARATOR)) {
                change.fMask |= MIIM_STRING;
                change.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(restored));
            }
            DeleteItemRecord(pData);
            ::SetMenuItemInfoA(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &change);
        }
    }
}

void CXTCoolMenu::OnMenuSelect(UINT /*nItemID*/, UINT nFlags, HMENU hSysMenu) {
    if (nFlags != 0xFFFF || hSysMenu != nullptr) {
        return;
    }
    while (!m_menuList.IsEmpty()) {
        HMENU hMenu = static_cast<HMENU>(m_menuList.RemoveHead());
        if (::IsMenu(hMenu)) {
            ConvertMenu(CMenu::FromHandle(hMenu), 0, FALSE, FALSE);
        }
    }
}

LRESULT CXTCoolMenu::OnMenuChar(UINT nChar, UINT /*nFlags*/, CMenu* pMenu) {
    if (pMenu == nullptr || pMenu->m_hMenu == nullptr) {
        return 0;
    }
    std::vector<xtmenus::MenuCharItem> items;
    const int count = pMenu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        xtmenus::MenuCharItem item;
        if (::GetMenuItemInfoA(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &info)) {
            XT_ITEMDATA* pData = XTFindItemData(info.dwItemData);
            item.ours = (info.fType & MFT_OWNERDRAW) && pData != nullptr;
            if (item.ours) {
                item.text = static_cast<LPCSTR>(pData->m_strText);
            }
            item.highlighted = (info.fState & MFS_HILITE) != 0;
        }
        items.push_back(item);
    }
    return static_cast<LRESULT>(xtmenus::MenuCharAnswer(items, static_cast<char>(nChar)));
}

// Measuring and drawing.

BOOL CXTCoolMenu::OnMeasureItem(LPMEASUREITEMSTRUCT lpms) {
    if (lpms == nullptr || lpms->CtlType != ODT_MENU) {
        return FALSE;
    }
    XT_ITEMDATA* pData = XTFindItemData(lpms->itemData);
    if (pData == nullptr) {
        return FALSE;
    }
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    if (pData->IsSeparator()) {
        lpms->itemHeight = static_cast<UINT>(cyMenu / 2);
        lpms->itemWidth = 0;
    } else if (pData->m_strText.IsEmpty()) {
        lpms->itemHeight = static_cast<UINT>(cyMenu);
        lpms->itemWidth = 100;
    } else {
        CWindowDC dc(nullptr);
        CFont* pOldFont = dc.SelectObject(&xtAfxData.m_font);
        const CSize extent = dc.GetTextExtent(pData->m_strText);
        dc.SelectObject(pOldFont);
        lpms->itemWidth = static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON) + extent.cx + 7);
        lpms->itemHeight = static_cast<UINT>(cyMenu);
    }
    return TRUE;
}

CRect CXTCoolMenu::ImageBox(const CRect& rcItem) const {
    // Without images the box still has room for a check mark.
    CSize size = m_szButton;
    if (size.cx <= 0) {
        const int side = std::min(::GetSystemMetrics(SM_CXSMICON) + 2, rcItem.Height());
        size = CSize(side, side);
    }
    const int top = rcItem.top + (rcItem.Height() - size.cy) / 2;
    return CRect(rcItem.left, top, rcItem.left + size.cx, top + size.cy);
}

BOOL CXTCoolMenu::OnDrawItem(LPDRAWITEMSTRUCT lpds) {
    if (lpds == nullptr || lpds->CtlType != ODT_MENU) {
        return FALSE;
    }
    XT_ITEMDATA* pData = XTFindItemData(lpds->itemData);
    if (pData == nullptr) {
        return FALSE;
    }
    CDC* pDC = CDC::FromHandle(lpds->hDC);
    CRect rcItem(lpds->rcItem);
    if (pData->IsSeparator()) {
        CRect rc = rcItem;
        rc.DeflateRect(12, 0);
        rc.top += rc.Height() / 2;
        pDC->DrawEdge(&rc, EDGE_ETCHED, BF_TOP);
        return TRUE;
    }
    const BOOL bSelected = (lpds->itemState & ODS_SELECTED) != 0;
    const BOOL bGrayed = (lpds->itemState & ODS_GRAYED) != 0;
    const BOOL bChecked = (lpds->itemState & ODS_CHECKED) != 0;
    const CRect rcBox = ImageBox(rcItem);
    const HMENU hMenu = reinterpret_cast<HMENU>(lpds->hwndItem);

    if (pData->m_iImage >= 0 && m_ilButtons.GetSafeHandle() != nullptr) {
        const CPoint at(rcBox.left + (rcBox.Width() - m_szBitmap.cx) / 2,
                        rcBox.top + (rcBox.Height() - m_szBitmap.cy) / 2);
        if (!bGrayed) {
            pDC->FillSolidRect(&rcBox, xtAfxData.m_clrMenu);
            CRect rcEdge = rcBox;
            if (bChecked) {
                pDC->DrawEdge(&rcEdge, BDR_SUNKENOUTER, BF_RECT);
                if (!bSelected) {
                    CRect rcDither = rcBox;
                    rcDither.DeflateRect(1, 1);
                    XTFillDitherRect(pDC, &rcDither);
                }
            } else if (bSelected) {
                pDC->DrawEdge(&rcEdge, BDR_RAISEDINNER, BF_RECT);
            }
            m_ilButtons.Draw(pDC, pData->m_iImage, at, ILD_TRANSPARENT);
        } else {
            HICON hIcon = m_ilButtons.ExtractIcon(pData->m_iImage);
            pDC->DrawState(at, m_szBitmap, hIcon, DSS_DISABLED);
            ::DestroyIcon(hIcon);
        }
    } else {
        // A mark for a checked item; the radio form for an item of a radio group.
        bool bRadio = (pData->m_fType & MFT_RADIOCHECK) != 0;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
        if (::IsMenu(hMenu) && ::GetMenuItemInfoA(hMenu, lpds->itemID, FALSE, &info)) {
            bRadio = (info.fType & MFT_RADIOCHECK) != 0;
        }
        if (bChecked) {
            DrawCheckMark(*pDC, rcBox, bSelected, bRadio);
        }
    }

    CRect rcText = rcItem;
    rcText.left = rcBox.right;
    pDC->FillSolidRect(&rcText, bSelected ? xtAfxData.m_clrHighlight : xtAfxData.m_clrMenu);
    rcText.left += 4;
    const bool bDefault = ::IsMenu(hMenu) && ::GetMenuDefaultItem(hMenu, FALSE, 0) == lpds->itemID;
    CFont* pOldFont = pDC->SelectObject(bDefault ? &xtAfxData.m_fontBold : &xtAfxData.m_font);
    DrawMenuText(*pDC, rcText, bSelected, bChecked, bGrayed, pData->m_strText);
    pDC->SelectObject(pOldFont);
    return TRUE;
}

void CXTCoolMenu::DrawMenuText(CDC& dc, CRect rc, BOOL bSelected, BOOL /*bChecked*/, BOOL bGrayed,
                               const CString& strText) {
    const auto parts = xtmenus::SplitAtTab(static_cast<LPCSTR>(strText));
    const CString left(parts.first.c_str());
    const CString right(parts.second.c_str());
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    auto draw = [&](CRect area, COLORREF colour) {
        dc.SetTextColor(colour);
        dc.DrawText(left, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!right.IsEmpty()) {
            CRect rcAccel = area;
            rcAccel.right -= std::max<int>(m_szButton.cx, 0);
            dc.DrawText(right, &rcAccel, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    };
    if (bGrayed && !bSelected) {
        CRect shadow = rc;
        shadow.OffsetRect(1, 1);
        draw(shadow, xtAfxData.m_clr3DHilight);
    }
    COLORREF colour = xtAfxData.m_clrMenuText;
    if (bGrayed && bSelected) {
        colour = xtAfxData.m_clr3DFace;
    } else if (bGrayed) {
        colour = xtAfxData.m_clrGrayText;
    } else if (bSelected) {
        colour = xtAfxData.m_clrHighlightText;
    }
    draw(rc, colour);
    dc.SetBkMode(oldMode);
}

void CXTCoolMenu::DrawCheckMark(CDC& dc, const CRect& rc, BOOL bSelected, BOOL bRadio) {
    if (bSelected) {
        dc.FillSolidRect(&rc, xtAfxData.m_clrMenu);
    } else {
        XTFillDitherRect(&dc, &rc);
    }
    CRect rcEdge = rc;
    dc.DrawEdge(&rcEdge, BDR_SUNKENOUTER, BF_RECT);
    const CPoint centre = rc.CenterPoint();
    const COLORREF dark = xtAfxData.m_clr3DDkShadow;
    if (bRadio) {
        CPen pen(PS_SOLID, 1, dark);
        CPen* pOldPen = dc.SelectObject(&pen);
        for (int dy = -2; dy <= 1; ++dy) {
            const int half = (dy == -2 || dy == 1) ? 1 : 2;
            dc.MoveTo(centre.x - half, centre.y + dy);
            dc.LineTo(centre.x + half, centre.y + dy);
        }
        dc.SelectObject(pOldPen);
        return;
    }
    // A seven-pixel tick, three pixels thick: down two, then up four to the right.
    const int x0 = centre.x - 3;
    const int y0 = centre.y - 1;
    for (int i = 0; i < 7; ++i) {
        const int y = i < 3 ? y0 + i : y0 + 4 - i;
        for (int t = 0; t < 3; ++t) {
            dc.SetPixel(x0 + i, y + t, dark);
        }
        if (bSelected) {
            dc.SetPixel(x0 + i, y + 3, xtAfxData.m_clr3DHilight);
        }
    }
}

void CXTCoolMenu::DrawChevron(CDC& dc, CRect rc, BOOL bHot) {
    if (bHot) {
        dc.FillSolidRect(&rc, xtAfxData.m_clr3DLight);
        dc.Draw3dRect(&rc, xtAfxData.m_clr3DHilight, xtAfxData.m_clr3DShadow);
    }
    const int x = rc.left + rc.Width() / 2 - 2;
    const int y = rc.bottom - 13;
    for (int chevron = 0; chevron < 2; ++chevron) {
        const int top = y + chevron * 4;
        for (int i = 0; i < 3; ++i) {
            dc.SetPixel(x + i, top + i, xtAfxData.m_clr3DDkShadow);
            dc.SetPixel(x + i + 1, top + i, xtAfxData.m_clr3DDkShadow);
            dc.SetPixel(x + 4 - i, top + i, xtAfxData.m_clr3DDkShadow);
            dc.SetPixel(x + 5 - i, top + i, xtAfxData.m_clr3DDkShadow);
        }
    }
}

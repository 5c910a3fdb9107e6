// CAboutDlg: "About Tarnel", the program's name and version, the maker's notice and two links:
// a mail to the maker and the maker's web page.
#pragma once

#include "classlib/classlib.h"
#include "docking/hyperlink.h"

class CAboutDlg : public CDialog {
public:
    // Where the two addresses lead: the maker's web page and a mail to the maker (statics
    // IDC_ABOUT_WEB and IDC_ABOUT_MAIL of the template, taken over by the links).
    static constexpr const char* kWebTarget = "http://www.velcor.example/";
    static constexpr const char* kMailTarget = "mailto:info@velcor.example";

    explicit CAboutDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

protected:
    CXTHyperLink m_mailLink;
    CXTHyperLink m_webLink;
};

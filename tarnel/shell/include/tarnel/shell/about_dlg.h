// CAboutDlg: "About Tarnel", the program's name and version and the maker's notice, e-mail and
// web addresses (shown as plain texts until the link control joins them).
#pragma once

#include "classlib/classlib.h"

class CAboutDlg : public CDialog {
public:
    // Where the two addresses lead once they are links: the maker's web page and a mail to the
    // maker (statics IDC_ABOUT_WEB and IDC_ABOUT_MAIL of the template).
    static constexpr const char* kWebTarget = "http://www.velcor.example/";
    static constexpr const char* kMailTarget = "mailto:info@velcor.example";

    explicit CAboutDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
};

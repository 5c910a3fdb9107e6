// Whole-number rules of dialog fields and prompt formatting.
#include "classlib/ddx_numbers.h"

#include <cctype>
#include <climits>

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void Range(AfxWholeKind kind, long long* low, long long* high) {
    switch (kind) {
        case AfxWholeKind::Int:
        case AfxWholeKind::Long:
            *low = INT_MIN;
            *high = INT_MAX;
            return;
        case AfxWholeKind::Short:
            *low = SHRT_MIN;
            *high = SHRT_MAX;
            return;
        case AfxWholeKind::UInt:
        case AfxWholeKind::DWord:
            *low = 0;
            *high = UINT_MAX;
            return;
        case AfxWholeKind::Byte:
            *low = 0;
            *high = 255;
            return;
    }
}

}  // namespace

BOOL AfxParseWholeNumber(LPCTSTR lpszText, AfxWholeKind kind, long long* pValue) {
    if (lpszText == nullptr) {
        return FALSE;
    }
    const char* p = lpszText;
    while (IsBlank(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) {
        return FALSE;
    }
    long long value = 0;
    const long long limit = 1LL << 40;  // far beyond every kind: stop before overflowing
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (value < limit) {
            value = value * 10 + (*p - '0');
        }
        ++p;
    }
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p != '\0') {
        return FALSE;
    }
    if (negative) {
        value = -value;
    }
    long long low = 0;
    long long high = 0;
    Range(kind, &low, &high);
    if (value < low || value > high) {
        return FALSE;
    }
    *pValue = value;
    return TRUE;
}

void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString) {
    std::string out;
    for (const char* p = lpszFormat != nullptr ? lpszFormat : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            int index = p[1] - '1';
            if (index < nString && rglpsz[index] != nullptr) {
                out += rglpsz[index];
            }
            ++p;
        } else {
            out.push_back(*p);
        }
    }
    rString = CString(out);
}

// The hyperlink's texts for the shell's failures.
#include "docking/shell_errors.h"

#include "docking/resource.h"

namespace xtdock {

unsigned ShellErrorStringId(std::intptr_t result) {
    if (result > 32) {
        return 0;
    }
    switch (result) {
        case 0:
            return XT_IDS_SE_OUTOFMEMORY;
        case 2:  // file not found
            return XT_IDS_SE_FILENOTFOUND;
        case 3:  // path not found
            return XT_IDS_SE_PATHNOTFOUND;
        case 5:  // access denied
            return XT_IDS_SE_ACCESSDENIED;
        case 8:  // out of memory
            return XT_IDS_SE_OOM;
        case 11:  // bad executable format
            return XT_IDS_SE_BADFORMAT;
        case 26:  // sharing violation
            return XT_IDS_SE_SHARE;
        case 27:  // association incomplete
            return XT_IDS_SE_ASSOCINCOMPLETE;
        case 28:  // DDE time-out
            return XT_IDS_SE_DDETIMEOUT;
        case 29:  // DDE failure
            return XT_IDS_SE_DDEFAIL;
        case 30:  // DDE busy
            return XT_IDS_SE_DDEBUSY;
        case 31:  // no association
            return XT_IDS_SE_NOASSOC;
        case 32:  // library not found
            return XT_IDS_SE_DLLNOTFOUND;
        default:
            return XT_IDS_SE_UNKNOWN;
    }
}

}  // namespace xtdock

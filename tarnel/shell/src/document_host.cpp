// The documents' way to the program: the application object, when it serves as their host.
#include "tarnel/shell/document_host.h"

namespace {

// Stands in when the application is no host: no chip, nothing kept, every choice cancelled.
class CNoHost : public IDocumentHost, public IDocumentChoices {
public:
    CString GetCurrentChip() override { return CString(); }
    void SetCurrentChip(const CString&) override {}
    void SetLastDir(const CString&) override {}
    int GetGotoAddress() override { return 0; }
    void SetGotoAddress(int) override {}
    IDocumentChoices& Choices() override { return *this; }

    bool SelectChip(CString&, AreaSizes&) override { return false; }
    bool ChooseMemory(const AreaChoice&, bool, BYTE&, UINT&) override { return false; }
    bool ChooseDestination(bool, AreaChoice&) override { return false; }
    bool NewBinLength(UINT&) override { return false; }
    int ChooseHexFormat() override { return 0; }
    bool ChooseResidentLoader(int&) override { return false; }
};

}  // namespace

IDocumentHost& DocumentHost() {
    if (auto* host = dynamic_cast<IDocumentHost*>(AfxGetApp())) {
        return *host;
    }
    static CNoHost none;
    return none;
}

// The documents' way to the program: the application object, when it serves as their host.
#include "tarnel/shell/document_host.h"

namespace {

// Stands in when the application is no host: no chip, every choice cancelled, nothing queued.
class CNoHost : public IDocumentHost, public IDocumentChoices {
public:
    CAppSettings& Settings() override { return m_settings; }
    void SetCurrentChip(const CString&) override {}
    IDocumentChoices& Choices() override { return *this; }
    CancelWord& Cancel() override { return m_cancel; }
    HWND StatusWindow() override { return nullptr; }
    int StartJob(std::unique_ptr<JobRequest>) override { return 0; }
    bool IsProgrammingRunning() override { return false; }

    bool SelectChip(CString&, AreaSizes&) override { return false; }
    bool ChooseMemory(const AreaChoice&, bool, BYTE&, UINT&) override { return false; }
    bool ChooseDestination(bool, AreaChoice&) override { return false; }
    bool NewBinLength(UINT&) override { return false; }
    int ChooseHexFormat() override { return 0; }
    bool ChooseResidentLoader(int&) override { return false; }

private:
    CAppSettings m_settings;
    CancelWord m_cancel{0};
};

}  // namespace

IDocumentHost& DocumentHost() {
    if (auto* host = dynamic_cast<IDocumentHost*>(AfxGetApp())) {
        return *host;
    }
    static CNoHost none;
    return none;
}

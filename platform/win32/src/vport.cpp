// Attaching devices to COM numbers, and the handles of open virtual ports.
#include <map>
#include <mutex>

#include "serial_port.h"
#include "vport_cable.h"
#include "vport_open.h"
#include "w32/errors.h"
#include "w32test/vport.h"

namespace w32 {
namespace vport {
namespace {

struct Attachments {
    std::mutex lock;
    std::map<int, std::shared_ptr<VirtualCable>> cables;
    w32test::vport::RealPortGuard* guard = nullptr;  // refuses unattached ports when set
};

Attachments& TheAttachments() {
    static Attachments* attachments = new Attachments;  // outlives every static destructor
    return *attachments;
}

std::shared_ptr<VirtualCable> CableOf(int comNumber) {
    Attachments& a = TheAttachments();
    std::lock_guard<std::mutex> lock(a.lock);
    auto it = a.cables.find(comNumber);
    return it == a.cables.end() ? nullptr : it->second;
}

// One open virtual port; the cable outlives it and serves the next open.
class VirtualPort : public serial::Port {
public:
    explicit VirtualPort(std::shared_ptr<VirtualCable> cable) : m_cable(std::move(cable)) {}

    void OnClose() override { m_cable->Close(); }
    BOOL Setup(DWORD inQueue, DWORD) override { return m_cable->Setup(inQueue); }
    BOOL GetState(DCB* dcb) override { return m_cable->GetState(dcb); }
    BOOL SetState(const DCB& dcb) override { return m_cable->SetState(dcb); }
    BOOL Purge(DWORD flags) override { return m_cable->Purge(flags); }
    BOOL Escape(DWORD function) override { return m_cable->Escape(function); }
    BOOL ModemStatus(DWORD* status) override { return m_cable->ModemStatus(status); }
    BOOL ClearError(DWORD* errors, COMSTAT* status) override {
        return m_cable->ClearError(errors, status);
    }
    BOOL Read(BYTE* buffer, DWORD count, DWORD* got) override {
        return m_cable->Read(buffer, count, got, Timeouts());
    }
    BOOL Write(const BYTE* data, DWORD count, DWORD* written) override {
        return m_cable->Write(data, count, written, Timeouts());
    }
    BOOL SetMask(DWORD mask) override { return m_cable->SetMask(mask); }
    BOOL WaitEvent(DWORD* events) override { return m_cable->WaitEvent(events); }

private:
    std::shared_ptr<VirtualCable> m_cable;
};

}  // namespace

std::vector<int> AttachedPorts() {
    Attachments& a = TheAttachments();
    std::lock_guard<std::mutex> lock(a.lock);
    std::vector<int> ports;
    for (const auto& entry : a.cables) {
        ports.push_back(entry.first);
    }
    return ports;
}

bool RefusedAsReal(int comNumber) {
    Attachments& a = TheAttachments();
    {
        // Told under the lock, so that no call reaches a guard once it has been taken away.
        std::lock_guard<std::mutex> lock(a.lock);
        if (a.guard == nullptr) {
            return false;
        }
        a.guard->Refused(comNumber);
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return true;
}

bool OpenIfAttached(int comNumber, HANDLE* handle) {
    std::shared_ptr<VirtualCable> cable = CableOf(comNumber);
    if (cable == nullptr) {
        return false;
    }
    *handle = INVALID_HANDLE_VALUE;
    DWORD error = cable->Open();
    if (error != 0) {
        SetLastError(error);
        return true;
    }
    HANDLE h = handles::Register(std::make_shared<VirtualPort>(cable));
    if (h == nullptr) {
        cable->Close();
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return true;
    }
    *handle = h;
    return true;
}

}  // namespace vport
}  // namespace w32

namespace w32test {
namespace vport {

using w32::vport::VirtualCable;

BOOL Attach(int comNumber, Device* device) {
    if (comNumber < 1 || device == nullptr) {
        w32::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto cable = std::make_shared<VirtualCable>(device);
    {
        w32::vport::Attachments& a = w32::vport::TheAttachments();
        std::lock_guard<std::mutex> lock(a.lock);
        if (!a.cables.emplace(comNumber, cable).second) {
            w32::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    device->Attached(*cable);
    return TRUE;
}

BOOL Detach(int comNumber) {
    std::shared_ptr<VirtualCable> cable;
    {
        w32::vport::Attachments& a = w32::vport::TheAttachments();
        std::lock_guard<std::mutex> lock(a.lock);
        auto it = a.cables.find(comNumber);
        if (it == a.cables.end()) {
            w32::SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        cable = std::move(it->second);
        a.cables.erase(it);
    }
    cable->Disconnect();
    return TRUE;
}

void RefuseRealPorts(RealPortGuard* guard) {
    w32::vport::Attachments& a = w32::vport::TheAttachments();
    std::lock_guard<std::mutex> lock(a.lock);
    a.guard = guard;
}

bool IsAttached(int comNumber) { return w32::vport::CableOf(comNumber) != nullptr; }

BOOL FailNext(int comNumber, CallKind kind, DWORD count, DWORD error) {
    std::shared_ptr<VirtualCable> cable = w32::vport::CableOf(comNumber);
    if (cable == nullptr || static_cast<uint32_t>(kind) >= kCallKinds) {
        w32::SetLastError(cable == nullptr ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    cable->FailNext(kind, count, error);
    return TRUE;
}

}  // namespace vport
}  // namespace w32test

// The serial-port object: construction, opening and closing, settings and time-outs.
#include "comms/comms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "w32/clock.h"
#include "w32/handles.h"
#include "port_dcb.h"

namespace {

const DWORD kQueueSize = 4096;
const DWORD kDefaultRingSize = 4096;
const char kUnknownPort[] = "UNKNOWN";

// The COM number of a port number: COM1 for 0. Port INT_MAX is COM2147483648, one past an int.
long long ComNumberOf(int port) { return static_cast<long long>(port) + 1; }

// What every open asks of the port, whatever the stored time-outs say.
COMMTIMEOUTS OpeningTimeouts() {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = 1000;
    t.ReadTotalTimeoutMultiplier = 1000;
    t.ReadTotalTimeoutConstant = 0;
    t.WriteTotalTimeoutMultiplier = 1000;
    t.WriteTotalTimeoutConstant = 0;
    return t;
}

}  // namespace

CComms::CComms()
    : m_attached(0),
      m_hPort(INVALID_HANDLE_VALUE),
      m_port(0),
      m_baud(19200),
      m_dataBits(8),
      m_parity(0),
      m_stopBits(0),
      m_timeouts(OpeningTimeouts()),
      m_modemStatus(0),
      m_errors(0),
      m_written(0),
      m_read(0),
      m_crc32Table{},
      m_lockExists(0),
      m_open(0),
      m_async(0),
      m_lock{},
      m_rxBuffer{},
      m_ring(nullptr),
      m_ringRead(nullptr),
      m_ringWrite(nullptr),
      m_ringPeek(nullptr),
      m_ringSize(0),
      m_ringNonEmpty(0),
      m_thread(nullptr),
      m_readOverlapped{},
      m_writeOverlapped{},
      m_threadRun(0),
      m_rts(FALSE),
      m_dtr(FALSE),
      m_asyncPolls(0),
      m_window(nullptr),
      m_overloadMessage(WM_COMM_BUFFER_OVERLOAD),
      m_rxCharMessage(WM_COMM_RXCHAR),
      m_rtsControl(0),
      m_dtrControl(1) {
    BuildCrc32Table();
    SetBufferSize(kDefaultRingSize);
}

CComms::CComms(HANDLE port, comm_settings* settings) : CComms() {
    if (port != nullptr && port != INVALID_HANDLE_VALUE) {
        m_open = 1;
        m_attached = 1;
        m_hPort = port;
    }
    SetCommPort(settings);
}

CComms::CComms(int asyncMode) : CComms() { m_async = asyncMode != 0 ? 1 : 0; }

CComms::~CComms() {
    if (!m_attached) {
        Deinstall();
    }
    std::free(m_ring);
}

// ---- opening and closing ----

int CComms::Initialize() {
    if (m_open) {
        return COMMS_ALREADY_OPEN;
    }
    return OpenPort();
}

int CComms::InitializePort() { return Initialize(); }
BOOL CComms::IsInitialized() { return m_open ? TRUE : FALSE; }
BOOL CComms::IsPortAvailable() { return m_open ? TRUE : FALSE; }

int CComms::OpenPort() {
    int result = m_async ? AsyncInit() : SyncInit();
    if (result != COMMS_OK) {
        Deinstall();
    }
    return result;
}

int CComms::OpenForUse() {
    if (m_open) {
        return COMMS_OK;
    }
    return OpenPort() == COMMS_OK ? COMMS_OK : COMMS_NOT_OPEN;
}

int CComms::SyncInit() {
    char path[32];
    CurrPortName(path, sizeof path);
    HANDLE h =
        w32::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return COMMS_OPEN_FAILED;
    }
    m_hPort = h;
    m_open = 1;
    if (!w32::SetupComm(h, kQueueSize, kQueueSize)) {
        return COMMS_SET_STATE_FAILED;
    }
    COMMTIMEOUTS opening = OpeningTimeouts();
    if (!w32::SetCommTimeouts(h, &opening)) {
        return COMMS_TIMEOUTS_FAILED;
    }
    return comms_internal::ApplyFraming(
        h, {m_baud, m_dataBits, m_parity, m_stopBits, m_rtsControl, m_dtrControl}, nullptr);
}

int CComms::Deinstall() {
    int result = COMMS_OK;
    if (m_open) {
        m_threadRun = 0;
        if (m_async) {
            StopReceiveThread();
            m_async = 0;
            m_read = 0;
            m_asyncPolls = 0;
        }
        PurgeRcvBuffer();
        PurgeTransmitBuffer();
        w32::CloseHandle(m_hPort);
        m_open = 0;
        m_hPort = INVALID_HANDLE_VALUE;
    } else {
        result = COMMS_NOT_OPEN;
    }
    if (m_lockExists) {
        w32::DeleteCriticalSection(&m_lock);
        m_lockExists = 0;
    }
    for (OVERLAPPED* o : {&m_readOverlapped, &m_writeOverlapped}) {
        if (o->hEvent != nullptr) {
            w32::CloseHandle(o->hEvent);
        }
        *o = OVERLAPPED{};
    }
    m_written = 0;
    m_read = 0;
    m_window = nullptr;
    std::free(m_ring);
    m_ring = nullptr;
    m_ringRead = nullptr;
    m_ringWrite = nullptr;
    m_ringPeek = nullptr;
    m_ringNonEmpty = 0;
    m_thread = nullptr;
    m_rtsControl = 0;
    m_dtrControl = 1;
    return result;
}

int CComms::UnInitializePort() { return Deinstall(); }

void CComms::Detach() {
    if (m_async) {
        return;
    }
    m_open = 0;
    m_hPort = INVALID_HANDLE_VALUE;
}

HANDLE CComms::GetHandle() const { return m_hPort; }

// ---- settings ----

int CComms::SetCommPort(const comm_settings* settings) {
    if (settings == nullptr) {
        return COMMS_OK;
    }
    m_port = settings->port;
    m_baud = settings->baud;
    m_dataBits = settings->dataBits;
    m_parity = settings->parity >= 1 && settings->parity <= 4 ? settings->parity : 0;
    m_stopBits = settings->stopBits >= 0 && settings->stopBits <= 2 ? settings->stopBits : 0;
    if (m_open) {
        return COMMS_OK;  // kept for the next open
    }
    return OpenPort();
}

int CComms::SetCommPort(int port) {
    comm_settings s{};
    GetCommPort(&s);
    s.port = port;
    return SetCommPort(&s);
}

void CComms::SetBaud(DWORD baud) {
    comm_settings s{};
    GetCommPort(&s);
    s.baud = baud;
    SetCommPort(&s);
}

void CComms::GetCommPort(comm_settings* settings) {
    if (settings == nullptr) {
        return;
    }
    settings->port = m_port;
    settings->baud = m_baud;
    settings->dataBits = m_dataBits;
    settings->parity = m_parity;
    settings->stopBits = m_stopBits;
}

int CComms::ChangeBaudRate(DWORD baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!w32::GetCommState(m_hPort, &dcb)) {
        return COMMS_GET_STATE_FAILED;
    }
    m_baud = baud;
    return comms_internal::ApplyFraming(
        m_hPort, {m_baud, m_dataBits, m_parity, m_stopBits, m_rtsControl, m_dtrControl}, nullptr);
}

int CComms::CurrPort() { return m_port; }

void CComms::CurrPort(int port) {
    if (port != m_port) {
        Deinstall();
        m_port = port;
    }
}

const char* CComms::CurrPortName() {
    // One buffer per thread: two threads naming their ports do not overwrite each other's name.
    thread_local char name[16];
    if (m_port < 0) {
        std::snprintf(name, sizeof name, "%s", kUnknownPort);
    } else {
        std::snprintf(name, sizeof name, "COM%lld", ComNumberOf(m_port));
    }
    return name;
}

int CComms::CurrPortName(char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return COMMS_NO_BUFFER;
    }
    char path[32];
    if (m_port < 0) {
        std::snprintf(path, sizeof path, "%s", kUnknownPort);
    } else {
        std::snprintf(path, sizeof path, "\\\\.\\COM%lld", ComNumberOf(m_port));
    }
    size_t length = std::strlen(path);
    if (static_cast<size_t>(size) <= length) {
        return COMMS_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, path, length + 1);
    return COMMS_OK;
}

void CComms::RtsControlEnable(BOOL enable) { m_rtsControl = enable ? 1 : 0; }
void CComms::DtrControlEnable(BOOL enable) { m_dtrControl = enable ? 1 : 0; }

int CComms::SetAsyncMode() {
    if (m_open) {
        return COMMS_ALREADY_OPEN;
    }
    m_async = 1;
    return COMMS_OK;
}

// ---- time-outs ----

int CComms::SetTimeOut(DWORD msPerByte) {
    m_timeouts.ReadTotalTimeoutMultiplier = msPerByte;
    m_timeouts.WriteTotalTimeoutMultiplier = msPerByte;
    return SetTimeOut();
}

int CComms::SetTimeOut(COMMTIMEOUTS* timeouts) {
    if (timeouts == nullptr) {
        return COMMS_TIMEOUTS_FAILED;
    }
    m_timeouts = *timeouts;
    return SetTimeOut();
}

int CComms::SetTimeOut() {
    return w32::SetCommTimeouts(m_hPort, &m_timeouts) ? COMMS_OK : COMMS_TIMEOUTS_FAILED;
}

int CComms::GetTimeOut(COMMTIMEOUTS* timeouts) {
    if (timeouts == nullptr || !w32::GetCommTimeouts(m_hPort, timeouts)) {
        return COMMS_TIMEOUTS_FAILED;
    }
    m_timeouts = *timeouts;
    return COMMS_OK;
}

void CComms::SetAsyncTimeOut(DWORD polls) { m_asyncPolls = polls; }

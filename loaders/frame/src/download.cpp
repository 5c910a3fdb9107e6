// The _Download and _SetMode skeletons of the loader plug-ins, and the banner export.
#include "loader/download.h"

#include <cstring>

#include "comms/utilities.h"
#include "loader/percent.h"
#include "loader/relay.h"

namespace loader {

Download::Download(const HostPortRecord& host, ProgressCallback callback)
    : m_settings(host.settings), m_record(), m_message() {
    StoreCallback(callback);
}

Download::~Download() {
    m_port.Deinstall();
    if (m_file != nullptr) {
        commsUtilFree(m_file);
    }
    StoreCallback(nullptr);
    // m_port is destroyed after this body, as the last step.
}

int Download::ReadWholeFile(const char* path) {
    char errorText[256] = {};
    unsigned char* data = nullptr;
    unsigned long length = 0;
    int result = readFileData(path, &data, &length, errorText, sizeof errorText);
    if (result != 0) {
        loaderMessageNoCancel("%s", errorText);
        return result;
    }
    if (m_file != nullptr) {
        commsUtilFree(m_file);
    }
    m_file = data;
    m_fileLength = length;
    return 0;
}

int Download::OpenPort() { return m_port.SetCommPort(&m_settings); }

bool Download::SendStartNotice() {
    ProgressCallback callback = StoredCallback();
    if (callback == nullptr) {
        return false;
    }
    m_record.text = nullptr;
    m_record.startMarker = -1;
    callback(kProgressMessage, &m_record);
    m_record.startMarker = 0;
    return m_record.cancel != 0;
}

bool Download::ReportPercent(int percent) {
    ProgressCallback callback = StoredCallback();
    if (callback == nullptr) {
        return false;
    }
    callback(ClampPercent(percent), &m_record);
    return m_record.cancel != 0;
}

void Download::ReportPercentWithoutRecord(int percent) {
    ProgressCallback callback = StoredCallback();
    if (callback != nullptr) {
        callback(ClampPercent(percent), nullptr);
    }
}

bool Download::AfterByte(unsigned long index, unsigned long count) {
    if (!IsPercentByte(index, count)) {
        return false;
    }
    return ReportPercent(BytePercent(index, count));
}

int RunDownload(const HostPortRecord* host, const char* hexPath, ProgressCallback callback,
                DownloadProtocol protocol) {
    if (host == nullptr) {
        // Nothing is stored and nothing opened: the host learns why from this one line.
        if (callback != nullptr) {
            ProgressRecord record = {};
            record.text = "\nNo port record from the host: nothing downloaded";
            callback(kProgressMessage, &record);
        }
        return LDR_ERR_DOWNLOAD;
    }
    Download download(*host, callback);
    return protocol(download, hexPath);
}

int RunSetMode(const HostPortRecord* host, LoaderMode mode, SetModeProtocol protocol) {
    if (host == nullptr) {
        return mode == LOADER_MODE_PROGRAM ? LDR_ERR_PROGRAM_MODE : LDR_ERR_RUN_MODE;
    }
    comm_settings settings = host->settings;
    CComms port(host->port, &settings);
    return protocol(port, mode, *host);
}

int StoreBanner(const char** banner, const char* text) {
    if (banner != nullptr) {
        *banner = text;
    }
    return 0;
}

}  // namespace loader

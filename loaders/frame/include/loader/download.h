// The shape every loader's _Download and _SetMode share: what is built on entry and torn down on
// every exit, around the protocol that each loader adds.
#pragma once

#include <cstddef>

#include "comms/comms.h"
#include "loader/loader_abi.h"

namespace loader {

// Size of the message buffer a loader formats its step results into.
constexpr size_t kMessageBufferSize = 256;

// One call of a plug-in's _Download, living on that call's stack. Built on entry: the host's
// comm_settings copied, a port object built (closed), the download's ProgressRecord and message
// buffer cleared, the host's callback stored for the relay. Torn down on every exit: the port
// closed with Deinstall, the file buffer of ReadWholeFile freed, the stored callback cleared, the
// port object destroyed.
class Download {
public:
    Download(const HostPortRecord& host, ProgressCallback callback);
    ~Download();
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

    // The host's settings; a loader may change its copy before OpenPort (the host's stays).
    comm_settings& Settings() { return m_settings; }
    CComms& Port() { return m_port; }
    // The record of this download's percent calls and start notice.
    ProgressRecord& Record() { return m_record; }
    char* MessageBuffer() { return m_message; }

    // Reads the whole file with readFileData into a buffer of the comms library, freed at the
    // end. A failure relays readFileData's text and returns its code unchanged.
    int ReadWholeFile(const char* path);
    const unsigned char* FileData() const { return m_file; }
    unsigned long FileLength() const { return m_fileLength; }

    // Opens the port on the settings with SetCommPort; its result, which most loaders leave
    // untested (the next port operation then fails and reports).
    int OpenPort();

    // The start notice: the callback with -1, no text and the record's start marker -1. True when
    // the host set the record's cancel word during the call.
    bool SendStartNotice();
    // A percentage (clamped to 1..99) with the download's record, when a callback is stored.
    // True when the call was made and the host set the record's cancel word during it.
    bool ReportPercent(int percent);
    // A percentage with no record at all, when a callback is stored (the host accepts a null
    // record with a percentage; it cannot ask to stop then).
    void ReportPercentWithoutRecord(int percent);
    // The byte-stream rule after byte `index` of `count` has been written: reports when a
    // callback is stored and the byte is one of every PercentStep(count). True when the host
    // asked to stop in that call: the byte loop ends.
    bool AfterByte(unsigned long index, unsigned long count);

private:
    comm_settings m_settings;
    CComms m_port;
    ProgressRecord m_record;
    char m_message[kMessageBufferSize];
    unsigned char* m_file = nullptr;
    unsigned long m_fileLength = 0;
};

// A loader's own part of _Download: runs on the Download that the frame built, returns the result.
typedef int (*DownloadProtocol)(Download& download, const char* hexPath);

// The whole of a _Download: a null port record relays a line and answers LDR_ERR_DOWNLOAD with
// nothing opened; otherwise the Download is built, `protocol` runs, and its result is returned
// once the Download has been torn down.
int RunDownload(const HostPortRecord* host, const char* hexPath, ProgressCallback callback,
                DownloadProtocol protocol);

// A loader's own part of _SetMode: switches the line, or sends the run command, on `port`.
typedef int (*SetModeProtocol)(CComms& port, LoaderMode mode, const HostPortRecord& host);

// The whole of a _SetMode: a null port record answers the mode's own failure code
// (LDR_ERR_PROGRAM_MODE for mode 0, else LDR_ERR_RUN_MODE) with nothing opened; otherwise a port
// object is built around the host's open handle and the record's settings (the handle stays open
// when it is destroyed; with no handle the object opens the port by number), `protocol` runs, and
// its result is returned once the object is destroyed. Messages go through the relay, which drops
// them unless a download of this plug-in is running.
int RunSetMode(const HostPortRecord* host, LoaderMode mode, SetModeProtocol protocol);

// A _Copyright: stores the address of the plug-in's static banner in *banner and answers 0.
// A null pointer receives nothing.
int StoreBanner(const char** banner, const char* text);

}  // namespace loader

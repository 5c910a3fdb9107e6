// The serial-port class of the tool-set, its settings record and its result codes.
#pragma once

#include <atomic>

#include "comms/api.h"
#include "w32/messages.h"
#include "w32/serial.h"
#include "w32/threads.h"
#include "w32/types.h"

// Port settings as hosts, plug-ins and the programmer pass them around: seven 32-bit words.
struct comm_settings {
    int port;           // 0 = COM1, 1 = COM2, ...
    DWORD baud;         // bits per second
    int dataBits;       // bits per character
    int parity;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits;       // 0 one, 1 one and a half, 2 two
    DWORD reserved[2];  // never read or written by CComms; callers copy the whole record
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(comm_settings) == 28, "comm_settings is seven 32-bit words");
#endif

// Window messages of the asynchronous mode (the defaults; a port can be given others).
#define WM_COMM_RXCHAR (WM_USER + 7)
#define WM_COMM_BUFFER_OVERLOAD (WM_USER + 10)

// Results of every CComms member that can fail; 0 is success.
enum CommsResult : int {
    COMMS_OK = 0,
    COMMS_OPEN_FAILED = 1001,          // the port cannot be opened
    COMMS_GET_STATE_FAILED = 1002,     // GetCommState failed
    COMMS_SET_STATE_FAILED = 1003,     // SetupComm or SetCommState failed
    COMMS_TIMEOUTS_FAILED = 1004,      // SetCommTimeouts or GetCommTimeouts failed
    COMMS_WRITE_FAILED = 1011,         // WriteFile failed
    COMMS_NOTHING_WRITTEN = 1012,      // nothing was written
    COMMS_PART_WRITTEN = 1013,         // only part of the data was written
    COMMS_PURGE_FAILED = 1017,         // PurgeComm failed
    COMMS_READ_FAILED = 1021,          // ReadFile failed
    COMMS_READ_TIMEOUT = 1022,         // a read returned no byte
    COMMS_SET_RTS_FAILED = 1041,       // setting RTS failed
    COMMS_CLEAR_RTS_FAILED = 1042,     // clearing RTS failed
    COMMS_SET_DTR_FAILED = 1043,       // setting DTR failed
    COMMS_CLEAR_DTR_FAILED = 1044,     // clearing DTR failed
    COMMS_MODEM_STATUS_FAILED = 1052,  // GetCommModemStatus failed
    COMMS_CLEAR_ERROR_FAILED = 1053,   // ClearCommError failed
    COMMS_ALREADY_OPEN = 1056,         // the port is already open
    COMMS_READ_EVENT_FAILED = 1057,    // the read event cannot be created
    COMMS_WRITE_EVENT_FAILED = 1058,   // the write event cannot be created
    COMMS_NOT_OPEN = 1059,             // the port is not open (or an on-demand open failed)
    COMMS_OPEN_PURGE_FAILED = 1060,    // PurgeComm failed while opening
    COMMS_THREAD_FAILED = 1061,        // the receive thread cannot be started
    COMMS_NOTHING_TO_PEEK = 1062,      // ring empty, or not asynchronous
    COMMS_BAD_PARITY = 1063,           // unknown parity letter in a settings text
    COMMS_BAD_STOP_BITS = 1064,        // unknown stop-bits value in a settings text
    COMMS_NO_BUFFER = 1066,            // no ring, or no name buffer
    COMMS_BUFFER_TOO_SMALL = 1067,     // ring size 0, or a name buffer too small
};

// One serial port: opened, set up, read, written and closed through this object, or opened here
// and then used through GetHandle() with the system's functions.
//
// The six virtual operations and their order are the class's binary interface: plug-ins built
// apart call them through the virtual table. There is deliberately no virtual destructor (it
// would take a slot); own objects by value or through std::unique_ptr<CComms>, and destroy a
// derived object as itself.
class COMMS_CLASS_API CComms {
public:
    CComms();
    // Takes `port` as already open when it is neither 0 nor INVALID_HANDLE_VALUE (it stays open
    // when the object is destroyed), then applies `settings` (opening the port when none was
    // given). The result is not reported: callers ask IsInitialized().
    CComms(HANDLE port, comm_settings* settings);
    // Non-zero selects asynchronous mode for the first open.
    explicit CComms(int asyncMode);
    ~CComms();

    // A port object owns a handle, a ring and a lock: it is not copied.
    CComms(const CComms&) = delete;
    CComms& operator=(const CComms&) = delete;

    // Opening and closing.
    // Opens the port in the current mode: COMMS_ALREADY_OPEN when it is open; a failed open
    // leaves it closed. InitializePort is the same under another name.
    virtual int Initialize();
    int InitializePort();
    // Whether the port is open; IsPortAvailable is the same under another name.
    BOOL IsInitialized();
    BOOL IsPortAvailable();
    // Closes the port (COMMS_NOT_OPEN when it was not open), back in synchronous mode.
    // UnInitializePort is the same under another name.
    int Deinstall();
    int UnInitializePort();
    void Detach();
    HANDLE GetHandle() const;

    // Settings. On an open port new settings are stored and take effect at the next open; on a
    // closed port they open it.
    int SetCommPort(const comm_settings* settings);
    int SetCommPort(int port);
    // "COM2: baud=9600 parity=N data=8 stop=1"; keys in any case, absent keys keep their value.
    int SetCommPort(const char* text);
    void SetBaud(DWORD baud);
    void GetCommPort(comm_settings* settings);
    int ChangeBaudRate(DWORD baud);
    int CurrPort();
    void CurrPort(int port);
    // "COM3" (or "UNKNOWN"), in a buffer of the calling thread overwritten by its next call.
    const char* CurrPortName();
    // The device path "\\.\COM3" (or "UNKNOWN").
    int CurrPortName(char* buffer, int size);
    void RtsControlEnable(BOOL enable);
    void DtrControlEnable(BOOL enable);
    int SetAsyncMode();
    // The system's serial ports (1 = COM1), ascending, with a 0 behind the last; the count.
    static int ListCommPorts(int* ports, int max);

    // Time-outs (milliseconds).
    int SetTimeOut(DWORD msPerByte);
    int SetTimeOut(COMMTIMEOUTS* timeouts);
    int SetTimeOut();
    int GetTimeOut(COMMTIMEOUTS* timeouts);
    void SetAsyncTimeOut(DWORD polls);

    // Reading. No read opens a closed port: each then gives COMMS_NOT_OPEN. The bytes a read
    // stores stay in the buffer, also when it ends early, and GetNumRead() counts them.
    //
    // How long a read waits depends on the mode:
    // - Synchronous: the port is asked again for the bytes still missing until all have come. A
    //   time-out is one ask that brings no byte within the port's read time-outs (SetTimeOut;
    //   every open sets 1000 ms between bytes and 1000 ms per byte), so bytes that keep coming
    //   keep a read going past that time.
    // - Asynchronous: bytes come from the receive ring. While it is empty the read polls it every
    //   millisecond, SetAsyncTimeOut's count of times (0 by default and after a close); once any
    //   byte is there it takes what the ring holds, up to `length`, and returns without waiting
    //   for the rest.
    //
    // Results: COMMS_OK when every byte asked for came (a length of 0 included);
    // COMMS_READ_TIMEOUT when fewer came, none or part; COMMS_READ_FAILED when the system's read
    // failed (the bytes before it kept and counted) or the buffer is null with a length.
    int Read(BYTE* buffer, DWORD length);
    // Read(buffer, length), and `got` := GetNumRead().
    int Read(BYTE* buffer, DWORD length, DWORD& got);
    // One byte: Read(byte, 1) under two names. A time-out is COMMS_READ_TIMEOUT with nothing
    // stored.
    int Read(BYTE* byte);
    int GetByte(BYTE* byte);
    // Read(buffer, length) under another name.
    int GetPacket(BYTE* buffer, DWORD length);
    // The string reads take one byte at a time, each a Read(byte, 1) with its own time-out, until
    // their end byte (stored and counted) or the first read that does not give COMMS_OK, whose
    // result they return: a time-out part-way is COMMS_READ_TIMEOUT with the part stored and
    // counted. They have no length limit: the buffer must hold whatever the far end sends. A null
    // buffer is COMMS_READ_FAILED with a count of 0, open port or not.
    //
    // Ends at CR (13), LF (10) or 0, whichever comes first; GetNumRead() is the string's count.
    int GetString(BYTE* buffer);
    // GetString(buffer), and `count` := its count.
    int GetString(BYTE* buffer, DWORD& count);
    // Ends at `end` only. Just `count` counts the string: GetNumRead() keeps the count of the last
    // one-byte read (1, or 0 when it timed out).
    int GetString(BYTE* buffer, DWORD& count, BYTE end);
    // GetString(buffer, count, end) with `end` 0, CR (13) and LF (10).
    int GetStringZero(BYTE* buffer, DWORD& count);
    int GetStringCR(BYTE* buffer, DWORD& count);
    int GetStringLF(BYTE* buffer, DWORD& count);

    // Writing. A write opens a closed port first, in the current mode (COMMS_NOT_OPEN when that
    // fails). Every write below ends in the virtual Write(data, length), so a derived class that
    // overrides it sees every byte sent. GetNumWritten() counts the bytes that left.
    //
    // Write(data, length) returns once its bytes have left or the port's write time-out has run
    // out (SetTimeOut; a synchronous open sets 1000 ms per byte, an asynchronous one applies the
    // time-outs last set).
    // - Synchronous: COMMS_OK when all left, COMMS_PART_WRITTEN when some did and
    //   COMMS_NOTHING_WRITTEN when none did; COMMS_WRITE_FAILED when the system's write failed.
    // - Asynchronous: COMMS_OK once the write has ended, also when its time-out left bytes
    //   unsent: only GetNumWritten() tells a partial write. COMMS_WRITE_FAILED when it failed.
    virtual int Write(BYTE* data, DWORD length, DWORD& written);  // and `written` := the count
    virtual int Write(const BYTE* data, DWORD length);
    // One byte: Write(&byte, 1) under three names. A time-out is COMMS_NOTHING_WRITTEN
    // (synchronous).
    virtual int Write(BYTE byte);
    virtual int WriteByte(BYTE byte);
    int PutByte(BYTE byte);
    // Write(data, length) under another name.
    int PutPacket(const BYTE* data, DWORD length);
    // Sends the text and its terminating 0 one WriteByte at a time, stopping at the first that
    // does not give COMMS_OK and returning its result; GetNumWritten() counts the bytes sent
    // before it (the 0 included when all went). A null text sends nothing and gives COMMS_OK.
    int PutString(const BYTE* text);
    // The object keeps no transmit buffer of its own: flushing does nothing, the count is always
    // 0 and the buffer always empty.
    void FlushTransmitBuffer();
    DWORD BytesInTransmitBuffer();
    BOOL IsTransmitBufferEmpty();

    // Lines and status. The four line changes open a closed port first, as a write does;
    // RtsOn, RtsOff, DtrOn and DtrOff are SetRTS, ResetRTS, SetDTR and ResetDTR under other names.
    // GetRTS and GetDTR give the levels last set, not read from the port.
    int SetRTS();
    int ResetRTS();
    int SetDTR();
    int ResetDTR();
    int RtsOn();
    int RtsOff();
    int DtrOn();
    int DtrOff();
    BOOL GetRTS() const;
    BOOL GetDTR() const;
    // GetModemStatus and GetErrors read the port's modem lines and error flags into the object
    // (COMMS_NOT_OPEN on a closed port, which they do not open); the Is calls read what they
    // stored. Reading the errors clears them on the port.
    int GetModemStatus();
    BOOL IsCts();
    BOOL IsDsr();
    int GetErrors();
    BOOL IsInputOverrun();
    BOOL IsOverrunError();
    BOOL IsParityError();
    BOOL IsFrameError();
    BOOL IsBreak();
    int PurgeRcvBuffer();
    int PurgeTransmitBuffer();
    // The counts of the last write and the last read, as each call above states.
    DWORD GetNumWritten();
    DWORD GetNumRead();

    // Checksums; none touches the port.
    BYTE Bcc(const BYTE* data, DWORD length);
    WORD CrcCCIT(WORD crc, WORD byte);
    WORD Crc16(const BYTE* data, DWORD length);
    DWORD Crc32(const BYTE* data, DWORD length);

    // Asynchronous mode: the receive ring and its window messages.
    int SetBufferSize(DWORD size);
    void SetHWND(HWND window);
    void Set_WM_COMM_RXCHAR(UINT message);
    void Set_WM_COMM_BUFFER_OVERLOAD(UINT message);
    // The next byte of the ring not yet peeked, without taking it; after a read, peeking goes on
    // behind the bytes read. It never waits: COMMS_NOTHING_TO_PEEK when every byte in the ring has
    // been peeked, the ring is empty or the port is not asynchronous; COMMS_NO_BUFFER for a null
    // `byte`.
    int PeekChar(BYTE* byte);
    DWORD BytesInReceiveBuffer();
    BOOL IsReceiveBufferEmpty();
    void FlushReceiveBuffer();
    BOOL IsSecondThreadAlive();
    void Enqueue(const BYTE* data, DWORD length);

protected:
    virtual int WriteAsync(const BYTE* data, DWORD length);
    int SyncInit();
    int AsyncInit();
    int ReadQueue(BYTE* buffer, DWORD length, DWORD& got);
    int ReadFromSys(BYTE* buffer, DWORD length, DWORD* got);
    static DWORD WINAPI CommThread(LPVOID self);

private:
    // The open of the current mode; a failed open ends closed.
    int OpenPort();
    // Opens a closed port for Write and the line operations (COMMS_NOT_OPEN when that fails).
    int OpenForUse();
    void StopReceiveThread();
    int EscapeLine(DWORD function, int failure, BOOL* state, BOOL value);
    void BuildCrc32Table();

    int m_attached;
    HANDLE m_hPort;
    int m_port;
    DWORD m_baud;
    int m_dataBits;
    int m_parity;
    int m_stopBits;
    COMMTIMEOUTS m_timeouts;
    DWORD m_modemStatus;
    DWORD m_errors;
    DWORD m_written;
    DWORD m_read;
    DWORD m_crc32Table[256];
    int m_lockExists;
    int m_open;
    int m_async;
    CRITICAL_SECTION m_lock;
    BYTE m_rxBuffer[4096];
    BYTE* m_ring;
    BYTE* m_ringRead;
    BYTE* m_ringWrite;
    BYTE* m_ringPeek;
    DWORD m_ringSize;
    int m_ringNonEmpty;
    // Written by the receive thread when it ends, polled by the closing thread.
    std::atomic<HANDLE> m_thread;
    OVERLAPPED m_readOverlapped;
    OVERLAPPED m_writeOverlapped;
    // Cleared by the closing thread, polled by the receive thread.
    std::atomic<int> m_threadRun;
    BOOL m_rts;
    BOOL m_dtr;
    DWORD m_asyncPolls;
    HWND m_window;
    UINT m_overloadMessage;
    UINT m_rxCharMessage;
    int m_rtsControl;
    int m_dtrControl;
};

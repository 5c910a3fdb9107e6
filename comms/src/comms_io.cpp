// The serial-port object's traffic: reads, writes, the RTS and DTR lines, status and purges.
#include "comms/comms.h"

// ---- reading ----

int CComms::Read(BYTE* buffer, DWORD length) {
    if (!m_open) {
        return COMMS_NOT_OPEN;
    }
    if (m_async) {
        if (buffer == nullptr && length != 0) {
            m_read = 0;
            return COMMS_READ_FAILED;  // as ReadFile answers a synchronous read into nothing
        }
        DWORD got = 0;
        int result = ReadQueue(buffer, length, got);
        m_read = got;
        return result;
    }
    m_read = 0;
    if (length == 0) {
        return COMMS_OK;
    }
    // The bytes-read count is the whole of what came, so that callers can use it as the number
    // of bytes in their buffer.
    DWORD total = 0;
    while (total < length) {
        DWORD got = 0;
        if (!w32::ReadFile(m_hPort, buffer + total, length - total, &got, nullptr)) {
            m_read = total;
            return COMMS_READ_FAILED;
        }
        if (got == 0) {
            m_read = total;
            return COMMS_READ_TIMEOUT;
        }
        total += got;
    }
    m_read = total;
    return COMMS_OK;
}

int CComms::Read(BYTE* buffer, DWORD length, DWORD& got) {
    int result = Read(buffer, length);
    got = m_read;
    return result;
}

int CComms::Read(BYTE* byte) { return Read(byte, 1); }
int CComms::GetByte(BYTE* byte) { return Read(byte, 1); }
int CComms::GetPacket(BYTE* buffer, DWORD length) { return Read(buffer, length); }

int CComms::GetString(BYTE* buffer) {
    DWORD count = 0;
    if (buffer == nullptr) {
        m_read = 0;
        return COMMS_READ_FAILED;
    }
    int result;
    for (;;) {
        result = Read(buffer + count, 1);
        if (result != COMMS_OK) {
            break;
        }
        BYTE b = buffer[count++];
        if (b == 13 || b == 10 || b == 0) {
            break;
        }
    }
    m_read = count;
    return result;
}

int CComms::GetString(BYTE* buffer, DWORD& count) {
    int result = GetString(buffer);
    count = m_read;
    return result;
}

int CComms::GetString(BYTE* buffer, DWORD& count, BYTE end) {
    count = 0;
    if (buffer == nullptr) {
        return COMMS_READ_FAILED;
    }
    int result;
    for (;;) {
        result = Read(buffer + count, 1);
        if (result != COMMS_OK) {
            break;
        }
        if (buffer[count++] == end) {
            break;
        }
    }
    return result;
}

int CComms::GetStringZero(BYTE* buffer, DWORD& count) { return GetString(buffer, count, 0); }
int CComms::GetStringCR(BYTE* buffer, DWORD& count) { return GetString(buffer, count, 13); }
int CComms::GetStringLF(BYTE* buffer, DWORD& count) { return GetString(buffer, count, 10); }

// ---- writing: single bytes travel down the virtual operations ----

int CComms::Write(const BYTE* data, DWORD length) {
    if (OpenForUse() != COMMS_OK) {
        return COMMS_NOT_OPEN;
    }
    m_written = 0;
    if (m_async) {
        return WriteAsync(data, length);
    }
    DWORD written = 0;
    if (!w32::WriteFile(m_hPort, data, length, &written, nullptr)) {
        return COMMS_WRITE_FAILED;
    }
    m_written = written;
    if (written == length) {
        return COMMS_OK;
    }
    return written == 0 ? COMMS_NOTHING_WRITTEN : COMMS_PART_WRITTEN;
}

int CComms::Write(BYTE* data, DWORD length, DWORD& written) {
    int result = Write(static_cast<const BYTE*>(data), length);
    written = m_written;
    return result;
}

int CComms::Write(BYTE byte) { return Write(static_cast<const BYTE*>(&byte), 1); }
int CComms::WriteByte(BYTE byte) { return Write(byte); }
int CComms::PutByte(BYTE byte) { return WriteByte(byte); }
int CComms::PutPacket(const BYTE* data, DWORD length) { return Write(data, length); }

int CComms::PutString(const BYTE* text) {
    if (text == nullptr) {
        m_written = 0;
        return COMMS_OK;
    }
    DWORD sent = 0;
    int result;
    for (;;) {
        result = WriteByte(text[sent]);
        if (result != COMMS_OK) {
            break;
        }
        if (text[sent++] == 0) {
            break;
        }
    }
    m_written = sent;
    return result;
}

void CComms::FlushTransmitBuffer() {}
DWORD CComms::BytesInTransmitBuffer() { return 0; }
BOOL CComms::IsTransmitBufferEmpty() { return TRUE; }

// ---- lines and status ----

int CComms::EscapeLine(DWORD function, int failure, BOOL* state, BOOL value) {
    if (OpenForUse() != COMMS_OK) {
        return COMMS_NOT_OPEN;
    }
    if (!w32::EscapeCommFunction(m_hPort, function)) {
        return failure;
    }
    *state = value;
    return COMMS_OK;
}

int CComms::SetRTS() { return EscapeLine(SETRTS, COMMS_SET_RTS_FAILED, &m_rts, TRUE); }
int CComms::ResetRTS() { return EscapeLine(CLRRTS, COMMS_CLEAR_RTS_FAILED, &m_rts, FALSE); }
int CComms::SetDTR() { return EscapeLine(SETDTR, COMMS_SET_DTR_FAILED, &m_dtr, TRUE); }
int CComms::ResetDTR() { return EscapeLine(CLRDTR, COMMS_CLEAR_DTR_FAILED, &m_dtr, FALSE); }
int CComms::RtsOn() { return SetRTS(); }
int CComms::RtsOff() { return ResetRTS(); }
int CComms::DtrOn() { return SetDTR(); }
int CComms::DtrOff() { return ResetDTR(); }
BOOL CComms::GetRTS() const { return m_rts; }
BOOL CComms::GetDTR() const { return m_dtr; }

int CComms::GetModemStatus() {
    if (!m_open) {
        return COMMS_NOT_OPEN;
    }
    return w32::GetCommModemStatus(m_hPort, &m_modemStatus) ? COMMS_OK : COMMS_MODEM_STATUS_FAILED;
}

BOOL CComms::IsCts() { return (m_modemStatus & MS_CTS_ON) ? TRUE : FALSE; }
BOOL CComms::IsDsr() { return (m_modemStatus & MS_DSR_ON) ? TRUE : FALSE; }

int CComms::GetErrors() {
    if (!m_open) {
        return COMMS_NOT_OPEN;
    }
    return w32::ClearCommError(m_hPort, &m_errors, nullptr) ? COMMS_OK : COMMS_CLEAR_ERROR_FAILED;
}

BOOL CComms::IsInputOverrun() { return (m_errors & CE_RXOVER) ? TRUE : FALSE; }
BOOL CComms::IsOverrunError() { return (m_errors & CE_OVERRUN) ? TRUE : FALSE; }
BOOL CComms::IsParityError() { return (m_errors & CE_RXPARITY) ? TRUE : FALSE; }
BOOL CComms::IsFrameError() { return (m_errors & CE_FRAME) ? TRUE : FALSE; }
BOOL CComms::IsBreak() { return (m_errors & CE_BREAK) ? TRUE : FALSE; }

int CComms::PurgeRcvBuffer() {
    if (!m_open) {
        return COMMS_NOT_OPEN;
    }
    return w32::PurgeComm(m_hPort, PURGE_RXABORT | PURGE_RXCLEAR) ? COMMS_OK : COMMS_PURGE_FAILED;
}

int CComms::PurgeTransmitBuffer() {
    if (!m_open) {
        return COMMS_NOT_OPEN;
    }
    return w32::PurgeComm(m_hPort, PURGE_TXABORT | PURGE_TXCLEAR) ? COMMS_OK : COMMS_PURGE_FAILED;
}

DWORD CComms::GetNumWritten() { return m_written; }
DWORD CComms::GetNumRead() { return m_read; }

// What one programming operation builds for its call: its device's facts row, the back-end that
// row chooses, and its error text.
#pragma once

#include <cstring>
#include <memory>

#include "device_backend.h"
#include "device_facts.h"
#include "job_run.h"
#include "status_post.h"

struct JobObjects {
    JobObjects(const JobRequest& job, const char* errorText)
        : m_device(static_cast<BYTE>(job.deviceCode)),
          m_facts(FactsOf(m_device)),
          m_window(job.statusWindow),
          m_text{},
          m_backend(MakeDeviceBackend(m_facts, *this)) {
        SetText(errorText);
    }

    // The back-end of the job's device, chosen once for the whole operation.
    DeviceBackend& Backend() { return *m_backend; }

    // The boot-loader operations write their result text here (at most 80 characters), which
    // then becomes the operation's error text.
    char* Text() { return m_text; }
    void SetText(const char* text) {
        std::strncpy(m_text, text, sizeof m_text - 1);
        m_text[sizeof m_text - 1] = '\0';
    }
    // The error text as a block of its own, with kStatusErrorText.
    void PostError() { PostText(m_window, kStatusErrorText, m_text); }

    const BYTE m_device;
    const DeviceFacts& m_facts;
    const HWND m_window;
    char m_text[kStatusTextSize];

private:
    std::unique_ptr<DeviceBackend> m_backend;
};

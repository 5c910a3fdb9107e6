// CBoardLink: the base of the serial links inside the two board debuggers (the debug-kernel link
// and the ROM-monitor link), and LinkMessageSink, the target side a link reports to.
#pragma once

#include <cstdarg>
#include <cstdint>

#if defined(__GNUC__)
#define BOARD_LINK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define BOARD_LINK_PRINTF(f, a)
#endif

// Where a link's output goes: the owning target's message output, and its serial terminal for
// what the board sends outside the link's replies.
class LinkMessageSink {
public:
    virtual void OutputMessage(int level, const char* text) = 0;
    // The user program's own serial output (channel 0 of the host's terminal). Dropped unless a
    // sink takes it.
    virtual void TerminalOutput(const uint8_t* /*bytes*/, uint32_t /*count*/) {}

protected:
    ~LinkMessageSink() = default;
};

// A debug target's link sink: the link's lines to the target's message sink, the board's stray
// bytes to channel 0 of its serial terminal.
template <class Target>
class TargetLinkOutput : public LinkMessageSink {
public:
    explicit TargetLinkOutput(Target& target) : m_target(target) {}
    void OutputMessage(int level, const char* text) override {
        m_target.OutputMessage(level, text);
    }
    void TerminalOutput(const uint8_t* bytes, uint32_t count) override {
        m_target.SerialOutput(0, bytes, count);
    }

private:
    Target& m_target;
};

// Size of one formatted message line of a link, terminator included.
constexpr int kLinkMessageSize = 1024;

class CBoardLink {
public:
    CBoardLink(const CBoardLink&) = delete;
    CBoardLink& operator=(const CBoardLink&) = delete;

    // Bytes the board sent outside a reply or report: the user program's own serial output.
    virtual void ReceiveText(const uint8_t* data, uint32_t count) = 0;
    // Formats a line (cut to kLinkMessageSize - 1 characters) and hands it to the sink.
    virtual void Message(int level, const char* format, ...) BOARD_LINK_PRINTF(3, 4);

protected:
    explicit CBoardLink(LinkMessageSink& sink) : m_sink(sink) {}
    ~CBoardLink() = default;

    LinkMessageSink& Sink() { return m_sink; }

private:
    LinkMessageSink& m_sink;
};

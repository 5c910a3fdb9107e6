// A script that never ends, for the hosts' tests: NUL characters without a line end, as
// `/dev/zero` gives them, counted as they are read and ended after `limit` of them so that a
// host that reads without bound fails its test instead of filling the machine's memory.
#pragma once

#include <cstddef>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

namespace hostscript {

class EndlessZeros : public std::streambuf {
public:
    // `head` comes first (whole script lines, say), then the NULs.
    explicit EndlessZeros(std::string head, size_t limit = size_t{1} << 20)
        : m_head(std::move(head)), m_limit(limit), m_block(4096, '\0') {}

    // NULs handed out so far.
    size_t ZerosRead() const { return m_zeros; }

protected:
    int_type underflow() override {
        if (!m_headGiven) {
            m_headGiven = true;
            if (!m_head.empty()) {
                setg(&m_head[0], &m_head[0], &m_head[0] + m_head.size());
                return traits_type::to_int_type(m_head[0]);
            }
        }
        if (m_zeros >= m_limit) {
            return traits_type::eof();
        }
        m_zeros += m_block.size();
        setg(&m_block[0], &m_block[0], &m_block[0] + m_block.size());
        return traits_type::to_int_type(m_block[0]);
    }

private:
    std::string m_head;
    bool m_headGiven = false;
    size_t m_limit;
    size_t m_zeros = 0;
    std::string m_block;
};

// What a host's `Session` writes for a script of `head` followed by an endless line; its exit code
// in `*exitCode` and the NULs it read in `*zerosRead`.
template <class Session>
std::string RunEndlessScript(std::string head, int* exitCode, size_t* zerosRead) {
    EndlessZeros zeros(std::move(head));
    std::istream script(&zeros);
    std::ostringstream output;
    Session session(output);
    session.RunScript(script);
    *exitCode = session.Finish();
    *zerosRead = zeros.ZerosRead();
    return output.str();
}

}  // namespace hostscript

#pragma once
// Reads what the PC sends to a remote as it arrives, chunk by chunk: plain
// text lines ended by a carriage return, the single-byte keep-alive, and
// framed containers (text lines, requests, set values).
#include <cstdint>
#include <string>
#include <vector>

struct PcCommand {
    enum class Kind { Line, KeepAlive, Request, SetValue, Unreadable };
    Kind kind = Kind::Line;
    bool framed = false;
    std::string text;  // a line without its carriage return; why a frame is unreadable
    int value = 0;     // of a set value
};

class PcCommandReader {
public:
    // The commands that `bytes` complete; a line or frame still open waits
    // for the next chunk.
    std::vector<PcCommand> Read(const std::vector<uint8_t>& bytes);

private:
    void EndFrame(std::vector<PcCommand>& out);

    bool m_inFrame = false;
    std::vector<uint8_t> m_frame;
    std::string m_line;
};

// One line for the log: the text as sent, with anything unprintable escaped.
std::string Describe(const PcCommand& command);

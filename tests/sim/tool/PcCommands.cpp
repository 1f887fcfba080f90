#include "sim/tool/PcCommands.h"

#include <cstdio>
#include <utility>

#include "sim/OutgoingFrames.h"

namespace {

constexpr uint8_t kFrameStart = 0xC0;
constexpr uint8_t kFrameEnd = 0xC1;
constexpr uint8_t kKeepAlive = 0x06;
constexpr std::size_t kLongestFrame = 2 * 1024 + 8;  // a stuffed 1024-byte container and its marks

std::string Escaped(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(char(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

PcCommand Unreadable(std::string why)
{
    PcCommand command;
    command.kind = PcCommand::Kind::Unreadable;
    command.framed = true;
    command.text = std::move(why);
    return command;
}

}  // namespace

std::vector<PcCommand> PcCommandReader::Read(const std::vector<uint8_t>& bytes)
{
    std::vector<PcCommand> out;
    for (uint8_t b : bytes) {
        if (m_inFrame) {
            m_frame.push_back(b);
            if (b == kFrameEnd)
                EndFrame(out);
            else if (m_frame.size() > kLongestFrame)
                EndFrame(out);
            continue;
        }
        if (b == kFrameStart) {
            m_inFrame = true;
            m_frame.assign(1, b);
        } else if (b == kKeepAlive) {
            out.push_back({PcCommand::Kind::KeepAlive, false, {}, 0});
        } else if (b == '\r') {
            if (!m_line.empty())
                out.push_back({PcCommand::Kind::Line, false, std::exchange(m_line, {}), 0});
        } else if (b != '\n') {
            m_line.push_back(char(b));
        }
    }
    return out;
}

void PcCommandReader::EndFrame(std::vector<PcCommand>& out)
{
    m_inFrame = false;
    const OutStream stream = ParseOutgoing(std::exchange(m_frame, {}));
    if (stream.unterminated || stream.frames.size() != 1) {
        out.push_back(Unreadable("a frame without its end"));
        return;
    }
    const OutFrame& frame = stream.frames.front();
    if (!frame.wellFormed || !frame.payloadSumOk) {
        out.push_back(Unreadable(frame.wellFormed ? "a frame whose payload sum is wrong" : "a malformed frame"));
        return;
    }
    for (const OutSubMessage& sub : frame.subMessages) {
        PcCommand command;
        command.framed = true;
        if (!sub.sumOk) {
            command = Unreadable("a sub-message whose sum is wrong");
        } else if (sub.id == 0x8010) {
            command.text = TextOfLine(sub);
        } else if (sub.id == 0x8012) {
            command.kind = PcCommand::Kind::Request;
        } else if (sub.id == 0x8013 && sub.data.size() == 2) {
            command.kind = PcCommand::Kind::SetValue;
            command.value = sub.data[0] | (sub.data[1] << 8);
        } else {
            char what[48];
            std::snprintf(what, sizeof what, "a sub-message 0x%04X of %u bytes", sub.id, unsigned(sub.data.size()));
            command = Unreadable(what);
        }
        out.push_back(std::move(command));
    }
    if (frame.subMessages.empty())
        out.push_back({PcCommand::Kind::Line, true, {}, 0});  // an empty text
}

std::string Describe(const PcCommand& command)
{
    std::string text;
    switch (command.kind) {
    case PcCommand::Kind::Line: text = "\"" + Escaped(command.text) + "\""; break;
    case PcCommand::Kind::KeepAlive: text = "keep-alive 0x06"; break;
    case PcCommand::Kind::Request: text = "request (0x8012)"; break;
    case PcCommand::Kind::SetValue: text = "set value " + std::to_string(command.value) + " (0x8013)"; break;
    case PcCommand::Kind::Unreadable: text = "unreadable: " + command.text; break;
    }
    return command.framed ? text + " [framed]" : text;
}

// sim_remote's core: its command line, its reading of what the PC sends, and
// a run played against a PC side that opens the link, sets the remote up
// and times the drop by what arrives.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "sim/tool/PcCommands.h"
#include "sim/tool/RemoteScript.h"
#include "sim/tool/RemoteSession.h"

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

uint16_t U16(const std::vector<uint8_t>& b, std::size_t at)
{
    return uint16_t(b[at] | (b[at + 1] << 8));
}

void PutU16(std::vector<uint8_t>& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& b, uint32_t v)
{
    PutU16(b, uint16_t(v));
    PutU16(b, uint16_t(v >> 16));
}

// The PC's framing: one container of sub-messages, stuffed, between C0 and C1.
std::vector<uint8_t> PcFrame(const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& subs)
{
    std::vector<uint8_t> payload;
    for (const auto& [id, data] : subs) {
        uint32_t sum = 0;
        for (uint8_t b : data)
            sum += b;
        PutU16(payload, id);
        PutU16(payload, uint16_t(data.size()));
        PutU32(payload, 0);
        PutU32(payload, sum);
        payload.insert(payload.end(), data.begin(), data.end());
    }
    uint32_t sum = 0;
    for (uint8_t b : payload)
        sum += b;
    std::vector<uint8_t> container;
    PutU16(container, uint16_t(subs.size()));
    PutU16(container, uint16_t(payload.size()));
    PutU32(container, 0);
    PutU32(container, sum);
    container.insert(container.end(), payload.begin(), payload.end());
    std::vector<uint8_t> frame{0xC0};
    for (uint8_t b : container) {
        if (b == 0x06 || b == 0x0A || b == 0x0D || b == 0x7D || b == 0xC0 || b == 0xC1)
            frame.insert(frame.end(), {0x7D, uint8_t(b ^ 0x20)});
        else
            frame.push_back(b);
    }
    frame.insert(frame.end(), {0x00, 0x00, 0xC1});
    return frame;
}

std::vector<uint8_t> TextData(const std::string& text)
{
    std::vector<uint8_t> data;
    PutU16(data, uint16_t(text.size()));
    PutU16(data, 0);
    data.insert(data.end(), text.begin(), text.end());
    if (text.size() % 2 != 0)
        data.push_back(0xA5);
    return data;
}

// The id-tagged messages of the remote's 0xAA frames, in order.
struct InMessage {
    uint16_t id;
    std::vector<uint8_t> data;
};

std::vector<InMessage> RemoteMessages(const std::vector<uint8_t>& stream)
{
    std::vector<std::vector<uint8_t>> frames;
    bool escaped = false;
    for (uint8_t b : stream) {
        if (b == 0xAA) {
            frames.emplace_back();
            escaped = false;
        } else if (frames.empty()) {
            continue;
        } else if (escaped) {
            frames.back().push_back(b == 0x0A ? 0xAA : b);
            escaped = false;
        } else if (b == 0xA0) {
            escaped = true;
        } else {
            frames.back().push_back(b);
        }
    }
    std::vector<InMessage> messages;
    for (const auto& f : frames) {
        if (f.size() < 14 || U16(f, 0) != 0)
            continue;
        for (std::size_t at = 14, n = 0; n < U16(f, 2) && at + 12 <= f.size(); ++n) {
            const std::size_t length = U16(f, at + 2);
            messages.push_back({U16(f, at), std::vector<uint8_t>(f.begin() + long(at + 12),
                                                                 f.begin() + long(std::min(f.size(), at + 12 + length)))});
            at += 12 + length;
        }
    }
    return messages;
}

// The printed lines, for a test to wait on.
class Transcript {
public:
    void Add(const std::string& line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(line);
        m_changed.notify_all();
    }
    bool WaitFor(const std::string& text, int count = 1, int timeoutMs = 5000)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return Count(text) >= count; });
    }
    int Count(const std::string& text) const
    {
        int n = 0;
        for (const std::string& line : m_lines)
            n += line.find(text) != std::string::npos ? 1 : 0;
        return n;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

}  // namespace

TEST(SimRemoteScript, TakesWhatTheModelSendsAndRefusesTheRestWithAReason)
{
    struct Case {
        const char* line;
        const char* error;  // a part of the refusal; empty: accepted
    } const cases[] = {
        {"--model selvo --temp 104.5 --drop-at 30:12 --press 5:print --notch-retry 1 --link ./remote", ""},
        {"--model tarvikplus --co2 4.8 --agent iso:1.2 --hr 80 --press 2:7 --drop-at 1:2:hangup", ""},
        {"--model selvo --selvo spo2 --spo2 95", ""},
        {"--model selvo --spo2 95", "a Selvo with the ECG module (--selvo ecg|spo2|co2) sends no SpO2"},
        {"--model selvo --press 5:mark", "a Selvo has no \"mark\" button (its buttons: freeze, print, review"},
        {"--model moval --sys 120", "--sys: a Moval sends no blood pressure"},
        {"--model brindle --temp 99", "--temp: a BP-Brindle sends no temperature"},
        {"--model tarvikplus --o2 50", "--o2 needs --co2"},
        {"--model selvo --drop-at 3", "\"3\" is not T:D"},
        {"--model selvo --drop-at 1:5 --drop-at 4:1", "begins before the one before it has ended"},
        {"--model selvo --hr 5", "--hr: \"5\" is not a number from 10 to 400"},
        {"--model tarvik --spo2 97.5", "is not a whole number from 1 to 100"},
        {"--model moval --press 1:64", "or a state code from 1 to 63"},
        {"--temp 101", "--model is needed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedScript parsed = ParseRemoteScript(Words(c.line));
        if (*c.error == '\0') {
            EXPECT_TRUE(parsed.script.has_value()) << parsed.error;
        } else {
            EXPECT_FALSE(parsed.script.has_value());
            EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
        }
    }

    const RemoteScript selvo = *ParseRemoteScript(Words(cases[0].line)).script;
    EXPECT_EQ(selvo.report.temperature, 10450);
    EXPECT_EQ(selvo.report.pulse, 120) << "the pulse follows the default heart rate";
    ASSERT_EQ(selvo.drops.size(), 1u);
    EXPECT_EQ(selvo.drops[0].at, 30.0);
    EXPECT_EQ(selvo.drops[0].span, 12.0);
    EXPECT_FALSE(selvo.drops[0].hangUp);
    ASSERT_EQ(selvo.presses.size(), 1u);
    EXPECT_EQ(selvo.presses[0].stateCode, 9) << "a Selvo's print button";
    EXPECT_EQ(selvo.notchRetries, 1);

    const RemoteScript plus = *ParseRemoteScript(Words(cases[1].line)).script;
    EXPECT_EQ(plus.report.co2, 48);
    EXPECT_EQ(plus.report.agent, 3);
    EXPECT_EQ(plus.report.agentLevel, 12);
    EXPECT_EQ(plus.report.bpPulse, 80);
    EXPECT_EQ(plus.presses[0].stateCode, 7) << "a raw code passes as it is";
    EXPECT_TRUE(plus.drops[0].hangUp);
}

TEST(SimRemoteScript, ReadsThePcsPlainAndFramedCommandsAcrossChunks)
{
    std::vector<uint8_t> bytes{'\r', 's', 'l', ' ', '6', '0', '\r', 0x06};
    const std::vector<uint8_t> framed =
        PcFrame({{0x8010, TextData("bp 1")}, {0x8010, TextData("sp 5 300 160")}, {0x8012, {}}, {0x8013, {3, 0}}});
    bytes.insert(bytes.end(), framed.begin(), framed.end());
    std::vector<uint8_t> damaged = PcFrame({{0x8010, TextData("sb 1")}});
    damaged[damaged.size() - 6] ^= 0x01;  // a data byte: the sums no longer hold
    bytes.insert(bytes.end(), damaged.begin(), damaged.end());

    // One byte at a time: nothing is lost or doubled at a chunk's edge.
    PcCommandReader reader;
    std::vector<std::string> seen;
    for (uint8_t b : bytes)
        for (const PcCommand& command : reader.Read({b}))
            seen.push_back(Describe(command));
    const std::vector<std::string> expected = {
        "\"sl 60\"", "keep-alive 0x06", "\"bp 1\" [framed]", "\"sp 5 300 160\" [framed]",
        "request (0x8012) [framed]", "set value 3 (0x8013) [framed]",
        "unreadable: a frame whose payload sum is wrong [framed]",
    };
    EXPECT_EQ(seen, expected);
}

TEST(SimRemoteSession, PlaysTheSetUpAPressAndASilentDropToThePcOnItsLink)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("sim_remote_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string link = (folder / "remote").string();

    RemoteScript script = *ParseRemoteScript({"--model", "selvo", "--link", link, "--notch-retry", "1",
                                              "--press", "0.3:record", "--drop-at", "1.2:0.8", "--duration", "3"})
                               .script;
    Transcript transcript;
    RemoteSession session(script, [&](const std::string& line) { transcript.Add(line); });
    std::thread run([&] { EXPECT_TRUE(session.Run()) << session.Error(); });
    ASSERT_TRUE(transcript.WaitFor("waiting for the PC to open the port"));

    // The PC's side: what arrives and when, until the remote hangs up.
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    using Clock = std::chrono::steady_clock;
    std::vector<uint8_t> received;
    std::vector<Clock::time_point> arrivals;
    std::thread reader([&] {
        uint8_t buffer[4096];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                return;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            received.insert(received.end(), buffer, buffer + n);
            arrivals.push_back(Clock::now());
        }
    });
    // The mains filter takes the second time, as the script says.
    ASSERT_TRUE(transcript.WaitFor("link up: sent the product message"));
    ASSERT_EQ(::write(fd, "sl 60\r", 6), 6);
    EXPECT_TRUE(transcript.WaitFor("notch set-up ignored (1 of 1)"));
    ASSERT_EQ(::write(fd, "sl 60\r", 6), 6);
    EXPECT_TRUE(transcript.WaitFor("mains filter at 60 Hz"));
    EXPECT_TRUE(transcript.WaitFor("pc> \"sl 60\"", 2));

    reader.join();
    run.join();
    ::close(fd);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link))) << "the link goes with the run";
    std::filesystem::remove_all(folder);

    // The drop: the longest silence on the line, then the remote opens again.
    double longest = 0.0;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        longest = std::max(longest, std::chrono::duration<double>(arrivals[i] - arrivals[i - 1]).count());
    EXPECT_GE(longest, 0.7);
    EXPECT_LT(longest, 2.0);

    int products = 0, records = 0, otherCodes = 0;
    std::vector<bool> notch;
    for (const InMessage& m : RemoteMessages(received)) {
        products += m.id == 0x10 ? 1 : 0;
        if (m.id != 0x17 || m.data.size() != 16)
            continue;
        const uint16_t code = U16(m.data, 2);
        if (code == 3)
            ++records;
        else if (code != 0)
            ++otherCodes;
        notch.push_back((m.data[4] & 0x80) != 0);
    }
    EXPECT_EQ(products, 2) << "at the PC's open and after the drop";
    EXPECT_EQ(records, 1) << "a Selvo's record button, in one cycle";
    EXPECT_EQ(otherCodes, 0);
    ASSERT_GE(notch.size(), 20u);
    EXPECT_FALSE(notch.front());
    EXPECT_TRUE(notch.back()) << "kept through the drop";
}

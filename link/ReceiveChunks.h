#pragma once
// The serial listener's work on received characters: read chunk after
// chunk into receive-pool buffers and, by the link mode, queue them for the
// packet processor, drop them, feed firmware lines, or show them in the
// service terminal.
#include <cstddef>
#include <cstdint>

class CBthPacketMan;
class CEvent;
class IProgrammingFeed;
struct DecodeState;

// What the loop needs of the port.
class IReceivePort {
public:
    virtual ~IReceivePort() = default;
    virtual bool PortOpen() = 0;
    // Reads what is there, up to `capacity` bytes, without waiting.
    [[nodiscard]] virtual int32_t ReadChunk(uint8_t* buffer, uint32_t capacity, uint32_t& read) = 0;
    // Writes without a time limit (Close wakes it).
    [[nodiscard]] virtual int32_t WriteBytes(const void* data, std::size_t length) = 0;
};

struct ReceiveTargets {
    CBthPacketMan* pool = nullptr;
    CEvent* packetEvent = nullptr;
    DecodeState* decode = nullptr;          // terminal, poster, log
    IProgrammingFeed* programming = nullptr;
    uint32_t programmingCompleteMessage = 0;
    // The read error logged last (0: none since the last good read), so a
    // lasting failure is logged once, not on every event. The loop's own.
    int32_t loggedReadError = 0;
};

inline constexpr char kPoolExhaustedText[] =
    "All Bluetooth Input Packet Buffers in use.  Dump incoming data.  (data processing has slowed - if "
    "prolonged, this can cause a disconnect)";

// Reads until a read gives nothing or fails, or the port closes. A failed
// read is logged (once while it lasts) unless the port is being closed.
void ReceiveChunks(IReceivePort& port, ReceiveTargets& targets);

// One received chunk in programming mode: the next firmware line goes out.
// A line the port refuses stops programming (link mode drop), logged.
void FeedProgrammingLine(IReceivePort& port, const ReceiveTargets& targets);

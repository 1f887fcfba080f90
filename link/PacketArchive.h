#pragma once
// Copies of the newest raw frames and chunks, kept for inspection while
// debugging a link.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class CNorqSerialDataPacket {
public:
    CNorqSerialDataPacket() = default;
    CNorqSerialDataPacket(const CNorqSerialDataPacket&) = default;
    CNorqSerialDataPacket& operator=(const CNorqSerialDataPacket&) = default;
    virtual ~CNorqSerialDataPacket() = default;

    uint32_t tag = 0;            // the archiving party's running count
    std::vector<uint8_t> bytes;  // owned copy
    uint32_t Length() const { return static_cast<uint32_t>(bytes.size()); }
};

class CNorqSerialDataPacketArchive {
public:
    static constexpr std::size_t kKeep = 20;
    static constexpr uint32_t kMaxLength = 65536;

    CNorqSerialDataPacketArchive();
    CNorqSerialDataPacketArchive(const CNorqSerialDataPacketArchive&) = delete;
    CNorqSerialDataPacketArchive& operator=(const CNorqSerialDataPacketArchive&) = delete;
    virtual ~CNorqSerialDataPacketArchive() = default;

    std::size_t Size() const;
    // Copies of the kept packets, oldest first.
    std::vector<CNorqSerialDataPacket> Snapshot() const;

private:
    friend bool AddToArchive(CNorqSerialDataPacketArchive*, uint32_t, const uint8_t*, uint32_t);

    // A fixed ring whose copies keep their storage, so a busy link does not
    // allocate per chunk once each slot has held its largest packet.
    static constexpr std::size_t kReserve = 1024;  // one received chunk
    mutable std::mutex m_lock;
    std::array<CNorqSerialDataPacket, kKeep> m_ring;
    std::size_t m_oldest = 0;
    std::size_t m_count = 0;
};

// Stores a copy of 1..65536 bytes at the back and keeps the newest 20.
// False (nothing stored) without an archive or data, or for a bad length.
[[nodiscard]] bool AddToArchive(CNorqSerialDataPacketArchive* archive, uint32_t tag, const uint8_t* data,
                                uint32_t length);

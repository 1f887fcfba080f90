#include "link/PacketArchive.h"

CNorqSerialDataPacketArchive::CNorqSerialDataPacketArchive()
{
    for (auto& packet : m_ring)
        packet.bytes.reserve(kReserve);
}

std::size_t CNorqSerialDataPacketArchive::Size() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_count;
}

std::vector<CNorqSerialDataPacket> CNorqSerialDataPacketArchive::Snapshot() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<CNorqSerialDataPacket> copy;
    copy.reserve(m_count);
    for (std::size_t i = 0; i < m_count; ++i)
        copy.push_back(m_ring[(m_oldest + i) % kKeep]);
    return copy;
}

bool AddToArchive(CNorqSerialDataPacketArchive* archive, uint32_t tag, const uint8_t* data, uint32_t length)
{
    if (!archive || !data || length < 1 || length > CNorqSerialDataPacketArchive::kMaxLength)
        return false;
    constexpr std::size_t keep = CNorqSerialDataPacketArchive::kKeep;
    std::lock_guard<std::mutex> lock(archive->m_lock);
    std::size_t slot;
    if (archive->m_count < keep) {
        slot = (archive->m_oldest + archive->m_count) % keep;
        ++archive->m_count;
    } else {
        // Full: the newest takes the oldest's place.
        slot = archive->m_oldest;
        archive->m_oldest = (archive->m_oldest + 1) % keep;
    }
    CNorqSerialDataPacket& packet = archive->m_ring[slot];
    packet.tag = tag;
    packet.bytes.assign(data, data + length);
    return true;
}

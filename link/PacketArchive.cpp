#include "link/PacketArchive.h"

std::size_t CNorqSerialDataPacketArchive::Size() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_packets.size();
}

std::vector<CNorqSerialDataPacket> CNorqSerialDataPacketArchive::Snapshot() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<CNorqSerialDataPacket> copy;
    copy.reserve(m_packets.size());
    for (const auto& packet : m_packets)
        copy.push_back(*packet);
    return copy;
}

bool AddToArchive(CNorqSerialDataPacketArchive* archive, uint32_t tag, const uint8_t* data, uint32_t length)
{
    if (!archive || !data || length < 1 || length > CNorqSerialDataPacketArchive::kMaxLength)
        return false;
    std::lock_guard<std::mutex> lock(archive->m_lock);
    std::unique_ptr<CNorqSerialDataPacket> packet = std::move(archive->m_spare);
    if (!packet)
        packet = std::make_unique<CNorqSerialDataPacket>();
    packet->tag = tag;
    packet->bytes.assign(data, data + length);
    archive->m_packets.push_back(std::move(packet));
    while (archive->m_packets.size() > CNorqSerialDataPacketArchive::kKeep) {
        archive->m_spare = std::move(archive->m_packets.front());
        archive->m_packets.pop_front();
    }
    return true;
}

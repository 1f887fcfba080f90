#include "link/PacketStateMachine.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "link/ByteOrder.h"

namespace {

std::mutex s_instanceLock;
std::unique_ptr<CPacketStateMachine> s_instance;

CPacketStateMachine* Self(void* self)
{
    return static_cast<CPacketStateMachine*>(self);
}

// A legacy packet's sum covers its whole length with the four checksum
// bytes counted as zero.
bool LegacySumMatches(const uint8_t* frame, uint32_t length, uint32_t sumAt)
{
    return ByteSumWithoutChecksum(frame, length, sumAt) == ReadLe32(frame + sumAt);
}

}  // namespace

CPacketStateMachine* CPacketStateMachine::Instance()
{
    std::lock_guard<std::mutex> lock(s_instanceLock);
    if (!s_instance)
        s_instance.reset(new CPacketStateMachine());
    return s_instance.get();
}

void CPacketStateMachine::DestroyInstance()
{
    std::lock_guard<std::mutex> lock(s_instanceLock);
    s_instance.reset();
}

CPacketStateMachine::CPacketStateMachine() : m_framer(std::make_unique<CCharacterStateMachine>())
{
    Init();
}

void CPacketStateMachine::Init()
{
    ownerFrameStart = &NoFrameStart;
    ownerLegacyA = &NoLegacyPacket;
    ownerLegacyB = &NoLegacyPacket;
    m_framer->SetContext(this);
    m_framer->SetStartCallback(&OnFrameStart);
    m_framer->SetFrameCallback(&OnFrameDetect);
    m_stop.store(false, std::memory_order_relaxed);
    m_stage = 0;
    m_subMessageCount = 0;
    m_payloadSum = 0;
    m_payloadLength = 0xFFFF;
}

void CPacketStateMachine::Resync()
{
    m_stop.store(true, std::memory_order_relaxed);
    m_resyncRequested.store(true, std::memory_order_release);
}

void CPacketStateMachine::ApplyResync()
{
    m_framer->ArchiveAndReset();
    m_stage = 0;
    m_subMessageCount = 0;
    m_payloadSum = 0;
    m_formatKnown = false;
    m_mode = kDetecting;
    m_chunkCount = 0;
    m_payloadLength = 0xFFFF;
    m_stop.store(true, std::memory_order_relaxed);
}

void CPacketStateMachine::ProcessBytes(const uint8_t* data, uint32_t length)
{
    if (m_resyncRequested.exchange(false, std::memory_order_acquire))
        ApplyResync();
    if (!data || length == 0)
        return;
    // A copy for debugging: a chunk too long for it is simply not kept.
    (void)AddToArchive(&m_archive, m_chunkCount, data, length);
    uint32_t done = 0;
    while (done < length) {
        const uint8_t* rest = data + done;
        const uint32_t left = length - done;
        switch (m_mode) {
        case kDetecting: done += FeedDetect(rest, left); break;
        case kLegacyA: done += FeedLegacy(rest, left, kLegacyA, kLegacyAMin); break;
        case kLegacyB: done += FeedLegacy(rest, left, kLegacyB, kLegacyBMin); break;
        case kContainer: done += FeedContainer(rest, left); break;
        default: done = length; break;
        }
    }
    ++m_chunkCount;
}

// Feeds bytes until a mode is chosen; returns how many were taken.
uint32_t CPacketStateMachine::FeedDetect(const uint8_t* data, uint32_t length)
{
    m_framer->SetFrameCallback(&OnFrameDetect);
    uint32_t i = 0;
    while (i < length && m_mode == kDetecting) {
        const uint32_t limit = m_framer->Length() < 2 ? 2 : ReadLe16(m_framer->Buffer());
        i += m_framer->ProcessRun(data + i, length - i, limit);
    }
    return i;
}

uint32_t CPacketStateMachine::FeedLegacy(const uint8_t* data, uint32_t length, uint8_t mode, uint32_t firstLimit)
{
    m_framer->SetFrameCallback(mode == kLegacyA ? &OnLegacyA : &OnLegacyB);
    uint32_t i = 0;
    while (i < length && m_mode == mode) {
        // The limit changes once the length word is in: stop the run there.
        const uint32_t held = m_framer->Length();
        const uint32_t limit = held < 2 ? firstLimit : ReadLe16(m_framer->Buffer());
        const uint32_t take = held < 2 ? std::min(length - i, 2 - held) : length - i;
        i += m_framer->ProcessRun(data + i, take, limit);
    }
    return i;
}

uint32_t CPacketStateMachine::FeedContainer(const uint8_t* data, uint32_t length)
{
    uint32_t i = 0;
    while (i < length && m_mode == kContainer) {
        if (m_stage == 0) {
            m_framer->SetFrameCallback(&OnContainerHeader);
            i += m_framer->ProcessRun(data + i, length - i, kHeaderLength);
        } else {
            m_framer->SetFrameCallback(&OnContainerPayload);
            i += m_framer->ProcessRun(data + i, length - i, m_payloadLength + kHeaderLength);
        }
    }
    return i;
}

void CPacketStateMachine::OnFrameStart(void* self, uint8_t state)
{
    CPacketStateMachine* m = Self(self);
    ++m->m_frameCount;
    // After a frame was abandoned (bad escape) nothing is pending: the new
    // frame must be read as a header, not as the old container's payload.
    if (state == CCharacterStateMachine::kHunting)
        m->m_stage = 0;
    if (m->ownerFrameStart)
        m->ownerFrameStart(m->owner);
}

uint8_t CPacketStateMachine::OnFrameDetect(void* self, const uint8_t* frame, uint32_t length, uint8_t state,
                                           FrameCall why)
{
    CPacketStateMachine* m = Self(self);
    if (why != FrameCall::kLimit || length < 2)
        return state;
    const uint32_t first = ReadLe16(frame);
    if (first == 0) {
        m->m_mode = kContainer;
        m->m_formatKnown = true;
        m->m_stage = 0;
        return CCharacterStateMachine::kInFrame;
    }
    // The sum depends only on the first `first` bytes: try once, when they
    // are all in. Each format only within its own lengths, so a packet is
    // never taken for a format that would then refuse it.
    if (length != first)
        return state;
    if (first >= kLegacyAMin && first <= kLegacyAMax && LegacySumMatches(frame, first, kLegacyASumAt)) {
        m->m_mode = kLegacyA;
        m->m_formatKnown = true;
        return OnLegacyA(self, frame, length, state, why);
    }
    if (first >= kLegacyBMin && first <= kLegacyBMax && LegacySumMatches(frame, first, kLegacyBSumAt)) {
        m->m_mode = kLegacyB;
        m->m_formatKnown = true;
        return OnLegacyB(self, frame, length, state, why);
    }
    return state;
}

uint8_t CPacketStateMachine::OnLegacyA(void* self, const uint8_t* frame, uint32_t length, uint8_t, FrameCall)
{
    CPacketStateMachine* m = Self(self);
    return m->HandleLegacy(frame, length, kLegacyAMin, kLegacyAMax, m->ownerLegacyA);
}

uint8_t CPacketStateMachine::OnLegacyB(void* self, const uint8_t* frame, uint32_t length, uint8_t, FrameCall)
{
    CPacketStateMachine* m = Self(self);
    return m->HandleLegacy(frame, length, kLegacyBMin, kLegacyBMax, m->ownerLegacyB);
}

uint8_t CPacketStateMachine::HandleLegacy(const uint8_t* frame, uint32_t length, uint32_t minLength,
                                          uint32_t maxLength, LegacyCallback callback)
{
    // The owner checks the checksum; here only the length is vouched for.
    if (length >= minLength && length <= maxLength && length == ReadLe16(frame)) {
        std::memcpy(m_legacyCopy.data(), frame, length);
        if (callback)
            callback(owner, m_legacyCopy.data(), length);
    }
    m_framer->ArchiveAndReset();
    return CCharacterStateMachine::kHunting;
}

uint8_t CPacketStateMachine::OnContainerHeader(void* self, const uint8_t* frame, uint32_t length, uint8_t state,
                                               FrameCall why)
{
    CPacketStateMachine* m = Self(self);
    // Only the arrival of the 14th byte counts; the same bytes seen again
    // when the frame closes must not be taken for a header a second time.
    if (why != FrameCall::kLimit || length != kHeaderLength)
        return state;
    const uint32_t payloadLength = ReadLe16(frame + 4);
    if (payloadLength + kHeaderLength > CCharacterStateMachine::kBufferSize)
        return CCharacterStateMachine::kHunting;  // cannot be buffered: wait for the next frame
    m->m_subMessageCount = ReadLe16(frame + 2);
    m->m_payloadLength = payloadLength;
    m->m_sequence = ReadLe32(frame + 6);
    m->m_payloadSum = ReadLe32(frame + 10);
    m->m_stage = 1;
    return CCharacterStateMachine::kInFrame;
}

uint8_t CPacketStateMachine::OnContainerPayload(void* self, const uint8_t* frame, uint32_t length, uint8_t,
                                                FrameCall)
{
    CPacketStateMachine* m = Self(self);
    if (length == m->m_payloadLength + kHeaderLength &&
        ByteSum(frame + kHeaderLength, m->m_payloadLength) == m->m_payloadSum) {
        m->m_stop.store(false, std::memory_order_relaxed);
        m->WalkSubMessages(frame, length);
    }
    m->m_stage = 0;
    // Bytes after a complete container are ignored until the next 0xAA.
    return CCharacterStateMachine::kInFrame;
}

void CPacketStateMachine::WalkSubMessages(const uint8_t* frame, uint32_t length)
{
    uint32_t position = kHeaderLength;
    for (uint32_t walked = 0; walked < m_subMessageCount && position < length; ++walked) {
        if (m_stop.load(std::memory_order_relaxed) || m_resyncRequested.load(std::memory_order_relaxed))
            break;
        // A sub-message must lie wholly inside the payload, header and data.
        if (length - position < kSubHeaderLength)
            break;
        const uint8_t* sub = frame + position;
        const uint16_t id = ReadLe16(sub);
        const uint16_t dataLength = ReadLe16(sub + 2);
        if (length - position - kSubHeaderLength < dataLength)
            break;
        const uint8_t* data = sub + kSubHeaderLength;
        if (ByteSum(data, dataLength) == ReadLe32(sub + 8) && dataLength != 0) {
            const CMessageHandler* handler = m_dispatcher.Lookup(id);
            if (handler && handler->Owner() && handler->Callback())
                handler->Callback()(handler->Owner(), data, dataLength);
        }
        position += kSubHeaderLength + dataLength;
    }
}

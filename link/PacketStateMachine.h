#pragma once
// Recognises which packet format the remote speaks (legacy fixed packets A
// or B, or id-tagged message containers), checks lengths and sums, and hands
// each checked sub-message to its handler. Runs on the packet-processor
// thread; only Resync may be called from another thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "link/CharacterStateMachine.h"
#include "link/MessageDispatcher.h"
#include "link/PacketArchive.h"

class CPacketStateMachine {
public:
    enum Mode : uint8_t { kDetecting = 0, kLegacyA = 2, kLegacyB = 3, kContainer = 4 };

    static constexpr uint32_t kHeaderLength = 14;
    static constexpr uint32_t kSubHeaderLength = 12;
    static constexpr uint32_t kLegacyAMin = 108, kLegacyAMax = 236, kLegacyASumAt = 104;
    static constexpr uint32_t kLegacyBMin = 164, kLegacyBMax = 292, kLegacyBSumAt = 160;

    using FrameStartCallback = void (*)(void* owner);
    using LegacyCallback = void (*)(void* owner, const uint8_t* packet, uint32_t length);

    // The process-wide instance, built on first call.
    static CPacketStateMachine* Instance();
    // Destroys the instance (the link's destructor; tests start afresh).
    static void DestroyInstance();

    CPacketStateMachine(const CPacketStateMachine&) = delete;
    CPacketStateMachine& operator=(const CPacketStateMachine&) = delete;
    virtual ~CPacketStateMachine() = default;

    void Init();
    // Starts detection afresh. Safe from any thread: the processing thread
    // applies it before its next chunk, and a dispatch in progress ends
    // after the current sub-message.
    void Resync();
    void ProcessBytes(const uint8_t* data, uint32_t length);

    CMessageDispatcher& Dispatcher() { return m_dispatcher; }

    // Set directly by the link before its processor thread starts.
    void* owner = nullptr;
    FrameStartCallback ownerFrameStart = &NoFrameStart;
    LegacyCallback ownerLegacyA = &NoLegacyPacket;
    LegacyCallback ownerLegacyB = &NoLegacyPacket;

    // For inspection (processing thread, or when it is idle).
    uint8_t DetectedMode() const { return m_mode; }
    bool FormatKnown() const { return m_formatKnown; }
    uint32_t ChunkCount() const { return m_chunkCount; }
    uint32_t FrameCount() const { return m_frameCount; }
    bool ResyncPending() const { return m_resyncRequested.load(std::memory_order_acquire); }
    const CCharacterStateMachine& Framer() const { return *m_framer; }
    const CNorqSerialDataPacketArchive& Archive() const { return m_archive; }

private:
    CPacketStateMachine();

    static void NoFrameStart(void*) {}
    static void NoLegacyPacket(void*, const uint8_t*, uint32_t) {}

    void ApplyResync();
    uint32_t FeedDetect(const uint8_t* data, uint32_t length);
    uint32_t FeedLegacy(const uint8_t* data, uint32_t length, uint8_t mode, uint32_t firstLimit);
    uint32_t FeedContainer(const uint8_t* data, uint32_t length);

    // Framer callbacks (context is the machine).
    static void OnFrameStart(void* self, uint8_t state);
    static uint8_t OnFrameDetect(void* self, const uint8_t* frame, uint32_t length, uint8_t state, FrameCall why);
    static uint8_t OnLegacyA(void* self, const uint8_t* frame, uint32_t length, uint8_t state, FrameCall why);
    static uint8_t OnLegacyB(void* self, const uint8_t* frame, uint32_t length, uint8_t state, FrameCall why);
    static uint8_t OnContainerHeader(void* self, const uint8_t* frame, uint32_t length, uint8_t state,
                                     FrameCall why);
    static uint8_t OnContainerPayload(void* self, const uint8_t* frame, uint32_t length, uint8_t state,
                                      FrameCall why);

    uint8_t HandleLegacy(const uint8_t* frame, uint32_t length, uint32_t minLength, uint32_t maxLength,
                         LegacyCallback callback);
    void WalkSubMessages(const uint8_t* frame, uint32_t length);

    std::unique_ptr<CCharacterStateMachine> m_framer;
    CMessageDispatcher m_dispatcher;
    CNorqSerialDataPacketArchive m_archive;
    std::array<uint8_t, kLegacyBMax> m_legacyCopy{};

    uint8_t m_mode = kDetecting;
    bool m_formatKnown = false;
    uint32_t m_chunkCount = 0;
    uint32_t m_frameCount = 0;
    uint8_t m_stage = 0;  // 0 expecting a container header, 1 its payload
    uint16_t m_subMessageCount = 0;
    uint32_t m_payloadLength = 0xFFFF;
    uint32_t m_sequence = 0;
    uint32_t m_payloadSum = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_resyncRequested{false};
};

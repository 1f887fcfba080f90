#pragma once
// Removes the 0xAA framing and the 0xA0 escapes from the remote's byte stream.
#include <cstdint>
#include <memory>

#include "link/PacketArchive.h"

// Why the frame callback is called: the frame reached the caller's length
// limit, the next 0xAA closed it early, or it filled the whole buffer.
enum class FrameCall : uint8_t { kLimit, kNextFrame, kOverflow };

class CCharacterStateMachine {
public:
    static constexpr uint32_t kBufferSize = 65536;
    static constexpr uint8_t kFrameMark = 0xAA;
    static constexpr uint8_t kEscape = 0xA0;

    enum State : uint8_t { kHunting = 0, kInFrame = 1, kAfterEscape = 2 };

    // Called at every 0xAA with the state before it.
    using StartCallback = void (*)(void* context, uint8_t state);
    // Called with the frame so far; for a kLimit call the result is the new
    // state, otherwise it is ignored.
    using FrameCallback = uint8_t (*)(void* context, const uint8_t* frame, uint32_t length, uint8_t state,
                                      FrameCall why);

    CCharacterStateMachine();
    CCharacterStateMachine(const CCharacterStateMachine&) = delete;
    CCharacterStateMachine& operator=(const CCharacterStateMachine&) = delete;
    virtual ~CCharacterStateMachine() = default;

    void SetContext(void* context) { m_context = context; }
    void SetStartCallback(StartCallback callback) { m_onStart = callback ? callback : &DefaultStart; }
    void SetFrameCallback(FrameCallback callback) { m_onFrame = callback ? callback : &DefaultFrame; }

    // Feeds one byte; the frame callback runs when the frame reaches `limit`
    // bytes. A limit above the buffer is refused and changes nothing.
    [[nodiscard]] bool ProcessChar(uint8_t byte, uint32_t limit);
    // As ProcessChar over the bytes, but returns early (with the count
    // taken) once a callback or a state change may call for a new limit.
    // Plain bytes inside a frame and noise between frames are taken in a
    // tight loop. Bytes fed with a refused limit are all taken, unchanged.
    uint32_t ProcessRun(const uint8_t* data, uint32_t count, uint32_t limit);
    // Archives the buffered bytes (if any) and hunts for the next 0xAA.
    void ArchiveAndReset();

    const uint8_t* Buffer() const { return m_buffer.get(); }
    uint32_t Length() const { return m_length; }
    uint8_t State() const { return m_state; }
    uint32_t ArchivedFrames() const { return m_archivedFrames; }
    const CNorqSerialDataPacketArchive& Archive() const { return m_archive; }

private:
    static void DefaultStart(void*, uint8_t) {}
    static uint8_t DefaultFrame(void*, const uint8_t*, uint32_t, uint8_t state, FrameCall) { return state; }

    void NextFrame();
    void Append(uint8_t byte, uint32_t limit);

    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_length = 0;
    uint8_t m_state = kHunting;
    void* m_context = nullptr;
    StartCallback m_onStart = &DefaultStart;
    FrameCallback m_onFrame = &DefaultFrame;
    uint32_t m_archivedFrames = 0;
    CNorqSerialDataPacketArchive m_archive;
};

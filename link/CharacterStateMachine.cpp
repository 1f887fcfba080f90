#include "link/CharacterStateMachine.h"

CCharacterStateMachine::CCharacterStateMachine() : m_buffer(std::make_unique<uint8_t[]>(kBufferSize)) {}

bool CCharacterStateMachine::ProcessChar(uint8_t byte, uint32_t limit)
{
    if (limit > kBufferSize)
        return false;

    if (m_length >= kBufferSize) {
        m_onFrame(m_context, m_buffer.get(), m_length, m_state, FrameCall::kOverflow);
        ArchiveAndReset();
    }

    switch (m_state) {
    case kHunting:
        if (byte == kFrameMark) {
            m_onStart(m_context, kHunting);
            m_state = kInFrame;
            m_length = 0;
        }
        break;
    case kInFrame:
        if (byte == kEscape)
            m_state = kAfterEscape;
        else if (byte == kFrameMark)
            NextFrame();
        else
            Append(byte, limit);
        break;
    case kAfterEscape:
        if (byte == 0x0A) {
            m_state = kInFrame;
            Append(kFrameMark, limit);
        } else if (byte == kEscape) {
            m_state = kInFrame;
            Append(kEscape, limit);
        } else if (byte == kFrameMark) {
            NextFrame();
        } else {
            m_state = kHunting;  // broken escape: the frame is dropped
        }
        break;
    default:
        ArchiveAndReset();
        break;
    }
    return true;
}

uint32_t CCharacterStateMachine::ProcessRun(const uint8_t* data, uint32_t count, uint32_t limit)
{
    if (limit > kBufferSize)
        return count;
    uint32_t i = 0;
    while (i < count) {
        const uint8_t byte = data[i];
        if (m_state == kInFrame && byte != kFrameMark && byte != kEscape && m_length < kBufferSize) {
            ++i;
            m_buffer[m_length++] = byte;
            if (m_length >= limit) {
                m_state = m_onFrame(m_context, m_buffer.get(), m_length, kInFrame, FrameCall::kLimit);
                return i;
            }
        } else if (m_state == kHunting && byte != kFrameMark && m_length < kBufferSize) {
            ++i;
        } else {
            // A refused limit: the byte is taken unchanged, as the header says.
            (void)ProcessChar(byte, limit);
            return i + 1;
        }
    }
    return i;
}

// An 0xAA inside a frame closes it and opens the next one.
void CCharacterStateMachine::NextFrame()
{
    m_onStart(m_context, m_state);
    if (m_length > 0)
        m_onFrame(m_context, m_buffer.get(), m_length, m_state, FrameCall::kNextFrame);
    m_length = 0;
    m_state = kInFrame;
}

void CCharacterStateMachine::Append(uint8_t byte, uint32_t limit)
{
    m_buffer[m_length++] = byte;
    if (m_length >= limit)
        m_state = m_onFrame(m_context, m_buffer.get(), m_length, kInFrame, FrameCall::kLimit);
}

void CCharacterStateMachine::ArchiveAndReset()
{
    if (m_length > 0) {
        // 1..kBufferSize bytes: always kept.
        (void)AddToArchive(&m_archive, m_archivedFrames, m_buffer.get(), m_length);
        ++m_archivedFrames;
    }
    m_state = kHunting;
    m_length = 0;
}

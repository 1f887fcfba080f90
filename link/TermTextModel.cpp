#include "link/TermTextModel.h"

void CTermTextModel::SetWindow(IMessagePoster* poster, WindowHandle window, uint32_t message)
{
    std::lock_guard lock(m_outputLock);
    m_poster = poster;
    m_window = window;
    m_message = message;
}

void CTermTextModel::SetShown(bool shown)
{
    std::lock_guard lock(m_outputLock);
    m_shown = shown ? 1 : 0;
}

bool CTermTextModel::IsShown() const
{
    std::lock_guard lock(m_outputLock);
    return m_shown == 1;
}

void CTermTextModel::AppendOutput(const char* text, std::size_t length)
{
    if (text == nullptr || length == 0)
        return;
    std::lock_guard lock(m_outputLock);
    std::string chunk;
    int counted = 0;
    auto close = [&] {
        if (m_chunks.size() >= kMaxChunks)
            m_chunks.pop_front();
        m_chunks.push_back(std::move(chunk));
        chunk.clear();
        counted = 0;
        PostOutputLocked();
    };
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        ++counted;
        if (c == '\n')
            chunk += "\r\n";
        else
            chunk += c;
        if (counted > kChunkCharacters)
            close();
    }
    if (!chunk.empty())
        close();
}

void CTermTextModel::PostOutputLocked()
{
    if (m_poster == nullptr || m_window == 0 || m_message == 0)
        return;
    std::string joined;
    for (const auto& chunk : m_chunks)
        joined += chunk;
    auto* text = new std::string(std::move(joined));
    auto* selection = new TermSelection();
    PostedMessage message;
    message.target = m_window;
    message.message = m_message;
    message.wParam = reinterpret_cast<std::uintptr_t>(text);
    message.lParam = reinterpret_cast<std::intptr_t>(selection);
    if (!m_poster->Post(message)) {
        delete text;
        delete selection;
    }
}

std::vector<std::string> CTermTextModel::Chunks() const
{
    std::lock_guard lock(m_outputLock);
    return {m_chunks.begin(), m_chunks.end()};
}

void CTermTextModel::ClearOutput()
{
    std::lock_guard lock(m_outputLock);
    m_chunks.clear();
}

void CTermTextModel::AppendReceiveBuffer(const char* text, std::size_t length)
{
    if (text == nullptr || length == 0)
        return;
    // The buffer keeps the newest characters, so a long text gives its end.
    if (length > kReceiveBufferLimit) {
        text += length - kReceiveBufferLimit;
        length = kReceiveBufferLimit;
    }
    std::lock_guard lock(m_receiveLock);
    m_receive.append(text, length);
    if (m_receive.size() > kReceiveBufferLimit)
        m_receive.erase(0, m_receive.size() - kReceiveBufferLimit);
}

std::string CTermTextModel::GetReceiveBuffer() const
{
    std::lock_guard lock(m_receiveLock);
    return m_receive;
}

void CTermTextModel::ClearReceiveBuffer()
{
    std::lock_guard lock(m_receiveLock);
    m_receive.clear();
}

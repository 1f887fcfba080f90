#include "view/qt/ViewLaunchHost.h"

#include "platform/qt/QtShellLauncher.h"

void EndLaunchBox(LaunchBoxPost* post)
{
    if (post == nullptr)
        return;
    post->closed->Set();
    delete post;
}

CViewLaunchHost::CViewLaunchHost(std::shared_ptr<IShellLauncher> shell, IMessagePoster& poster,
                                 WindowHandle target, uint32_t message)
    : m_shell(std::move(shell)), m_poster(&poster), m_target(target), m_message(message)
{
}

int CViewLaunchHost::Open(const std::string& target)
{
    return m_shell->OpenDocument(target);
}

void CViewLaunchHost::ShowBox(const std::string& text, const std::string& caption, bool wait)
{
    auto closed = std::make_shared<CEvent>(CEvent::Reset::Manual);
    auto* post = new LaunchBoxPost{text, caption, closed};
    bool posted = false;
    {
        // Held across the post, so that Close cannot pass it.
        std::lock_guard lock(m_mutex);
        if (m_poster != nullptr)
            posted = m_poster->Post({m_target, m_message, 0, reinterpret_cast<std::intptr_t>(post)});
    }
    if (!posted) {
        delete post;
        return;
    }
    if (wait)
        (void)closed->Wait(CEvent::kInfinite);
}

void CViewLaunchHost::Close()
{
    std::lock_guard lock(m_mutex);
    m_poster = nullptr;
}

std::shared_ptr<CViewLaunchHost> MakeLaunchHost(std::shared_ptr<IShellLauncher> shell, IMessagePoster& poster,
                                                WindowHandle view, uint32_t message)
{
    if (!shell)
        shell = std::make_shared<CQtShellLauncher>();
    return std::make_shared<CViewLaunchHost>(std::move(shell), poster, view, message);
}

#pragma once
// What the view's launch threads use: the shell, and boxes shown over the
// view on the UI thread through the poster. A thread may outlive the view:
// once the view has closed the host, its boxes are dropped and a thread
// that waits for one goes on.
#include <memory>
#include <mutex>
#include <string>

#include "platform/Event.h"
#include "platform/ShellLauncher.h"
#include "platform/WindowMessages.h"
#include "view/OutsideLaunches.h"

// The payload of a box's post. Whoever ends it (the view's handler after
// the box, or the poster dropping it unread) sets `closed`.
struct LaunchBoxPost {
    std::string text;
    std::string caption;
    std::shared_ptr<CEvent> closed;
};

// Frees a box's payload and lets its thread go on.
void EndLaunchBox(LaunchBoxPost* post);

class CViewLaunchHost : public ILaunchHost {
public:
    CViewLaunchHost(std::shared_ptr<IShellLauncher> shell, IMessagePoster& poster, WindowHandle target,
                    uint32_t message);

    int Open(const std::string& target) override;
    void ShowBox(const std::string& text, const std::string& caption, bool wait) override;
    // On the UI thread, before the view leaves its poster.
    void Close();

private:
    const std::shared_ptr<IShellLauncher> m_shell;
    std::mutex m_mutex;
    IMessagePoster* m_poster;  // null once closed
    const WindowHandle m_target;
    const uint32_t m_message;
};

// The view's host: `shell`, or the desktop's when that is null.
std::shared_ptr<CViewLaunchHost> MakeLaunchHost(std::shared_ptr<IShellLauncher> shell, IMessagePoster& poster,
                                                WindowHandle view, uint32_t message);

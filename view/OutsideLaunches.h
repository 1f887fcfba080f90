#pragma once
// The Help commands that open something outside the program: the manual,
// the monitoring guidelines, the support page and the remote-support
// program. Each runs on a short-lived thread of its own, so that a slow
// desktop never holds up the display, and explains a failure in a box and
// in the event log.
#include <memory>
#include <string>

enum class LaunchKind { Manual, Guidelines, SupportPage, QuickSupport };

// The maker's web site; only the paths are fixed.
inline constexpr char kNorqWebHost[] = "https://www.norq-technology.example";
inline constexpr char kSupportPath[] = "/downloads_support.htm";
inline constexpr char kQuickSupportPath[] = "/customers/TeamViewerQS.exe";

inline constexpr char kManualFile[] = "Quorin Manual.htm";
inline constexpr char kGuidelinesFile[] = "MonitoringGuidelines.htm";
inline constexpr char kQuickSupportFile[] = "TeamViewerQS.exe";
inline constexpr char kSupportUrlFile[] = "Support_URL.txt";

// What a launch thread may use; every call is safe from any thread.
class ILaunchHost {
public:
    virtual ~ILaunchHost() = default;
    // The shell's code for opening a document or address.
    virtual int Open(const std::string& target) = 0;
    // A warning box over the view, shown on the UI thread. With `wait`,
    // returns once it was closed (or the view is gone).
    virtual void ShowBox(const std::string& text, const std::string& caption, bool wait) = 0;
};

// The text for a failed shell result (32 or less) of a launch.
std::string ShellErrorText(LaunchKind kind, int result);

// The address "Support_URL.txt" names: its first word, when that is a web
// address; `fromFile` tells whether the file gave it.
struct SupportAddress {
    std::string address;
    bool fromFile = false;
};
// Reads the file at `path`; a missing file, or a first word that is not an
// http or https address (logged), gives the built-in page.
SupportAddress ReadSupportAddress(const std::string& path);

// The thread procedures: `folder` is the working directory of the command.
// Each returns 1.
namespace LaunchThreads {
int IeManThread(const std::string& folder, ILaunchHost& host);
int IeGuidelinesThread(const std::string& folder, ILaunchHost& host);
int IeNorqThread(const std::string& folder, ILaunchHost& host);
int QuickSupportThread(const std::string& folder, ILaunchHost& host);
}  // namespace LaunchThreads

// Starts the launch on a named thread that nobody waits for; it keeps the
// host for as long as it runs.
void StartLaunchThread(LaunchKind kind, std::string folder, std::shared_ptr<ILaunchHost> host);

#pragma once
// The update check: the published version file against our own version,
// the boxes that report it, and the weekly check at start-up.
//
// The check never blocks the window thread: CheckForUpdates starts the
// download and returns a handle; the answer and the boxes come later on the
// same thread. The owner keeps the handle; dropping it abandons the check
// without a box.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/HttpClient.h"
#include "platform/OleDate.h"
#include "platform/ProfileStore.h"
#include "platform/Prompter.h"
#include "platform/ShellLauncher.h"

inline constexpr char kUpdateCheckCaption[] = "Check For Updates";
inline constexpr char kUpToDateText[] = "Your version of Quorin is up to date.";
inline constexpr char kVersionFileFailedText[] =
    "Unable to read version file from Norq Website.  Please check your internet connection.";
inline constexpr char kUpdateAgent[] = "My Session";
// The stored date of the last weekly check, in local time.
inline constexpr char kLastCheckDateFormat[] = "%Y-%m-%d %H:%M:%S";
// The download page opens with the desktop's URL handler.
inline constexpr char kUrlOpener[] = "xdg-open";

// True when `text`, blanks at both ends removed, is exactly "d.dd.ddd" or
// "dd.dd.ddd" within eight characters.
[[nodiscard]] bool ParseVersionText(const std::string& text, int& major, int& minor, int& build);

// Major, then minor, then build.
bool IsNewerVersion(const int published[3], const int own[3]);

// The question that offers the download page.
std::string NewerVersionText(const std::string& downloadUrl, const int published[3], const int own[3]);

enum class UpdateOutcome { newer, upToDate, failed };

// What an answer means: anything but a read with the final status 200 has
// failed (an error page must not read "up to date"); a text of another form
// is not newer.
UpdateOutcome JudgeVersionAnswer(const HttpResult& answer, const int own[3], int published[3]);

struct UpdateCheckSettings {
    std::string versionUrl;    // "Quorin_version.txt"
    std::string downloadUrl;   // "downloads_support.htm"
    uint32_t timeoutMs = 15000;
};

// The compiled-in addresses (CMake cache variables).
UpdateCheckSettings DefaultUpdateCheckSettings();

// A running or finished check. Destroying it abandons the download; no box
// follows.
class CUpdateCheck {
public:
    struct Services {
        IHttpClient& http;
        IPrompter& prompter;
        IShellLauncher& launcher;
    };

    // `ownVersion`: the first, second and fourth numbers of "FileVersion".
    CUpdateCheck(const Services& services, const UpdateCheckSettings& settings, const int ownVersion[3],
                 bool silent);
    ~CUpdateCheck();
    CUpdateCheck(const CUpdateCheck&) = delete;
    CUpdateCheck& operator=(const CUpdateCheck&) = delete;

    bool Finished() const { return m_finished; }

private:
    void OnAnswer(const HttpResult& answer);

    Services m_services;
    UpdateCheckSettings m_settings;
    int m_own[3];
    bool m_silent;
    bool m_finished = false;
    std::unique_ptr<IHttpRequest> m_request;
};

// Starts a check; the caller keeps the handle while it runs.
std::unique_ptr<CUpdateCheck> CheckForUpdates(const CUpdateCheck::Services& services,
                                              const UpdateCheckSettings& settings, const int ownVersion[3],
                                              bool silent);

// The date as stored, or invalid when `text` is not exactly in that form.
COleDate ParseLastCheckDate(const std::string& text);

// The weekly check: when the stored date is at least seven days before
// `now` (a missing one counts as exactly seven), `startSilentCheck` runs
// and `now` is stored, whatever the check's outcome. A stored text that is
// no date ends it. True when the check was started.
bool AutoCheckForUpdates(IProfileStore* store, const COleDate& now, const std::function<void()>& startSilentCheck);

#include "app/UpdateCheck.h"

#include <cstdio>
#include <regex>

#include "app/NorqEventLogger.h"
#include "app/SettingsNames.h"
#include "app/UpdateAddresses.h"
#include "app/ValueHelpers.h"

namespace {

constexpr char kTag[] = "CheckForUpdates";
constexpr std::size_t kVersionFileMaxBytes = 1024;

} // namespace

bool ParseVersionText(const std::string& text, int& major, int& minor, int& build)
{
    const std::string trimmed(TrimSpaces(text));
    if (trimmed.size() != 8)
        return false;
    static const std::regex pattern(R"(^(\d\d?)\.(\d\d)\.(\d\d\d)$)");
    std::smatch match;
    if (!std::regex_match(trimmed, match, pattern) || match.size() != 4)
        return false;
    major = std::stoi(match[1].str());
    minor = std::stoi(match[2].str());
    build = std::stoi(match[3].str());
    return true;
}

bool IsNewerVersion(const int published[3], const int own[3])
{
    for (int i = 0; i < 3; ++i)
        if (published[i] != own[i])
            return published[i] > own[i];
    return false;
}

std::string NewerVersionText(const std::string& downloadUrl, const int published[3], const int own[3])
{
    std::string text = "A newer version of Quorin is available at " + downloadUrl + ".\n\n";
    char line[96];
    std::snprintf(line, sizeof line, "Current version:\t %d.%d.%d\n", published[0], published[1], published[2]);
    text += line;
    std::snprintf(line, sizeof line, "Your version:\t %d.%d.%d\n", own[0], own[1], own[2]);
    text += line;
    text += "\n\n Do you want to open the website now?";
    return text;
}

UpdateOutcome JudgeVersionAnswer(const HttpResult& answer, const int own[3], int published[3])
{
    if (!answer.transferred || answer.status != 200)
        return UpdateOutcome::failed;
    if (!ParseVersionText(answer.body, published[0], published[1], published[2]))
        return UpdateOutcome::upToDate;
    return IsNewerVersion(published, own) ? UpdateOutcome::newer : UpdateOutcome::upToDate;
}

UpdateCheckSettings DefaultUpdateCheckSettings()
{
    UpdateCheckSettings settings;
    settings.versionUrl = kQuorinVersionFileUrl;
    settings.downloadUrl = kQuorinDownloadPageUrl;
    return settings;
}

CUpdateCheck::CUpdateCheck(const Services& services, const UpdateCheckSettings& settings, const int ownVersion[3],
                           bool silent)
    : m_services(services), m_settings(settings), m_own{ownVersion[0], ownVersion[1], ownVersion[2]},
      m_silent(silent)
{
    HttpRequestOptions options;
    options.userAgent = kUpdateAgent;
    options.maxBytes = kVersionFileMaxBytes;
    options.timeoutMs = settings.timeoutMs;
    m_request = m_services.http.Get(settings.versionUrl, options,
                                    [this](const HttpResult& answer) { OnAnswer(answer); });
}

CUpdateCheck::~CUpdateCheck() = default;

void CUpdateCheck::OnAnswer(const HttpResult& answer)
{
    m_finished = true;
    int published[3] = {};
    const UpdateOutcome outcome = JudgeVersionAnswer(answer, m_own, published);
    if (outcome == UpdateOutcome::failed)
        LogEvent(kTag, "The version file could not be read from %s: %s", m_settings.versionUrl.c_str(),
                 answer.transferred ? ("HTTP status " + std::to_string(answer.status)).c_str()
                                    : answer.error.c_str());
    // The boxes are modal and the owner may drop this check meanwhile:
    // nothing below touches a member after a box.
    IPrompter& prompter = m_services.prompter;
    IShellLauncher& launcher = m_services.launcher;
    const std::string downloadUrl = m_settings.downloadUrl;
    switch (outcome) {
    case UpdateOutcome::newer:
        if (prompter.MessageBox(NewerVersionText(downloadUrl, published, m_own), kUpdateCheckCaption,
                                kMbYesNo | kMbIconInformation) == kIdYes) {
            const int started = launcher.StartProgram(kUrlOpener, {downloadUrl}, {});
            if (!ShellSucceeded(started))
                LogEvent(kTag, "The download page %s could not be opened (%d).", downloadUrl.c_str(), started);
        }
        break;
    case UpdateOutcome::upToDate:
        if (!m_silent)
            prompter.MessageBox(kUpToDateText, kUpdateCheckCaption, kMbOk);
        break;
    case UpdateOutcome::failed:
        if (!m_silent)
            prompter.MessageBox(kVersionFileFailedText, kUpdateCheckCaption, kMbOk | kMbIconWarning);
        break;
    }
}

std::unique_ptr<CUpdateCheck> CheckForUpdates(const CUpdateCheck::Services& services,
                                              const UpdateCheckSettings& settings, const int ownVersion[3],
                                              bool silent)
{
    return std::make_unique<CUpdateCheck>(services, settings, ownVersion, silent);
}

COleDate ParseLastCheckDate(const std::string& text)
{
    // "yyyy-mm-dd hh:mm:ss", nothing else.
    static constexpr char kShape[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof kShape - 1)
        return {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == '0' ? !digit : text[i] != kShape[i])
            return {};
    }
    auto number = [&text](std::size_t at, std::size_t length) { return std::stoi(text.substr(at, length)); };
    return COleDate::FromDate(number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2),
                              number(17, 2));
}

bool AutoCheckForUpdates(IProfileStore* store, const COleDate& now, const std::function<void()>& startSilentCheck)
{
    const std::string sevenDaysAgo = now.AddDays(-7).Format(kLastCheckDateFormat);
    const std::string stored =
        store != nullptr ? store->GetProfileString(kSectionSettings, kValueLastCheckForUpdates, sevenDaysAgo)
                         : sevenDaysAgo;
    const COleDate last = ParseLastCheckDate(stored);
    if (!last.IsValid())
        return false;
    const std::optional<double> days = COleDate::SpanDays(last, now);
    if (!days || *days < 7.0)
        return false;
    startSilentCheck();
    if (store != nullptr
        && !store->WriteProfileString(kSectionSettings, kValueLastCheckForUpdates, now.Format(kLastCheckDateFormat)))
        LogEvent(kTag, "The date of the update check could not be stored.");
    return true;
}

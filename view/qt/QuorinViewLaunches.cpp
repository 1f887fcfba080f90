// The Help commands that open the manual, the guidelines, the support page
// and the remote-support program, each on a thread of its own; and the
// export and import of the settings files on the UI thread.
#include <filesystem>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "platform/qt/QtFileChooser.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewLaunchHost.h"

namespace {

constexpr char kExportTag[] = "CQuorinView::OnExportSettings";
constexpr char kImportTag[] = "CQuorinView::OnImportSettings";

std::string WorkingFolder()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

}  // namespace

void CQuorinView::StartLaunch(LaunchKind kind)
{
    StartLaunchThread(kind, WorkingFolder(), m_launchHost);
}

void CQuorinView::OnViewManual()
{
    StartLaunch(LaunchKind::Manual);
}

void CQuorinView::OnSupportWebsite()
{
    StartLaunch(LaunchKind::SupportPage);
}

void CQuorinView::OnMonitoringGuidelines()
{
    StartLaunch(LaunchKind::Guidelines);
}

void CQuorinView::OnQuickSupport()
{
    StartLaunch(LaunchKind::QuickSupport);
}

void CQuorinView::ShowLaunchBox(CPostedEvent& event)
{
    auto* post = reinterpret_cast<LaunchBoxPost*>(event.TakePayload().lParam);
    Prompter().MessageBox(post->text, post->caption, kMbOk | kMbIconWarning);
    EndLaunchBox(post);
}

IFileChooser& CQuorinView::FileChooser()
{
    if (m_services.fileChooser != nullptr)
        return *m_services.fileChooser;
    if (!m_own.ownFileChooser)
        m_own.ownFileChooser = std::make_unique<CQtFileChooser>(this);
    return *m_own.ownFileChooser;
}

namespace {

FileRequest SettingsFileRequest(const std::string& lastPath)
{
    FileRequest request;
    request.types = {{"Settings Type Files", "*.Quorin"}, {"All Files", "*"}};
    request.defaultSuffix = "Quorin";
    if (!lastPath.empty())
        request.startFolder = std::filesystem::path(lastPath).parent_path().string();
    return request;
}

}  // namespace

void CQuorinView::OnExportSettings()
{
    const auto path = FileChooser().ChooseFileToSave(SettingsFileRequest(m_settingsFilePath));
    if (!path)
        return;
    m_settingsFilePath = *path;
    if (m_app.BackupSettings("HKCU", kProgramKey, *path))
        return;
    LogEvent(kExportTag, "The settings could not be exported to %s.", path->c_str());
    Prompter().MessageBox("The settings could not be written to the file\n" + *path +
                              "\n\nNothing was written; a file already there is left as it was.",
                          "Export Settings Error", kMbOk | kMbIconWarning);
}

void CQuorinView::OnImportSettings()
{
    const auto path = FileChooser().ChooseFileToOpen(SettingsFileRequest(m_settingsFilePath));
    if (!path)
        return;
    m_settingsFilePath = *path;
    if (!m_app.RestoreSettings("HKCU", *path, kProgramKey)) {
        LogEvent(kImportTag, "The settings could not be imported from %s; they are unchanged.", path->c_str());
        Prompter().MessageBox("The settings could not be read from the file\n" + *path +
                                  "\n\nIt is missing, unreadable or not a Quorin settings file. The settings "
                                  "were not changed.",
                              "Import Settings Error", kMbOk | kMbIconWarning);
        return;
    }
    m_app.LoadSettings();
    m_app.m_storedConfig = m_app.m_config;
}

#include "platform/qt/QtShellLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QUrl>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// QProcess reports a failed exec as "execv: " and the system's text for the
// error; the same text, made here, tells which one it was.
bool FailedWith(const QString& errorString, int error)
{
    return errorString.endsWith(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

int CQtShellLauncher::StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                   const std::string& folder)
{
    const QString folderPath = QString::fromStdString(folder);
    if (!folderPath.isEmpty() && !QFileInfo(folderPath).isDir())
        return kShellPathNotFound;

    // A relative path lies in the folder; a bare name not found there is
    // looked for on PATH.
    QString program = QString::fromStdString(file);
    if (QFileInfo(program).isRelative() && !folderPath.isEmpty()
        && QFileInfo::exists(folderPath + QLatin1Char('/') + program)) {
        program = folderPath + QLatin1Char('/') + program;
    } else if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            return kShellFileNotFound;
        program = found;
    }
    const QFileInfo info(program);
    if (!info.exists())
        return kShellFileNotFound;
    if (info.isDir() || ::access(QFile::encodeName(program).constData(), X_OK) != 0)
        return kShellAccessDenied;

    QStringList args;
    for (const std::string& argument : arguments)
        args << QString::fromStdString(argument);
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    if (!folderPath.isEmpty())
        process.setWorkingDirectory(folderPath);
    if (process.startDetached())
        return kShellStarted;

    const QString why = process.errorString();
    if (FailedWith(why, ENOENT))
        return kShellFileNotFound;
    if (FailedWith(why, EACCES) || FailedWith(why, EPERM))
        return kShellAccessDenied;
    if (FailedWith(why, ENOEXEC))
        return kShellBadFormat;
    if (FailedWith(why, ENOMEM) || FailedWith(why, EAGAIN))
        return kShellOutOfResources;
    return kShellNoAssociation;
}

int CQtShellLauncher::OpenDocument(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    QUrl url;
    if (text.contains(QLatin1String("://"))) {
        url = QUrl(text, QUrl::StrictMode);
        if (!url.isValid())
            return kShellFileNotFound;
    } else {
        const QFileInfo info(QFile::decodeName(target.c_str()));
        if (!info.absoluteDir().exists())
            return kShellPathNotFound;
        if (!info.exists())
            return kShellFileNotFound;
        if (info.isDir() || !info.isReadable())
            return kShellAccessDenied;
        if (info.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0)
            return kShellBadFormat;
        url = QUrl::fromLocalFile(info.absoluteFilePath());
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return kShellOutOfResources;
    // The desktop services belong to the UI thread.
    bool opened = false;
    const auto open = [&] { opened = QDesktopServices::openUrl(url); };
    if (QThread::currentThread() == app->thread())
        open();
    else if (!QMetaObject::invokeMethod(app, open, Qt::BlockingQueuedConnection))
        return kShellOutOfResources;
    return opened ? kShellStarted : kShellNoAssociation;
}

#include "platform/qt/QtFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringList>

std::optional<std::string> CQtFileChooser::ChooseFileToSave(const FileRequest& request)
{
    return Choose(request, true);
}

std::optional<std::string> CQtFileChooser::ChooseFileToOpen(const FileRequest& request)
{
    return Choose(request, false);
}

std::optional<std::string> CQtFileChooser::Choose(const FileRequest& request, bool save)
{
    QStringList filters;
    for (const FileType& type : request.types)
        filters << QString::fromStdString(type.label + " (" + type.pattern + ")");
    const QString folder =
        request.startFolder.empty() ? QDir::currentPath() : QFile::decodeName(request.startFolder.c_str());
    QFileDialog dialog(m_parent, save ? QStringLiteral("Save As") : QStringLiteral("Open"), folder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Saving asks before it replaces a file (the dialog's default); opening
    // takes only a file that exists.
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

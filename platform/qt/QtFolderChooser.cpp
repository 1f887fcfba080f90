#include "platform/qt/QtFolderChooser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

std::optional<std::string> CQtFolderChooser::ChooseFolder(const std::string& title, const std::string& startFolder)
{
    QWidget* owner = m_parent;
    if (owner == nullptr)
        owner = QApplication::activeModalWidget();
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    const QString folder = QFileDialog::getExistingDirectory(owner, QString::fromStdString(title),
                                                             QFile::decodeName(startFolder.c_str()),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return QFile::encodeName(folder).toStdString();
}

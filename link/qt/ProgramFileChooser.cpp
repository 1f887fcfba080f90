#include "link/qt/ProgramFileChooser.h"

#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr char kInstruction[] =
    "Warning: This will program flash....Select 'Cancel' to exit.\r\nTo program select a file with extension "
    "'.rmt' then 'OK'.";

}  // namespace

CProgramFileChooser::CProgramFileChooser(const QString& folder, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Program Remote"));
    m_instruction = new QLabel(QString::fromLatin1(kInstruction).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                               this);
    m_instruction->setWordWrap(true);
    QFont bold = m_instruction->font();
    bold.setBold(true);
    m_instruction->setFont(bold);

    // The file list lives inside this window, under the instruction.
    m_files = new QFileDialog(this, QString(), folder, QStringLiteral("Remote programs (*.rmt);;All files (*)"));
    m_files->setWindowFlags(Qt::Widget);
    m_files->setOption(QFileDialog::DontUseNativeDialog);
    // Only a choice: no new folders, no renaming or deleting in here.
    m_files->setOption(QFileDialog::ReadOnly);
    m_files->setFileMode(QFileDialog::ExistingFile);
    m_files->setAcceptMode(QFileDialog::AcceptOpen);
    // The button the instruction names.
    m_files->setLabelText(QFileDialog::Accept, QStringLiteral("OK"));
    connect(m_files, &QDialog::accepted, this, &QDialog::accept);
    connect(m_files, &QDialog::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_instruction);
    layout->addWidget(m_files);
}

std::optional<std::string> CProgramFileChooser::ChosenFile() const
{
    if (result() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = m_files->selectedFiles();
    if (files.isEmpty() || files.front().isEmpty())
        return std::nullopt;
    return files.front().toStdString();
}

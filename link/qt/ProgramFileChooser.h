#pragma once
// The choice of a remote's program file. The warning and the instruction
// stand above the file list, where they can be read, rather than in the
// window's caption.
#include <QDialog>
#include <optional>
#include <string>

class QFileDialog;
class QLabel;

class CProgramFileChooser : public QDialog {
    Q_OBJECT
public:
    // Opens on `folder`, offering ".rmt" files first.
    explicit CProgramFileChooser(const QString& folder, QWidget* parent = nullptr);

    QLabel* Instruction() const { return m_instruction; }
    QFileDialog* Files() const { return m_files; }
    // The file chosen by OK; none after Cancel.
    std::optional<std::string> ChosenFile() const;

private:
    QLabel* m_instruction = nullptr;
    QFileDialog* m_files = nullptr;
};

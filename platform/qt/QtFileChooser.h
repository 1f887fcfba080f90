#pragma once
// The file dialogs as QFileDialog offers them.
#include "platform/FileChooser.h"

class QWidget;

class CQtFileChooser : public IFileChooser {
public:
    explicit CQtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override;
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override;

private:
    std::optional<std::string> Choose(const FileRequest& request, bool save);

    QWidget* m_parent;
};

#pragma once
// The folder browser as QFileDialog offers it.
#include "platform/FolderChooser.h"

class QWidget;

class CQtFolderChooser : public IFolderChooser {
public:
    // Without a parent the browser opens over the window in front (the
    // modal dialog that asks, as a rule).
    explicit CQtFolderChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) override;

private:
    QWidget* m_parent;
};

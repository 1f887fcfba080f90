#pragma once
// Message boxes on the UI thread with QMessageBox.
#include "platform/Prompter.h"

class QWidget;

class CQtPrompter : public IPrompter {
public:
    explicit CQtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    int MessageBox(const std::string& text, const std::string& caption, uint32_t type) override;

private:
    QWidget* m_parent;
};

#pragma once
// The service terminal's window (dialog 670), a mirror of CTK_TermDlg: it
// shows the state kept there and hands every action to it. It is made once
// and lives hidden between uses, so that text posted to it late is still
// received and freed.
#include <QDialog>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "link/TermDlg.h"
#include "platform/qt/QtMessagePoster.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class CTK_TermDlgWnd : public QDialog {
    Q_OBJECT
public:
    // Text reaches the window as `newStringMessage` posts through
    // `poster`; the terminal's boxes are shown through `prompter`.
    CTK_TermDlgWnd(CTK_TermDlg& terminal, IPrompter& prompter, CQtMessagePoster& poster, uint32_t newStringMessage,
                   QWidget* parent = nullptr);
    ~CTK_TermDlgWnd() override;

    // Lends the terminal the window and runs its initialisation; then the
    // caller runs the dialog.
    void Open();
    // Handler of "CTK_TERMDLG_NEWSTRING": shows the text while the terminal
    // is shown; frees both in every case.
    void OnNewString(std::string* text, TermSelection* selection);

    // The program file chooser; by default a file dialog in the current
    // directory.
    void SetFileChooser(std::function<std::optional<std::string>()> chooser) { m_chooser = std::move(chooser); }

    QWidget* Control(int id) const;
    QPlainTextEdit* OutputBox() const { return m_output; }
    CTK_TermDlg& Terminal() const { return m_terminal; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void Build();
    void Sync();
    std::optional<std::string> ChooseFile();

    CTK_TermDlg& m_terminal;
    IPrompter& m_prompter;
    CQtMessagePoster& m_poster;
    uint32_t m_newStringMessage;
    WindowHandle m_handle = 0;
    std::function<std::optional<std::string>()> m_chooser;
    std::map<int, QWidget*> m_controls;
    QPlainTextEdit* m_output = nullptr;
    QLineEdit* m_input = nullptr;
    QComboBox* m_rows = nullptr;
};

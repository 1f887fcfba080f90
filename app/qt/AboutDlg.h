#pragma once
// Dialog 190, the about box: the program and its version (1037), the
// connected remote with its software text (1050) and the legal notice
// (1353), all shown as plain text.
#include <QDialog>

#include "app/AboutTexts.h"

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(AboutInputs inputs, QWidget* parent = nullptr);

    // Fills the three texts from the inputs.
    void OnInitDialog();

    const AboutTexts& Texts() const { return m_texts; }

private:
    AboutInputs m_inputs;
    AboutTexts m_texts;
    QLabel* m_productLine;
    QLabel* m_remoteText;
    QLabel* m_legalNotice;
};

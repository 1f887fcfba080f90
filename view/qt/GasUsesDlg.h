#pragma once
// "Airway Adaptor Status" (dialog 620): the remaining uses of the gas
// probe's airway adaptor, how to reorder, and the reset after a new one.
// A mirror of CGasUsesForm.
#include <QDialog>
#include <string>

#include "view/GasUses.h"

class QLabel;
class QLineEdit;
class QRadioButton;

class CGasUses : public QDialog {
    Q_OBJECT
public:
    // `reorderPath`: the reorder file, read at the initialisation.
    CGasUses(int32_t uses, const std::string& reorderPath, QWidget* parent = nullptr);

    // The count as the dialog leaves it: decreased, or 20 after "ADAPTOR
    // REPLACED" and OK; Escape keeps the decreased count.
    int32_t Uses() const { return m_form.Uses(); }
    const CGasUsesForm& Form() const { return m_form; }
    QRadioButton* ReplacedRadio() const { return m_replaced; }
    QRadioButton* LaterRadio() const { return m_later; }

public slots:
    void accept() override;

private:
    CGasUsesForm m_form;
    QLineEdit* m_remaining = nullptr;
    QLabel* m_reorder = nullptr;
    QRadioButton* m_replaced = nullptr;
    QRadioButton* m_later = nullptr;
};

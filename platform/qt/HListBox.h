#pragma once
// A list whose horizontal scroll range follows the widest text given to it.
#include <QListWidget>

class CHListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CHListBox(QWidget* parent = nullptr);

    // Widens the scroll range for the text when it is wider than any so far;
    // the caller adds the text to the list itself.
    void FitTextExtent(const QString& text);
    int GetHorizontalExtent() const { return m_nMaxTextExtent; }

protected:
    void updateGeometries() override;

private:
    int m_nMaxTextExtent = 0;
};

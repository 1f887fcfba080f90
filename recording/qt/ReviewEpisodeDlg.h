#pragma once
// "Wireless Remote Review Episode": the episodes of this run, oldest first;
// the chosen one opens in a review program.
#include <QDialog>
#include <vector>

#include "recording/LiveRecording.h"

class CHListBox;
class QPushButton;

class CReviewEpisodeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReviewEpisodeDlg(QWidget* parent = nullptr);

    // Fills the list from `episodes` and selects the first line; with
    // `autoSelect` the dialog ends at once as OK.
    void OnInitDialog();
    void OnOK();
    void OnCancel();

    CHListBox* List() const { return m_list; }
    QPushButton* ReviewButton() const { return m_review; }
    // True once OK or Cancel ended it (also before it was ever shown).
    bool Ended() const { return m_ended; }

    int chosen = -1;  // the chosen line, or -1
    bool autoSelect = false;
    const std::vector<episodeItemType>* episodes = nullptr;

public slots:
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

protected:
    void done(int code) override;

private:
    CHListBox* m_list;
    QPushButton* m_review;
    bool m_ended = false;
};

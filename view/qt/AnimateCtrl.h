#pragma once
// A small looping animation from the view's resources, such as the blood
// pressure cuff at work or the search for the remote.
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <vector>

class CAnimateCtrl : public QLabel {
    Q_OBJECT
public:
    explicit CAnimateCtrl(QWidget* parent = nullptr);

    // Stops, loads the animation's frames and shows the first. False, and
    // nothing shown, for an id with no animation.
    bool Open(int resourceId);
    // Endless, or once through to the last frame, which then stays. While
    // playing, only the endless choice changes: calling Play on every
    // update must not hold the animation at its first frame. False when
    // nothing is open.
    bool Play(bool endless = true);
    // Shows the first frame.
    void Stop();
    // Stops on the last frame (the connected picture of the connecting
    // animation).
    void ShowLast();
    bool IsPlaying() const { return m_timer.isActive(); }

    static constexpr int kFrameMs = 100;

private:
    void Step();
    void ShowFrame(std::size_t frame);

    std::vector<QPixmap> m_frames;
    std::size_t m_frame = 0;
    bool m_endless = true;
    QTimer m_timer;
};

#include "view/qt/AnimateCtrl.h"

#include <QtGlobal>

#include "view/qt/ViewBitmaps.h"

CAnimateCtrl::CAnimateCtrl(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, &CAnimateCtrl::Step);
}

bool CAnimateCtrl::Open(int resourceId)
{
    m_timer.stop();
    m_frames = LoadAnimationFrames(resourceId);
    if (m_frames.empty()) {
        clear();
        qWarning("CAnimateCtrl: no animation with id %d", resourceId);
        return false;
    }
    ShowFrame(0);
    return true;
}

bool CAnimateCtrl::Play(bool endless)
{
    if (m_frames.empty())
        return false;
    m_endless = endless;
    if (!m_timer.isActive()) {
        ShowFrame(0);
        m_timer.start();
    }
    return true;
}

void CAnimateCtrl::Stop()
{
    m_timer.stop();
    if (!m_frames.empty())
        ShowFrame(0);
}

void CAnimateCtrl::Step()
{
    const std::size_t next = (m_frame + 1) % m_frames.size();
    ShowFrame(next);
    if (!m_endless && next + 1 == m_frames.size())
        m_timer.stop();
}

void CAnimateCtrl::ShowFrame(std::size_t frame)
{
    m_frame = frame;
    setPixmap(m_frames[frame]);
}

void CAnimateCtrl::ShowLast()
{
    m_timer.stop();
    if (!m_frames.empty())
        ShowFrame(m_frames.size() - 1);
}

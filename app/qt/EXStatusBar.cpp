#include "app/qt/EXStatusBar.h"

#include <QEvent>
#include <QFrame>
#include <QLayout>
#include <QResizeEvent>

#include "app/FrameButtons.h"

namespace {

// Texts the indicator panes are sized by; the lock panes stay blank since
// Qt cannot read the lock keys.
const char* IndicatorText(std::uint32_t id)
{
    switch (id) {
    case kIndicatorConnection:
        return "COM88";
    case kIndicatorCaps:
        return "CAP";
    case kIndicatorNum:
        return "NUM";
    case kIndicatorScroll:
        return "SCRL";
    default:
        return nullptr;
    }
}

} // namespace

CEXStatusBar::CEXStatusBar(QWidget* parent) : QStatusBar(parent)
{
}

CEXStatusBar::~CEXStatusBar()
{
    for (auto& control : m_controls) {
        QWidget* window = control->m_hWnd;
        if (!window)
            continue;
        window->hide();
        if (control->m_bAutoDelete)
            delete window;
    }
    m_controls.clear();
}

bool CEXStatusBar::Create(QWidget* frame, std::uint32_t id)
{
    if (!frame)
        return false;
    setParent(frame);
    setObjectName(QString::number(id));
    setSizeGripEnabled(true);
    return true;
}

bool CEXStatusBar::SetIndicators(const std::uint32_t* ids, int count)
{
    if (!ids || count <= 0)
        return false;
    for (int i = 0; i < count; ++i)
        if (ids[i] != 0 && !IndicatorText(ids[i]))
            return false;

    for (Pane& pane : m_panes)
        delete pane.frame;
    m_panes.clear();
    const QFontMetrics metrics(font());
    for (int i = 0; i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        if (pane.id == 0) {
            // The message pane is the bar's own message area.
            pane.style = kPaneNoBorders | kPaneStretch;
        } else {
            pane.width = metrics.horizontalAdvance(QString::fromLatin1(IndicatorText(pane.id)));
            pane.frame = new QFrame(this);
            pane.frame->setObjectName(QString::number(pane.id));
            pane.frame->installEventFilter(this);
            addPermanentWidget(pane.frame);
        }
        m_panes.push_back(pane);
        ApplyPaneStyle(m_panes.back());
    }
    return true;
}

int CEXStatusBar::CommandToIndex(std::uint32_t id) const
{
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    return -1;
}

std::uint32_t CEXStatusBar::GetItemID(int index) const
{
    if (index < 0 || index >= GetCount())
        return 0;
    return m_panes[static_cast<std::size_t>(index)].id;
}

bool CEXStatusBar::GetPaneInfo(int index, std::uint32_t& id, std::uint32_t& style, int& width) const
{
    if (index < 0 || index >= GetCount())
        return false;
    const Pane& pane = m_panes[static_cast<std::size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
    return true;
}

void CEXStatusBar::SetPaneInfo(int index, std::uint32_t id, std::uint32_t style, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<std::size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = std::max(0, width);
    if (pane.frame)
        pane.frame->setObjectName(QString::number(id));
    ApplyPaneStyle(pane);
    if (layout())
        layout()->activate();
    LayoutPaneWindows();
}

void CEXStatusBar::ApplyPaneStyle(const Pane& pane) const
{
    if (!pane.frame)
        return;
    if (pane.style & kPaneNoBorders)
        pane.frame->setFrameStyle(QFrame::NoFrame);
    else
        pane.frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane.frame->setFixedWidth(pane.width + 2 * pane.frame->frameWidth());
}

QRect CEXStatusBar::GetItemRect(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    const Pane& pane = m_panes[static_cast<std::size_t>(index)];
    if (pane.frame)
        return pane.frame->geometry();
    // The message pane runs from the left edge to the first hosted pane.
    int right = width();
    for (const Pane& other : m_panes)
        if (other.frame)
            right = std::min(right, other.frame->geometry().left());
    return QRect(0, 0, std::max(0, right), height());
}

void CEXStatusBar::GetBorders(int& horizontal, int& vertical, int& spacing) const
{
    // Insets that put a hosted window just inside a sunken pane frame.
    int frameWidth = 1;
    for (const Pane& pane : m_panes)
        if (pane.frame && !(pane.style & kPaneNoBorders)) {
            frameWidth = pane.frame->frameWidth();
            break;
        }
    horizontal = 0;
    vertical = frameWidth;
    spacing = frameWidth;
}

bool CEXStatusBar::AttachPaneWindow(QWidget* window)
{
    if (!window || CommandToIndex(kIndicatorConnection) < 0)
        return false;
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
        if ((*it)->m_nPaneID != kIndicatorConnection)
            continue;
        if ((*it)->m_hWnd)
            return false;
        m_controls.erase(it); // its window is gone already
        break;
    }
    if (window->parentWidget() != this)
        window->setParent(this);
    auto control = std::make_unique<CEXStatusBarPaneControlInfo>();
    control->m_hWnd = window;
    control->m_nPaneID = kIndicatorConnection;
    control->m_bAutoDelete = true;
    m_controls.push_back(std::move(control));
    window->show();
    window->raise();
    LayoutPaneWindows();
    update();
    return true;
}

QWidget* CEXStatusBar::GetPaneWindow(std::uint32_t paneId) const
{
    for (const auto& control : m_controls)
        if (control->m_nPaneID == paneId)
            return control->m_hWnd;
    return nullptr;
}

void CEXStatusBar::ResizePane(int index, int width)
{
    std::uint32_t id = 0, style = 0;
    int oldWidth = 0;
    if (!GetPaneInfo(index, id, style, oldWidth))
        return;
    SetPaneInfo(index, id, style, width);
}

void CEXStatusBar::LayoutPaneWindows()
{
    int horizontal = 0, vertical = 0, spacing = 0;
    GetBorders(horizontal, vertical, spacing);
    for (const auto& control : m_controls) {
        QWidget* window = control->m_hWnd;
        const int index = CommandToIndex(control->m_nPaneID);
        if (!window || index < 0)
            continue;
        QRect rect = GetItemRect(index);
        if (!(m_panes[static_cast<std::size_t>(index)].style & kPaneNoBorders)) {
            rect.setTop(rect.top() + vertical);
            rect.setBottom(rect.bottom() - vertical);
            rect.setLeft(rect.left() + horizontal + spacing);
            rect.setRight(rect.right() - horizontal - spacing);
        }
        window->setGeometry(rect);
        window->update();
    }
}

void CEXStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    OnSize();
}

void CEXStatusBar::OnSize()
{
    LayoutPaneWindows();
}

bool CEXStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    // Panes move when the bar lays out again; their windows follow.
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        for (const Pane& pane : m_panes)
            if (pane.frame == watched) {
                LayoutPaneWindows();
                break;
            }
    return QStatusBar::eventFilter(watched, event);
}

#include "app/qt/ToolBar24.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>

#include "app/FrameButtons.h"
#include "app/qt/BitmapResources.h"

namespace {

const char* const kImageProperty = "quorinImage";

std::vector<QImage> SplitStrip(const QImage& strip)
{
    std::vector<QImage> images;
    const int size = kToolBarImageSize;
    if (strip.isNull() || strip.height() < size)
        return images;
    for (int x = 0; x + size <= strip.width(); x += size)
        images.push_back(strip.copy(x, 0, size, size).convertToFormat(QImage::Format_RGB32));
    return images;
}

QPixmap PixmapAt(const std::vector<QImage>& list, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return {};
    return MaskedPixmap(list[static_cast<std::size_t>(index)]);
}

} // namespace

CToolBar24::CToolBar24(QWidget* parent) : QToolBar(parent)
{
}

bool CToolBar24::CreateEx(QMainWindow* frame, std::uint32_t id)
{
    if (!frame)
        return false;
    setParent(frame);
    setObjectName(QString::number(id));
    setWindowTitle(QStringLiteral("Toolbar"));
    setIconSize(QSize(kToolBarImageSize, kToolBarImageSize));
    setMovable(true);
    setFloatable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    return true;
}

bool CToolBar24::LoadToolBar(int resourceId)
{
    if (resourceId != kToolBarResource)
        return false;
    for (const ToolBarCommand& command : ToolBarCommands()) {
        const QString tip = QString::fromStdString(GetCommandTip(command.id));
        QAction* action = addAction(tip);
        action->setObjectName(QString::number(command.id));
        action->setToolTip(tip);
        action->setStatusTip(QString::fromStdString(GetCommandPrompt(command.id)));
        action->setProperty(kImageProperty, command.image);
        // The view enables each command once it routes it.
        action->setEnabled(false);
        if (QWidget* button = widgetForAction(action))
            button->setObjectName(QString::number(command.id));
    }
    return true;
}

bool CToolBar24::LoadImages()
{
    m_plain = LoadFrameBitmap(kToolBarBitmap);
    if (m_plain.isNull())
        return false;
    m_hot = SplitStrip(m_plain);

    m_disabledBitmap = CEnBitmap(m_plain, 0xFFFFFF);
    {
        CImageGrayer gray(0.08f);
        CImageHigh high1(0.08f), high2(0.08f), high3(0.08f);
        if (!m_disabledBitmap.ApplyProcessors({&gray, &high1, &high2, &high3}))
            m_disabledBitmap.SetImage(m_plain);
    }
    m_disabled = SplitStrip(m_disabledBitmap.Image());

    m_normalBitmap = CEnBitmap(m_plain, 0xFFFFFF);
    {
        CImageHigh high1(0.04f), high2(0.04f);
        if (!m_normalBitmap.ApplyProcessors({&high1, &high2}))
            m_normalBitmap.SetImage(m_plain);
    }
    m_normal = SplitStrip(m_normalBitmap.Image());

    for (QAction* action : actions())
        ApplyIcon(action);
    return true;
}

QAction* CToolBar24::FindButton(std::uint32_t commandId) const
{
    const QString name = QString::number(commandId);
    for (QAction* action : actions())
        if (action->objectName() == name)
            return action;
    return nullptr;
}

bool CToolBar24::SetButtonImage(std::uint32_t commandId, int image)
{
    QAction* action = FindButton(commandId);
    if (!action || image < 0 || image >= kToolBarImageCount)
        return false;
    if (action->property(kImageProperty).toInt() == image)
        return true;
    action->setProperty(kImageProperty, image);
    ApplyIcon(action);
    return true;
}

int CToolBar24::GetButtonImage(std::uint32_t commandId) const
{
    const QAction* action = FindButton(commandId);
    return action ? action->property(kImageProperty).toInt() : -1;
}

int CToolBar24::ImageCount(ImageList list) const
{
    switch (list) {
    case ImageList::Hot:
        return static_cast<int>(m_hot.size());
    case ImageList::Disabled:
        return static_cast<int>(m_disabled.size());
    case ImageList::Normal:
        return static_cast<int>(m_normal.size());
    }
    return 0;
}

QImage CToolBar24::ListImage(ImageList list, int index) const
{
    const std::vector<QImage>& images =
        list == ImageList::Hot ? m_hot : (list == ImageList::Disabled ? m_disabled : m_normal);
    if (index < 0 || static_cast<std::size_t>(index) >= images.size())
        return {};
    return images[static_cast<std::size_t>(index)];
}

void CToolBar24::ApplyIcon(QAction* action) const
{
    const QVariant image = action->property(kImageProperty);
    if (!image.isValid() || m_hot.empty())
        return;
    const int index = image.toInt();
    QIcon icon;
    icon.addPixmap(PixmapAt(m_normal, index), QIcon::Normal);
    icon.addPixmap(PixmapAt(m_hot, index), QIcon::Active);
    icon.addPixmap(PixmapAt(m_disabled, index), QIcon::Disabled);
    action->setIcon(icon);
}

#pragma once
// A tool bar of 32 x 32 buttons with generated normal, hot and disabled
// images, and the main frame's tool bar built on it.
#include <cstdint>
#include <vector>

#include <QImage>
#include <QPixmap>
#include <QToolBar>

#include "app/qt/EnBitmap.h"

class QMainWindow;

class CToolBar24 : public QToolBar {
    Q_OBJECT
public:
    enum class ImageList { Hot, Disabled, Normal };

    explicit CToolBar24(QWidget* parent = nullptr);

    // Flat, movable, dockable on every side, with tool tips; named by id.
    bool CreateEx(QMainWindow* frame, std::uint32_t id);
    // One disabled button per command of the tool-bar resource, with its
    // tip and status-bar prompt; false for a resource we do not have.
    bool LoadToolBar(int resourceId);
    // Builds the three image lists from the tool-bar strip and gives every
    // button its icon. A list whose conversion fails keeps the plain images.
    bool LoadImages();

    QAction* FindButton(std::uint32_t commandId) const;
    // Shows image `image` of the lists on the command's button.
    bool SetButtonImage(std::uint32_t commandId, int image);
    int GetButtonImage(std::uint32_t commandId) const;

    int ImageCount(ImageList list) const;
    QImage ListImage(ImageList list, int index) const;

private:
    void ApplyIcon(QAction* action) const;

    std::vector<QImage> m_hot;
    std::vector<QImage> m_disabled;
    std::vector<QImage> m_normal;
    QImage m_plain;
    CEnBitmap m_disabledBitmap;
    CEnBitmap m_normalBitmap;
};

class CMainToolBar : public CToolBar24 {
    Q_OBJECT
public:
    using CToolBar24::CToolBar24;
};

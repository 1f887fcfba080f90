#include "app/qt/MainWindowFactory.h"

#include <QMainWindow>

QMainWindow* CreateMainWindow()
{
    auto* window = new QMainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Quorin"));
    return window;
}

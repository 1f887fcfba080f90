// The frame's menu bar (menu 210) and its keys (table 210). Every command
// goes to the view through the handler the window factory sets; the frame
// keeps only its own: the bars and Exit.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/MenuCommands.h"
#include "app/qt/EXStatusBar.h"
#include "app/qt/MainFrame.h"
#include "app/qt/ToolBar24.h"

namespace {

QString IdName(std::uint32_t id)
{
    return QString::number(id);
}

} // namespace

// Alt+H is both "&Help"'s mnemonic and "HR from SPO2": while that command
// is enabled its key wins; otherwise the mnemonic opens the menu.
class CAltHFilter : public QObject {
public:
    explicit CAltHFilter(CMainFrame& frame) : QObject(&frame), m_frame(frame) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() != Qt::Key_H || key->modifiers() != Qt::AltModifier || widget == nullptr ||
            widget->window() != &m_frame)
            return QObject::eventFilter(watched, event);
        QAction* action = m_frame.CommandAction(menu::kHrFromSpO2);
        if (action == nullptr || !action->isEnabled())
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();  // the key comes as a key press, not as the mnemonic
            return false;
        }
        if (!key->isAutoRepeat())
            m_frame.RunCommand(menu::kHrFromSpO2);
        return true;
    }

private:
    CMainFrame& m_frame;
};

void CMainFrame::CreateMainMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("210"));
    for (const MenuDef& def : MainMenu()) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(def.title));
        menu->setObjectName(QString::fromLatin1(def.title).remove(QLatin1Char('&')));
        connect(menu, &QMenu::aboutToShow, this, [this] {
            ShowBarEntries();
            if (m_updateCommands)
                m_updateCommands();
        });
        for (const MenuItemDef& item : def.items)
            menu->addAction(MenuAction(item));
    }
    for (const AcceleratorDef& key : MainAccelerators()) {
        if (key.id == menu::kHrFromSpO2)
            continue;  // by the filter below
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("key ") + QString::fromLatin1(key.key));
        action->setShortcut(QKeySequence(QString::fromLatin1(key.key)));
        action->setShortcutContext(Qt::WindowShortcut);
        const std::uint32_t id = key.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        addAction(action);
        m_keyActions.emplace(id, action);
    }
    // The tool bar's buttons run their commands the same way.
    if (m_wndToolBar) {
        for (const ToolBarCommand& button : ToolBarCommands()) {
            if (QAction* action = m_wndToolBar->FindButton(button.id)) {
                const std::uint32_t id = button.id;
                connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
            }
        }
    }
    qApp->installEventFilter(new CAltHFilter(*this));
    ShowBarEntries();
}

QAction* CMainFrame::MenuAction(const MenuItemDef& item)
{
    const std::uint32_t id = item.id;
    QAction* action = m_wndToolBar ? m_wndToolBar->FindButton(id) : nullptr;
    if (action == nullptr) {
        action = new QAction(this);
        action->setObjectName(IdName(id));
    }
    action->setText(QString::fromLatin1(item.text));
    action->setIconVisibleInMenu(false);
    action->setStatusTip(QString::fromStdString(GetCommandPrompt(id)));
    if (const std::string tip = GetCommandTip(id); !tip.empty())
        action->setToolTip(QString::fromStdString(tip));
    m_menuActions.emplace(id, action);
    switch (id) {
    case menu::kExit:
        connect(action, &QAction::triggered, this, &QWidget::close);
        break;
    case menu::kToolBar:
    case menu::kStatusBar:
        // The bar's own state is the truth: the tool bar's context menu
        // hides it too, and the entry's check may be behind.
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, id] {
            if (QWidget* bar = Bar(id))
                bar->setVisible(bar->isHidden());
            ShowBarEntries();
        });
        break;
    default:
        // A tool-bar button's action already runs its command.
        if (!m_wndToolBar || m_wndToolBar->FindButton(id) != action)
            connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        break;
    }
    return action;
}

QWidget* CMainFrame::Bar(std::uint32_t id) const
{
    if (id == menu::kToolBar)
        return m_wndToolBar;
    if (id == menu::kStatusBar)
        return m_wndStatusBar;
    return nullptr;
}

void CMainFrame::ShowBarEntries()
{
    for (const std::uint32_t id : {menu::kToolBar, menu::kStatusBar}) {
        const auto it = m_menuActions.find(id);
        QWidget* bar = Bar(id);
        if (it != m_menuActions.end() && bar != nullptr)
            it->second->setChecked(!bar->isHidden());
    }
}

void CMainFrame::SetCommandHandlers(std::function<void(std::uint32_t)> run, std::function<void()> update)
{
    m_runCommand = std::move(run);
    m_updateCommands = std::move(update);
}

void CMainFrame::RunCommand(std::uint32_t id)
{
    // A command runs only while its rule enables it: a key of a greyed
    // command does nothing.
    QAction* action = CommandAction(id);
    if (action != nullptr && !action->isEnabled())
        return;
    if (auto key = m_keyActions.find(id); key != m_keyActions.end() && !key->second->isEnabled())
        return;
    if (m_runCommand)
        m_runCommand(id);
}

QAction* CMainFrame::CommandAction(std::uint32_t id) const
{
    if (auto it = m_menuActions.find(id); it != m_menuActions.end())
        return it->second;
    return m_wndToolBar ? m_wndToolBar->FindButton(id) : nullptr;
}

#include "link/qt/TermDlgWnd.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "link/TermDlgTables.h"
#include "link/qt/ProgramFileChooser.h"

namespace {

void FreeNewString(const PostedMessage& message)
{
    delete reinterpret_cast<std::string*>(message.wParam);
    delete reinterpret_cast<TermSelection*>(message.lParam);
}

}  // namespace

CTK_TermDlgWnd::CTK_TermDlgWnd(CTK_TermDlg& terminal, IPrompter& prompter, CQtMessagePoster& poster,
                               uint32_t newStringMessage, QWidget* parent)
    : QDialog(parent), m_terminal(terminal), m_prompter(prompter), m_poster(poster),
      m_newStringMessage(newStringMessage)
{
    setObjectName(QStringLiteral("670"));
    setFont(QFont(QStringLiteral("Courier"), 10));
    setWindowTitle(QStringLiteral("Service Terminal Interface"));
    Build();
    m_poster.SetPayloadDeleter(m_newStringMessage, FreeNewString);
    m_handle = m_poster.Register(this);
    m_terminal.Text().SetWindow(&m_poster, m_handle, m_newStringMessage);
}

CTK_TermDlgWnd::~CTK_TermDlgWnd()
{
    m_terminal.Text().SetWindow(nullptr, 0, 0);
    m_terminal.ClearWindowHooks();
    // Posts still queued are freed unread.
    m_poster.Unregister(m_handle);
}

void CTK_TermDlgWnd::Build()
{
    auto add = [this](QWidget* widget, int id) {
        widget->setObjectName(QString::number(id));
        m_controls[id] = widget;
        return widget;
    };
    auto button = [&](int id, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setAutoDefault(false);
        add(b, id);
        connect(b, &QPushButton::clicked, this, [this, id] { m_terminal.OnButton(id); });
        return b;
    };
    auto radio = [&](int id, const char* caption, bool exclusive) {
        auto* r = new QRadioButton(QString::fromUtf8(caption), this);
        r->setAutoExclusive(exclusive);
        add(r, id);
        connect(r, &QRadioButton::clicked, this, [this, id] {
            m_terminal.OnButton(id);
            Sync();
        });
        return r;
    };
    auto edit = [&](int id) {
        auto* e = new QLineEdit(this);
        add(e, id);
        connect(e, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { m_terminal.SetBoxText(id, text.toStdString()); });
        return e;
    };

    m_output = new QPlainTextEdit(this);
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setMinimumSize(QFontMetrics(font()).horizontalAdvance(QLatin1Char('M')) * 72,
                             QFontMetrics(font()).lineSpacing() * 26);
    add(m_output, kTermOutput);
    m_input = new QLineEdit(this);
    add(m_input, kTermInput);
    connect(m_input, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_terminal.SetInputText(text.toStdString()); });

    auto* left = new QVBoxLayout;
    left->addWidget(m_output, 1);
    left->addWidget(m_input);
    auto* quitRow = new QHBoxLayout;
    quitRow->addStretch(1);
    auto* quit = new QPushButton(QStringLiteral("Quit Terminal"), this);
    quit->setAutoDefault(false);
    add(quit, kTermQuit);
    connect(quit, &QPushButton::clicked, this, [this] { m_terminal.OnQuit(); });
    quitRow->addWidget(quit);
    left->addLayout(quitRow);

    // "Display Output": on and off, and the output list.
    auto* display = static_cast<QGroupBox*>(add(new QGroupBox(QStringLiteral("Display Output"), this), kTermDisplayGroup));
    auto* displayLayout = new QGridLayout(display);
    displayLayout->addWidget(radio(kTermDisplayOff, "Off", true), 0, 0);
    displayLayout->addWidget(radio(kTermDisplayOn, "On", true), 0, 1);
    displayLayout->addWidget(add(new QLabel(QStringLiteral("Select Output"), this), kTermSelectLabel), 1, 0, 1, 2);
    m_rows = new QComboBox(this);
    add(m_rows, kTermOutputList);
    connect(m_rows, &QComboBox::activated, this, [this](int index) {
        m_terminal.OnOutputRow(m_rows->itemText(index).toStdString());
    });
    displayLayout->addWidget(m_rows, 2, 0, 1, 2);

    auto* co2 = static_cast<QGroupBox*>(add(new QGroupBox(QStringLiteral("CO2 Mode"), this), kTermCo2Group));
    auto* co2Layout = new QVBoxLayout(co2);
    co2Layout->addWidget(radio(kTermCo2Reset, "Reset/Self-Test", false));
    co2Layout->addWidget(radio(kTermCo2Demo, "Demo", false));
    co2Layout->addWidget(radio(kTermCo2Measure, "Measurement", false));

    auto* setup =
        static_cast<QGroupBox*>(add(new QGroupBox(QStringLiteral("Remote Information Setup"), this), kTermSetupGroup));
    auto* setupLayout = new QGridLayout(setup);
    setupLayout->addWidget(add(new QLabel(QStringLiteral("H/W Version:"), this), kTermHardwareLabel), 0, 0);
    setupLayout->addWidget(edit(kTermHardware), 0, 1, 1, 2);
    setupLayout->addWidget(add(new QLabel(QStringLiteral("Serial #:"), this), kTermSerialLabel), 1, 0);
    setupLayout->addWidget(edit(kTermSerial), 1, 1, 1, 2);
    setupLayout->addWidget(add(new QLabel(QStringLiteral("Mfg. Info:"), this), kTermMfgLabel), 2, 0);
    setupLayout->addWidget(edit(kTermMfg), 2, 1, 1, 2);
    setupLayout->addWidget(add(new QLabel(QStringLiteral("Device ID #:"), this), kTermDeviceLabel), 3, 0);
    auto* deviceName = new QLineEdit(this);
    deviceName->setReadOnly(true);
    deviceName->setMaximumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("Norq-TK ")) + 12);
    setupLayout->addWidget(add(deviceName, kTermDeviceName), 3, 1);
    setupLayout->addWidget(edit(kTermDeviceNumber), 3, 2);
    setupLayout->addWidget(button(kTermSaveSetup, "Save Setup"), 4, 0, 1, 3);

    auto* bp = static_cast<QGroupBox*>(add(new QGroupBox(QStringLiteral("Blood Pressure"), this), kTermBpGroup));
    auto* bpLayout = new QHBoxLayout(bp);
    bpLayout->addWidget(button(kTermBpStart, "Start BP"));
    bpLayout->addWidget(button(kTermBpHalt, "Halt BP"));

    auto* temp = static_cast<QGroupBox*>(add(new QGroupBox(QStringLiteral("Temp Cal."), this), kTermTempGroup));
    auto* tempLayout = new QHBoxLayout(temp);
    tempLayout->addWidget(button(kTermTempMid, "T-Mid Offset"));

    auto* right = new QVBoxLayout;
    right->addWidget(display);
    right->addWidget(co2);
    right->addWidget(setup);
    auto* pair = new QHBoxLayout;
    pair->addWidget(bp);
    pair->addWidget(temp);
    right->addLayout(pair);
    auto* buttons = new QGridLayout;
    buttons->addWidget(button(kTermHelp, "Display Help Menu"), 0, 0);
    buttons->addWidget(button(kTermPowerOff, "Power off Remote"), 0, 1);
    buttons->addWidget(button(kTermCuffZero, "BP Cuff Zero"), 1, 0);
    buttons->addWidget(button(kTermProgram, "Program Remote"), 1, 1);
    buttons->addWidget(button(kTermCo2Zero, "CO2 Zero Reference Cal"), 2, 0, 1, 2);
    right->addLayout(buttons);
    right->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(right);
}

void CTK_TermDlgWnd::Open()
{
    TermDlgWindowHooks hooks;
    hooks.prompter = &m_prompter;
    hooks.schedule = [this](uint32_t ms, std::function<void()> step) {
        QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, this, std::move(step));
    };
    hooks.chooseProgramFile = [this] { return m_chooser ? m_chooser() : ChooseFile(); };
    hooks.changed = [this] { Sync(); };
    hooks.endDialog = [this] { done(QDialog::Accepted); };
    m_terminal.SetWindowHooks(std::move(hooks));
    m_output->clear();
    {
        const QSignalBlocker block(m_rows);
        m_rows->clear();
    }
    m_terminal.OnInitDialog();
    Sync();
    m_input->setFocus();
}

std::optional<std::string> CTK_TermDlgWnd::ChooseFile()
{
    CProgramFileChooser chooser(QDir::currentPath(), this);
    chooser.exec();
    return chooser.ChosenFile();
}

void CTK_TermDlgWnd::Sync()
{
    setWindowTitle(QString::fromStdString(m_terminal.Title()));
    for (const auto& [id, widget] : m_controls)
        widget->setVisible(m_terminal.IsControlVisible(id));

    QStringList rows;
    for (const std::string& row : m_terminal.OutputRows())
        rows << QString::fromStdString(row);
    QStringList shown;
    for (int i = 0; i < m_rows->count(); ++i)
        shown << m_rows->itemText(i);
    if (rows != shown) {
        const QSignalBlocker block(m_rows);
        m_rows->clear();
        m_rows->addItems(rows);
        m_rows->setCurrentIndex(-1);
    }
    for (const int id : {kTermCo2Reset, kTermCo2Demo, kTermCo2Measure})
        static_cast<QRadioButton*>(m_controls[id])->setChecked(m_terminal.IsChecked(id));
    static_cast<QLineEdit*>(m_controls[kTermDeviceName])->setText(QString::fromStdString(m_terminal.DeviceName()));
    for (const int id : {kTermHardware, kTermSerial, kTermMfg, kTermDeviceNumber}) {
        auto* box = static_cast<QLineEdit*>(m_controls[id]);
        const QString text = QString::fromStdString(m_terminal.BoxText(id));
        if (box->text() != text)
            box->setText(text);
    }
    const QString input = QString::fromStdString(m_terminal.InputText());
    if (m_input->text() != input)
        m_input->setText(input);
}

void CTK_TermDlgWnd::OnNewString(std::string* text, TermSelection* selection)
{
    if (text != nullptr && m_terminal.IsShown()) {
        QString shown = QString::fromLatin1(text->data(), qsizetype(text->size()));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_output->setPlainText(shown);
        m_output->moveCursor(QTextCursor::End);
        m_output->ensureCursorVisible();
    }
    delete text;
    delete selection;
}

bool CTK_TermDlgWnd::event(QEvent* event)
{
    if (event->type() != CPostedEvent::EventType())
        return QDialog::event(event);
    auto& posted = static_cast<CPostedEvent&>(*event);
    if (posted.Message().message == m_newStringMessage) {
        const PostedMessage message = posted.TakePayload();
        OnNewString(reinterpret_cast<std::string*>(message.wParam), reinterpret_cast<TermSelection*>(message.lParam));
    }
    return true;
}

void CTK_TermDlgWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const bool hadFocus = focusWidget() == m_input;
        m_input->setFocus();
        m_terminal.OnEnter(hadFocus);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTK_TermDlgWnd::reject()
{
    // Escape and the close box quit the terminal as its own button does.
    m_terminal.OnQuit();
}

QWidget* CTK_TermDlgWnd::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

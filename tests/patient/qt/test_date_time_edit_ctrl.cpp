#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "patient/qt/DateTimeEditCtrl.h"
#include "patient/qt/DateTimeEditCtrlButton.h"
#include "patient/qt/DateTimeEditCtrlCalendarWnd.h"
#include "patient/qt/DateTimeEditCtrlEditCtrl.h"
#include "patient/qt/DateTimeEditCtrlMonthCalCtrl.h"

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QDate kBirth(2001, 12, 5);

// A shown field holding kBirth, its notifications recorded.
struct Field {
    explicit Field(QWidget* parent = nullptr) : ctrl(parent, kUs)
    {
        QObject::connect(&ctrl, &CDateTimeEditCtrl::DateTimeChange,
                         [this](DateStatus status, const QDate& date) { changes.emplace_back(status, date); });
        QObject::connect(&ctrl, &CDateTimeEditCtrl::DropDown, [this] { ++dropDowns; });
        QObject::connect(&ctrl, &CDateTimeEditCtrl::CloseUp, [this] { ++closeUps; });
        ctrl.SetTime(DateStatus::kValid, kBirth);
        ctrl.show();
        ctrl.EditCtrl()->setFocus();
    }
    QString Text() const { return ctrl.GetWindowText(); }
    void Key(Qt::Key key) { QTest::keyClick(ctrl.EditCtrl(), key); }
    QTableView* CalendarDays() const
    {
        return ctrl.GetMonthCalCtrl() ? ctrl.GetMonthCalCtrl()->findChild<QTableView*>() : nullptr;
    }

    CDateTimeEditCtrl ctrl;
    std::vector<std::pair<DateStatus, QDate>> changes;
    int dropDowns = 0;
    int closeUps = 0;
};

class FakeOs : public IOsVersion {
public:
    FakeOs(uint32_t major, bool answers) : m_major(major), m_answers(answers) {}
    bool Query(OsVersionInfo& info, bool) const override
    {
        info.majorVersion = m_major;
        info.platformId = kPlatformWin32Nt;
        return m_answers;
    }

private:
    uint32_t m_major;
    bool m_answers;
};

} // namespace

TEST(DateTimeEditCtrl, SignalsWhatTheUserChangesAndNeverASetFromCode)
{
    const struct {
        const char* what;
        std::function<void(Field&)> act;
        std::vector<std::pair<DateStatus, QDate>> expected;
    } cases[] = {
        {"SetTime", [](Field& f) { f.ctrl.SetTime(DateStatus::kValid, QDate(2002, 1, 1)); }, {}},
        {"SetTime none", [](Field& f) { f.ctrl.SetTime(DateStatus::kNone); }, {}},
        {"SetWindowText", [](Field& f) { f.ctrl.SetWindowText(QStringLiteral("1/1/2002")); }, {}},
        {"SetRange", [](Field& f) { f.ctrl.SetRange(3, QDate(1926, 1, 1), QDate(2000, 1, 1)); }, {}},
        {"locale", [](Field& f) { f.ctrl.setLocale(QLocale(QLocale::German, QLocale::Germany)); }, {}},
        {"typing", [](Field& f) { QTest::keyClicks(f.ctrl.EditCtrl(), QStringLiteral("7")); },
         {{DateStatus::kError, QDate()}}},
        {"emptied", [](Field& f) { f.ctrl.EditCtrl()->selectAll(); f.Key(Qt::Key_Delete); },
         {{DateStatus::kNone, QDate()}}},
        {"Up", [](Field& f) { f.Key(Qt::Key_Up); }, {{DateStatus::kValid, QDate(2002, 12, 5)}}},
        {"Down", [](Field& f) { f.Key(Qt::Key_Down); }, {{DateStatus::kValid, QDate(2000, 12, 5)}}},
    };
    for (const auto& c : cases) {
        Field f;
        c.act(f);
        EXPECT_EQ(f.changes, c.expected) << c.what;
    }
}

TEST(DateTimeEditCtrl, F4OpensTheCalendarOnTheTextsDateWithinTheRange)
{
    const struct {
        QString text;
        QDate maximum;
        QDate selected;
    } cases[] = {
        {QStringLiteral("12/5/2001"), {}, kBirth},
        {QString(), {}, QDate::currentDate()},
        {QStringLiteral("12/5/01"), {}, kBirth},          // a two-digit year of this century
        {QStringLiteral("12/5/201"), {}, QDate::currentDate()},
        {QStringLiteral("12/5/2001"), QDate(2000, 6, 15), QDate(2000, 6, 15)},
    };
    for (const auto& c : cases) {
        Field f;
        f.ctrl.SetWindowText(c.text);
        f.ctrl.SetRange(c.maximum.isValid() ? CDateTimeEditCtrl::kRangeMaximum : 0, {}, c.maximum);
        f.Key(Qt::Key_F4);
        ASSERT_NE(f.ctrl.GetMonthCalCtrl(), nullptr) << c.text.toStdString();
        EXPECT_TRUE(f.ctrl.GetCalendarWnd()->isVisible());
        EXPECT_EQ(f.dropDowns, 1);
        EXPECT_EQ(f.ctrl.GetMonthCalCtrl()->selectedDate(), c.selected) << c.text.toStdString();
        f.Key(Qt::Key_F4);
        EXPECT_EQ(f.ctrl.GetMonthCalCtrl(), nullptr) << "F4 again closes it";
        EXPECT_EQ(f.closeUps, 1);
        EXPECT_EQ(f.Text(), c.text) << "opening and closing change nothing";
        EXPECT_TRUE(f.changes.empty());
    }
}

TEST(DateTimeEditCtrl, ClosingTheCalendarKeepsTheChoiceOrRestores)
{
    const QDate next = kBirth.addDays(1);
    const struct {
        const char* what;
        bool toCalendar;  // else to the edit
        Qt::Key key;
        QDate kept;
    } cases[] = {
        {"Escape in the edit", false, Qt::Key_Escape, kBirth},
        {"Escape in the calendar", true, Qt::Key_Escape, kBirth},
        {"Enter in the edit", false, Qt::Key_Return, next},
        {"Enter in the calendar (a choice)", true, Qt::Key_Return, next},
        {"F4", false, Qt::Key_F4, next},
    };
    for (const auto& c : cases) {
        Field f;
        f.Key(Qt::Key_F4);
        ASSERT_NE(f.CalendarDays(), nullptr);
        QTest::keyClick(f.CalendarDays(), Qt::Key_Right);
        EXPECT_EQ(f.Text(), QStringLiteral("12/6/2001")) << c.what << ": the day moved in the calendar";
        QTest::keyClick(c.toCalendar ? static_cast<QWidget*>(f.CalendarDays()) : f.ctrl.EditCtrl(), c.key);
        EXPECT_EQ(f.ctrl.GetCalendarWnd(), nullptr) << c.what;
        EXPECT_EQ(f.closeUps, 1) << c.what;
        QDate date;
        EXPECT_EQ(f.ctrl.GetTime(date), DateStatus::kValid);
        EXPECT_EQ(date, c.kept) << c.what;
        ASSERT_FALSE(f.changes.empty());
        EXPECT_EQ(f.changes.back().second, c.kept) << c.what << ": the owner heard the last change";
    }
}

TEST(DateTimeEditCtrl, ALocaleChangeRereadsTheFormatAndKeepsTheDay)
{
    const struct {
        QLocale locale;
        const char* shown;
        const char* afterUpAtStart;
    } cases[] = {
        {kUs, "12/5/2001", "1/5/2001"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "05/12/2001", "06/12/2001"},
        {QLocale(QLocale::German, QLocale::Germany), "05.12.2001", "06.12.2001"},
        {QLocale(QLocale::Hungarian, QLocale::Hungary), "2001.12.05", "2002.12.05"},
    };
    for (const auto& c : cases) {
        Field f;
        f.ctrl.setLocale(c.locale);
        EXPECT_EQ(f.Text().toStdString(), c.shown);
        QDate date;
        EXPECT_EQ(f.ctrl.GetTime(date), DateStatus::kValid);
        EXPECT_EQ(date, kBirth) << c.shown << ": no day and month swapped";
        f.ctrl.EditCtrl()->setCursorPosition(0);
        f.Key(Qt::Key_Up);
        EXPECT_EQ(f.Text().toStdString(), c.afterUpAtStart);
    }
}

TEST(DateTimeEditCtrl, TextThatIsNoDateAnswersAnError)
{
    const struct {
        const char* text;
        DateStatus status;
        QDate date;
    } cases[] = {
        {"", DateStatus::kNone, {}},
        {"12/5/2001", DateStatus::kValid, kBirth},
        {"12/5/201", DateStatus::kError, {}},
        {"13/45/2001", DateStatus::kError, {}},
        {"Rex", DateStatus::kError, {}},
    };
    Field f;
    for (const auto& c : cases) {
        if (*c.text) {  // an empty one asks about the field's own text
            EXPECT_EQ(f.ctrl.IsValidText(QString::fromLatin1(c.text)), c.status == DateStatus::kValid) << c.text;
        }
        f.ctrl.SetWindowText(QString::fromLatin1(c.text));
        QDate date(1999, 1, 1);
        EXPECT_EQ(f.ctrl.GetTime(date), c.status) << c.text;
        EXPECT_EQ(date, c.date) << c.text;
        EXPECT_EQ(f.ctrl.IsValidText(), c.status == DateStatus::kValid) << c.text;
    }
}

TEST(DateTimeEditCtrl, ReadOnlyStopsEveryChangeAndNoEditOnlyTyping)
{
    const struct {
        const char* what;
        std::function<void(CDateTimeEditCtrl&)> mode;
        bool arrows;
        bool typing;
    } cases[] = {
        {"writable", [](CDateTimeEditCtrl&) {}, true, true},
        {"no-edit", [](CDateTimeEditCtrl& c) { c.SetEditReadOnly(true); }, true, false},
        {"read-only", [](CDateTimeEditCtrl& c) { c.SetReadOnlyMode(true); }, false, false},
        {"no-edit, then read-only", [](CDateTimeEditCtrl& c) { c.SetEditReadOnly(true); c.SetReadOnlyMode(true); }, false, false},
        {"read-only while disabled, then enabled",
         [](CDateTimeEditCtrl& c) { c.setEnabled(false); c.SetReadOnlyMode(true); c.setEnabled(true); }, false, false},
    };
    for (const auto& c : cases) {
        Field f;
        c.mode(f.ctrl);
        f.Key(Qt::Key_Up);
        EXPECT_EQ(f.Text() != QStringLiteral("12/5/2001"), c.arrows) << c.what;
        f.Key(Qt::Key_F4);
        EXPECT_EQ(f.ctrl.GetCalendarWnd() != nullptr, c.arrows) << c.what << ": the calendar";
        f.ctrl.CloseCalendar(false);
        const QString before = f.Text();
        QTest::keyClicks(f.ctrl.EditCtrl(), QStringLiteral("9"));
        EXPECT_EQ(f.Text() != before, c.typing) << c.what;
    }
}

TEST(DateTimeEditCtrl, EscapeAndEnterWithoutACalendarGoOnToTheDialog)
{
    for (const auto& [key, result] : {std::pair{Qt::Key_Escape, QDialog::Rejected}, {Qt::Key_Return, QDialog::Accepted}}) {
        QDialog dialog;
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        dialog.setResult(-1);
        Field f(&dialog);
        dialog.show();
        f.Key(key);
        EXPECT_EQ(dialog.result(), result) << key;
    }
}

TEST(DateTimeEditCtrl, OldSystemsGetTheButtonBitmaps)
{
    const struct {
        uint32_t major;
        bool answers;
        bool bitmaps;
    } cases[] = {{5, true, true}, {6, true, false}, {10, true, false}, {5, false, false}};
    for (const auto& c : cases) {
        Field f;
        f.ctrl.UseSystemButtonImage(FakeOs(c.major, c.answers));
        EXPECT_EQ(f.ctrl.Button()->HasImage(), c.bitmaps) << c.major;
    }
    Field f;
    f.ctrl.UseSystemButtonImage(FakeOs(5, true));
    const QImage normal = f.ctrl.Button()->ShownImage().toImage();
    f.ctrl.setEnabled(false);
    EXPECT_NE(f.ctrl.Button()->ShownImage().toImage(), normal) << "disabled, the disabled bitmap";
}

TEST(DateTimeEditCtrl, CalendarStaysOnTheWorkArea)
{
    const QRect work(0, 0, 1000, 800);
    const QSize popup(240, 160);
    const struct {
        QPoint control;
        bool rightAlign;
        QPoint expected;
    } cases[] = {
        {{100, 100}, false, {102, 124}},   // below, at the edit's left
        {{100, 100}, true, {42, 124}},     // at the edit's right
        {{100, 700}, false, {102, 540}},   // no room below: above
        {{0, 100}, true, {0, 124}},        // not past the left edge
        {{900, 100}, false, {760, 124}},   // nor the right one
    };
    for (const auto& c : cases) {
        const QRect control(c.control, QSize(200, 24));
        const QRect edit = control.adjusted(2, 2, -18, -2);
        EXPECT_EQ(CalendarPosition(control, edit, popup, work, c.rightAlign), c.expected) << c.control.x() << "," << c.control.y();
    }
}

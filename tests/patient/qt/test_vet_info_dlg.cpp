// The practice-information dialog: what its edits show and take, the state
// list, and the eight texts it hands back.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "patient/qt/VetInfoDlg.h"

namespace {

const std::string k40(40, 'c');
const std::string k20Zip = "12345-6789-0000-1111";

struct Dialog {
    explicit Dialog(const VetInfoStrings& strings)
    {
        dlg.Strings() = strings;
        dlg.OnInitDialog();
    }
    QLineEdit* Edit(const char* id) { return dlg.findChild<QLineEdit*>(id); }
    QComboBox* State() { return dlg.findChild<QComboBox*>("1100"); }
    // Typing at the end of an edit.
    void Type(const char* id, const QString& keys)
    {
        QLineEdit* edit = Edit(id);
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, keys);
    }
    void Key(const char* id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Edit(id)->end(false);
        QTest::keyClick(Edit(id), key, modifiers);
    }

    CVetInfoDlg dlg;
};

TEST(VetInfoDlg, EditsShowThirtyThreeCharactersAndTakeOnlyWhatTheUserTouched)
{
    struct Case {
        const char* what;
        int field;
        const char* id;
        std::string stored;
        std::function<void(Dialog&)> act;
        std::string shown;
        std::string member;
    };
    const Case cases[] = {
        {"a long name untouched", kVetClinic, "1060", k40, [](Dialog&) {}, k40.substr(0, 33), k40},
        {"a long name typed past", kVetClinic, "1060", k40, [](Dialog& d) { d.Type("1060", "x"); }, k40.substr(0, 33), k40},
        {"a long name shortened", kVetClinic, "1060", k40, [](Dialog& d) { d.Key("1060", Qt::Key_Backspace); },
         k40.substr(0, 32), k40.substr(0, 32)},
        {"a long zip shown whole", kVetZip, "1120", k20Zip, [](Dialog& d) { d.Type("1120", "9"); }, k20Zip, k20Zip},
        {"a long zip shortened", kVetZip, "1120", k20Zip, [](Dialog& d) { d.Key("1120", Qt::Key_Backspace); },
         k20Zip.substr(0, 19), k20Zip.substr(0, 19)},
        {"a zip typed past twelve", kVetZip, "1120", "", [](Dialog& d) { d.Type("1120", "1234567890ABCDEF"); },
         "1234567890AB", "1234567890AB"},
        {"an e-mail typed past 33", kVetEmail, "1150", "a@b", [](Dialog& d) { d.Type("1150", QString(40, 'z')); },
         "a@b" + std::string(30, 'z'), "a@b" + std::string(30, 'z')},
        {"a paste cut to what fits", kVetPhone, "1130", "555", [](Dialog& d) {
             QApplication::clipboard()->setText(QString(40, '7'));
             d.Key("1130", Qt::Key_V, Qt::ControlModifier);
         }, "555" + std::string(30, '7'), "555" + std::string(30, '7')},
        {"a text in the middle", kVetCity, "1090", "Sprigfield", [](Dialog& d) {
             d.Edit("1090")->setCursorPosition(4);
             QTest::keyClick(d.Edit("1090"), Qt::Key_N);
         }, "Springfield", "Springfield"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VetInfoStrings stored;
        stored[c.field] = c.stored;
        Dialog d(stored);
        c.act(d);
        EXPECT_EQ(d.Edit(c.id)->text().toStdString(), c.shown);
        EXPECT_EQ(d.dlg.Strings()[c.field], c.member);
    }
}

TEST(VetInfoDlg, TheStateListSelectsByPrefixAndCopiesOnlyAConfirmedEntry)
{
    ASSERT_EQ(kVetInfoStates.size(), 73u);
    EXPECT_STREQ(kVetInfoStates[59], "");
    EXPECT_STREQ(kVetInfoStates[39], "MP");
    EXPECT_STREQ(kVetInfoStates[72], "YT");
    struct Case {
        std::string stored;
        QString shown;
    };
    for (const Case& c : {Case{"ON", "ON"}, Case{"", "AL"}, Case{"on", "ON"}, Case{"N", "NE"}, Case{"Ontario", ""},
                          Case{"X", ""}}) {
        SCOPED_TRACE(c.stored);
        VetInfoStrings stored;
        stored[kVetState] = c.stored;
        Dialog d(stored);
        ASSERT_EQ(d.State()->count(), 73);
        EXPECT_EQ(d.State()->currentText(), c.shown);
        EXPECT_EQ(d.dlg.Strings()[kVetState], c.stored);
    }
    Dialog d(VetInfoStrings{});
    QTest::keyClick(d.State(), Qt::Key_Down);
    EXPECT_EQ(d.dlg.Strings()[kVetState], "AK");
}

TEST(VetInfoDlg, OkHandsBackTheEightTextsInOrder)
{
    Dialog d(VetInfoStrings{"Old Clinic", "", "", "", "TX", "", "", ""});
    d.Edit("1060")->clear();
    d.Type("1060", "Kay Vets");
    const char* const ids[] = {"1070", "1080", "1090", "1120", "1130", "1150"};
    const char* const typed[] = {"1 Main St", "Suite 2", "Austin", "78701", "555 0100", "desk@kay.example"};
    for (int i = 0; i < 6; ++i)
        d.Type(ids[i], typed[i]);
    QTest::keyClick(d.State(), Qt::Key_Up);
    d.dlg.findChild<QPushButton*>("IDOK")->click();
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    const VetInfoStrings expected{"Kay Vets", "1 Main St", "Suite 2", "Austin", "TN", "78701", "555 0100",
                                  "desk@kay.example"};
    EXPECT_EQ(d.dlg.Strings(), expected);
}

TEST(VetInfoDlg, TabGoesDownTheFormAsItReads)
{
    Dialog d(VetInfoStrings{});
    d.dlg.show();
    d.dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dlg));
    d.Edit("1060")->setFocus();
    // Clinic, the address lines, city, state, zip, phone, e-mail, then the buttons.
    const QStringList form = {"1060", "1070", "1080", "1090", "1100", "1120", "1130", "1150", "IDOK", "IDCANCEL"};
    QStringList visited;
    for (int i = 0; i < form.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(QLatin1Char(' ')).toStdString(), form.join(QLatin1Char(' ')).toStdString());
}

}  // namespace

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "platform/qt/QtProfileStore.h"

TEST(QtProfileStore, HandEditedValuesWithCommasReadAsWritten)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("hand.conf"));
    {
        QFile ini(file);
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Top=H, 1\n"
                  "[Defaults]\n"
                  "Values\\Clinic=H, 1\n"
                  "Values\\Pair=a,b\n"
                  "Values\\Spaced =  x , y  \r\n"
                  "Values\\Quoted=\"North, South\"\n"
                  "Values\\Plain=  Hill Vale  \n"
                  "Values\\Single%20Instance=1, 2 ; a note\n"
                  "\n"
                  "[Defaults\\Alarms\\Canine]\n"
                  "HR\\Note=low,  high\n");
    }
    const IProfileStore::Values asWritten = {
        {"Top", "H, 1"},
        {"Defaults/Values/Clinic", "H, 1"},
        {"Defaults/Values/Pair", "a,b"},
        {"Defaults/Values/Spaced", "x , y"},
        {"Defaults/Values/Quoted", "North, South"},
        {"Defaults/Values/Plain", "Hill Vale"},
        {"Defaults/Values/Single Instance", "1, 2"},
        {"Defaults/Alarms/Canine/HR/Note", "low,  high"},
    };

    CQtProfileStore whole(file);
    EXPECT_EQ(whole.ReadAll(), asWritten);
    // The same values through a store narrowed to one group.
    CQtProfileStore defaults(std::make_unique<QSettings>(file, QSettings::IniFormat), QStringLiteral("Defaults"));
    IProfileStore::Values inDefaults;
    for (const auto& [path, text] : asWritten) {
        EXPECT_EQ(whole.ReadValue(path), text) << path;
        if (path.starts_with("Defaults/")) {
            const std::string inGroup = path.substr(9);
            EXPECT_EQ(defaults.ReadValue(inGroup), text) << inGroup;
            inDefaults[inGroup] = text;
        }
    }
    EXPECT_EQ(defaults.ReadAll(), inDefaults);
}

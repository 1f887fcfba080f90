#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt/QtShellLauncher.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.setPermissions(permissions));
}

} // namespace

TEST(QtShellLauncher, ResultCodesSayWhyNothingStarted)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    WriteFile(folder.filePath("plain"), "#!/bin/sh\n", QFile::ReadOwner | QFile::WriteOwner);
    WriteFile(folder.filePath("no-interpreter"), "echo\n", runnable);
    WriteFile(folder.filePath("starts"), "#!/bin/sh\necho \"$PWD $*\" > started.txt\n", runnable);

    struct Row {
        QString file;
        QString folder;
        int result;
    };
    const QString here = folder.path();
    const Row rows[] = {
        {here + "/missing", here, kShellFileNotFound},
        {here + "/plain", here, kShellAccessDenied},
        {here, here, kShellAccessDenied},
        {here + "/starts", here + "/no-folder", kShellPathNotFound},
        {here + "/no-interpreter", here, kShellBadFormat},
        {"no-such-program-anywhere", "", kShellFileNotFound},
        {"starts", here, kShellStarted},
    };
    CQtShellLauncher launcher;
    for (const Row& row : rows)
        EXPECT_EQ(launcher.StartProgram(row.file.toStdString(), {"a b", "c"}, row.folder.toStdString()), row.result)
            << row.file.toStdString();

    // The started program ran in its folder with its arguments.
    const QString record = folder.filePath("started.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(record).size() > 0; }, 5000));
    QFile started(record);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll(), (here + " a b c\n").toUtf8());
}

// Documents are checked before the desktop is asked; a Windows program is
// never handed to it.
TEST(QtShellLauncher, DocumentsThatCannotOpenAreRefusedWithTheirCodes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteFile(folder.filePath("TeamViewerQS.exe"), "MZ", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const struct {
        QString target;
        int result;
    } rows[] = {
        {folder.filePath("Quorin Manual.htm"), kShellFileNotFound},
        {folder.filePath("gone/Quorin Manual.htm"), kShellPathNotFound},
        {folder.path(), kShellAccessDenied},
        {folder.filePath("TeamViewerQS.exe"), kShellBadFormat},
        {"https://exa mple.invalid/ page", kShellFileNotFound},
    };
    CQtShellLauncher launcher;
    for (const auto& row : rows)
        EXPECT_EQ(launcher.OpenDocument(row.target.toStdString()), row.result) << row.target.toStdString();
}

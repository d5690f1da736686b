// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The working folder from the settings files, entered before the first dialog; a folder that
// cannot be reached is told to the learner and nothing is saved.

#include "working_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

#include "data_folder.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

// Sets an environment variable for its lifetime.
class Variable {
public:
    Variable(const char* name, const QString& value) : name_(name) {
        if (qEnvironmentVariableIsSet(name))
            old_ = qEnvironmentVariable(name);
        qputenv(name, value.toLocal8Bit());
    }
    ~Variable() { old_ ? qputenv(name_, old_->toLocal8Bit()) : qunsetenv(name_); }

private:
    const char* name_;
    std::optional<QString> old_;
};

class WorkingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const QString folder : {"user/rovedavu", "sys1/rovedavu", "sys2/rovedavu", "class",
                                     "mine", "start", "klasse 3,a/rovedavu", "klasse 3, a"})
            ASSERT_TRUE(QDir(dir_.path()).mkpath(folder));
        ASSERT_TRUE(QDir::setCurrent(path("start")));
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QString path(const QString& name) const { return dir_.filePath(name); }
    void settings(const QString& folder, const QString& line) {
        QFile file(path(folder + "/rovedavu/rovedavu.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(line.toUtf8() + "\n");
    }

    const QString previous_ = QDir::currentPath();
    QTemporaryDir dir_;
    Variable configHome_{"XDG_CONFIG_HOME", dir_.filePath("user")};
    Variable configDirs_{"XDG_CONFIG_DIRS", dir_.filePath("sys1") + ":" + dir_.filePath("sys2")};
    Variable dataHome_{"XDG_DATA_HOME", dir_.filePath("data")};
};

TEST_F(WorkingFolder, SettingsFilesInTheirOrder) {
    const struct {
        QString user, sys1, sys2;
        QString expected;  // relative to the temporary folder
        bool configured;
    } rows[] = {
        {"", "", "", "data/rovedavu", false},
        {"", "", "DataFolder=<class>", "class", true},
        {"", "DataFolder=<mine>", "DataFolder=<class>", "mine", true},
        {"", "DataFolder=mine", "DataFolder=<class>", "class", true},  // relative: unset
        {"DataFolder=", "", "DataFolder=<class>", "class", true},      // empty: unset
        {"[General]\nDataFolder=<mine>/", "", "DataFolder=<class>", "mine", true},
        // A comma, which QSettings reads as a list separator: one folder, spaces kept.
        {"DataFolder=<klasse 3,a/rovedavu>", "", "DataFolder=<class>", "klasse 3,a/rovedavu", true},
        {"DataFolder=<klasse 3, a> ; room 2", "", "", "klasse 3, a", true},
        // A system file may lock its folder against the user's file, but not the other way.
        {"DataFolder=<mine>", "", "DataFolder=<class>\nDataFolderLocked=true", "class", true},
        {"DataFolder=<mine>", "", "DataFolder=<class>\nDataFolderLocked=false", "mine", true},
        {"DataFolder=<mine>\nDataFolderLocked=true", "",
         "DataFolder=<class>\nDataFolderLocked=true", "class", true},
    };
    for (const auto& row : rows) {
        for (const QString folder : {"user", "sys1", "sys2"})
            QFile::remove(path(folder + "/rovedavu/rovedavu.conf"));
        const auto fill = [&](QString line) {
            return line.replace("<", dir_.path() + "/").remove(">");
        };
        if (!row.user.isEmpty())
            settings("user", fill(row.user));
        if (!row.sys1.isEmpty())
            settings("sys1", fill(row.sys1));
        if (!row.sys2.isEmpty())
            settings("sys2", fill(row.sys2));
        const records::WorkingFolder folder = records::workingFolder();
        EXPECT_EQ(folder.path.toStdString(), path(row.expected).toStdString());
        EXPECT_EQ(folder.configured, row.configured) << row.expected.toStdString();

        ASSERT_TRUE(QDir::setCurrent(path("start")));
        QDir().rmdir(path(row.expected + "/rirekidata"));
        FakeDialogs dialogs;
        EXPECT_EQ(ui::startInWorkingFolder(dialogs), u"");
        EXPECT_TRUE(dialogs.calls.empty());
        // The program enters the folder itself and makes rirekidata in it.
        EXPECT_EQ(QDir::currentPath().toStdString(), path(row.expected).toStdString());
        EXPECT_TRUE(QFileInfo(path(row.expected + "/rirekidata")).isDir()) << "no rirekidata";
    }
}

TEST_F(WorkingFolder, APerUserFolderThatCannotBeMadeLeavesTheDrillWhereItStarted) {
    QFile file(path("a-file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const Variable dataHome{"XDG_DATA_HOME", path("a-file/data")};
    FakeDialogs dialogs;
    EXPECT_EQ(ui::startInWorkingFolder(dialogs), u"");
    EXPECT_TRUE(dialogs.calls.empty()) << "the end of the drill says that it was not saved";
    EXPECT_EQ(QDir::currentPath(), path("start"));
}

TEST_F(WorkingFolder, AFolderThatCannotBeReachedIsToldBeforeAnythingElse) {
    const QString share = path("share/not mounted");
    settings("sys1", "DataFolder=" + share);
    FakeDialogs dialogs;
    const std::u16string reason = ui::startInWorkingFolder(dialogs);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "message");
    EXPECT_EQ(dialogs.calls[0].title, "ぽるねあ");
    EXPECT_TRUE(dialogs.calls[0].prompt.startsWith("きろくを しまう フォルダに つながりません。"));
    EXPECT_TRUE(dialogs.calls[0].prompt.contains(share));
    EXPECT_TRUE(dialogs.calls[0].prompt.contains("フォルダがありません。"));
    EXPECT_TRUE(qs(reason).contains(share)) << qs(reason).toStdString();
    EXPECT_EQ(QDir::currentPath(), path("start"));
    EXPECT_FALSE(QFileInfo::exists(share));
}

}  // namespace
}  // namespace uitest

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A class folder shared by the learners' accounts, set up as the README tells administrators:
// rirekidata in the class group, setgid and sticky (mode 3775). Two learners end drills with
// the real records code, each under an account of their own; the teacher's program reads the
// folder as a third account of the group. The learners' umask keeps other accounts out, so
// the teacher reads through the group alone. Switching accounts needs root.

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

#include "archive_names.h"
#include "history_file.h"
#include "records_support.h"

namespace {

using records_test::entries;
using records_test::readFile;

constexpr gid_t kClassGroup = 64100;

// An account of its own, with a group of its own and the class group besides.
struct Account {
    uid_t uid;
};
constexpr Account kPupilA{64101};
constexpr Account kPupilB{64102};
constexpr Account kTeacher{64103};

void becomeAccount(Account account, mode_t umask) {
    const gid_t groups[] = {kClassGroup};
    if (::setgroups(1, groups) != 0 || ::setgid(account.uid) != 0 || ::setuid(account.uid) != 0)
        ::_exit(125);
    ::umask(umask);
}

// The bytes of the drill that concurrent_writer ends first with that ID and tag.
QByteArray drillBytes(const std::u16string& id, const QString& tag) {
    drill::DrillState state = records_test::fullDrill(1, id);
    state.mydate = (tag + QStringLiteral("-0")).toStdU16String();
    return records::historyFileBytes(state);
}

class SharedClassFolder : public testing::Test {
protected:
    void SetUp() override {
        if (!records_test::runningAsRoot()) {
            std::fprintf(stderr,
                         "\n*** NOT TESTED: the protection of learners' files in a shared class "
                         "folder needs root, to switch accounts ***\n\n");
            GTEST_SKIP() << "switching accounts needs root";
        }
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
        ASSERT_TRUE(QDir(dir_.path()).mkdir("rirekidata"));
        ASSERT_EQ(::chown(path("rirekidata").constData(), 0, kClassGroup), 0);
        ASSERT_EQ(::chmod(path("rirekidata").constData(), 03775), 0);
    }

    QByteArray path(const QString& name) const { return QFile::encodeName(dir_.filePath(name)); }

    struct Run {
        int status = -1;
        QString errors;
    };

    Run runAs(Account account, const QString& program, const QStringList& arguments,
              const QString& home) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home);
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier(
            [account, umask = umask_] { becomeAccount(account, umask); });
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }

    // A learner ends one drill with that ID through the records, as the program does.
    Run endDrill(Account account, const QString& id, const QString& tag) const {
        return runAs(account, CONCURRENT_WRITER, {dir_.path(), id, "1", tag}, dir_.path());
    }

    // The errno of what the account did, 0 when it was done.
    int errorAs(Account account, const std::function<int()>& operation) const {
        const pid_t child = ::fork();
        if (child == 0) {
            becomeAccount(account, umask_);
            ::_exit(operation() == 0 ? 0 : errno);
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }

    // The archive files of that ID, with their owners.
    QMap<QByteArray, uid_t> archive(const QString& id) const {
        QMap<QByteArray, uid_t> files;
        const QString folder = dir_.filePath("rirekidata/kiroku/Rovedavu" + id);
        for (const QString& name : entries(folder)) {
            EXPECT_TRUE(records::parseArchiveFileName(name)) << name.toStdString();
            struct stat status {};
            EXPECT_EQ(::stat(QFile::encodeName(folder + '/' + name).constData(), &status), 0);
            files.insert(readFile(folder + '/' + name), status.st_uid);
        }
        return files;
    }

    QTemporaryDir dir_;
    // Of every account's processes: other accounts may not read the files.
    mode_t umask_ = 027;
};

TEST_F(SharedClassFolder, ALearnersDrillsCannotBeDeletedRenamedOrChangedByAClassmate) {
    umask_ = 002;  // files the group may write, as many shared set-ups have them
    const Run a = endDrill(kPupilA, "1", "a");
    ASSERT_EQ(a.status, 0) << a.errors.toStdString();
    for (const char* folder : {"rirekidata/kiroku", "rirekidata/kiroku/Rovedavu1"}) {
        struct stat status {};
        ASSERT_EQ(::stat(path(folder).constData(), &status), 0);
        EXPECT_EQ(QString::number(status.st_mode & 07777, 8).toStdString(), "3775") << folder;
        EXPECT_EQ(status.st_gid, kClassGroup) << folder;
    }
    const QStringList archived = entries(dir_.filePath("rirekidata/kiroku/Rovedavu1"));
    ASSERT_EQ(archived.size(), 1);
    const QByteArray archiveFile = path("rirekidata/kiroku/Rovedavu1/" + archived.front());
    const QByteArray learnerFolder = path("rirekidata/kiroku/Rovedavu1");
    const QByteArray historyFile = path("rirekidata/Rovedavu1.txt");

    // The folders let the classmate in and make files (EACCES there would be a folder closed
    // to the class); only the sticky bit stops a rename or a delete (EPERM). The archive file
    // itself is its owner's alone to write.
    const struct {
        const char* what;
        int error;
        std::function<int()> operation;
    } rows[] = {
        {"delete the archive file", EPERM, [&] { return ::unlink(archiveFile.constData()); }},
        {"rename the archive file", EPERM,
         [&] { return ::rename(archiveFile.constData(), (archiveFile + "x").constData()); }},
        {"write into the archive file", EACCES,
         [&] { return ::open(archiveFile.constData(), O_WRONLY) < 0 ? -1 : 0; }},
        {"rename the learner's folder", EPERM,
         [&] { return ::rename(learnerFolder.constData(), (learnerFolder + "x").constData()); }},
        {"delete the history file", EPERM, [&] { return ::unlink(historyFile.constData()); }},
        {"rename the history file", EPERM,
         [&] { return ::rename(historyFile.constData(), (historyFile + "x").constData()); }},
    };
    for (const auto& row : rows)
        EXPECT_EQ(errorAs(kPupilB, row.operation), row.error) << row.what;

    const QByteArray bytes = drillBytes(u"1", "a");
    EXPECT_EQ(archive("1"), (QMap<QByteArray, uid_t>{{bytes, kPupilA.uid}}));
    EXPECT_EQ(readFile(historyFile), bytes);
    EXPECT_EQ(entries(dir_.filePath("rirekidata")), (QStringList{"Rovedavu1.txt", "kiroku"}));
}

TEST_F(SharedClassFolder, AClassmateUsingTheSameIdIsArchivedButCannotReplaceTheHistoryFile) {
    const Run a = endDrill(kPupilA, "1", "a");
    ASSERT_EQ(a.status, 0) << a.errors.toStdString();
    const Run b = endDrill(kPupilB, "1", "b");
    EXPECT_EQ(b.status, 1);
    // The history file's reason, then the archive's, which was written.
    const QString reason = QString::fromStdU16String(std::u16string(records::reasons::kOthersFile));
    EXPECT_TRUE(b.errors.endsWith(QStringLiteral("drill 0: %1 / \n").arg(reason)))
        << b.errors.toStdString();

    EXPECT_EQ(readFile(dir_.filePath("rirekidata/Rovedavu1.txt")), drillBytes(u"1", "a"));
    EXPECT_EQ(archive("1"), (QMap<QByteArray, uid_t>{{drillBytes(u"1", "a"), kPupilA.uid},
                                                     {drillBytes(u"1", "b"), kPupilB.uid}}));
    EXPECT_EQ(entries(dir_.filePath("rirekidata")), (QStringList{"Rovedavu1.txt", "kiroku"}));
}

TEST_F(SharedClassFolder, TheTeacherInTheGroupReadsEveryLearnersDrills) {
    ASSERT_EQ(endDrill(kPupilA, "1", "a").status, 0);
    ASSERT_EQ(endDrill(kPupilB, "1", "b").status, 1);
    ASSERT_EQ(endDrill(kPupilB, "2", "b").status, 0);
    const QString home = dir_.filePath("teacher");
    ASSERT_TRUE(QDir().mkdir(home));
    ASSERT_EQ(::chown(QFile::encodeName(home).constData(), kTeacher.uid, kTeacher.uid), 0);

    const QString csv = home + "/class.csv";
    const Run run =
        runAs(kTeacher, ROVEDAVU_REPORT, {"--csv", csv, dir_.filePath("rirekidata")}, home);
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.errors.toStdString(), "");  // no file left unread
    const QStringList lines = QString::fromUtf8(readFile(csv)).split("\r\n");
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
    EXPECT_TRUE(lines[1].startsWith("\"1\",2,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("\"2\",1,")) << lines[2].toStdString();
}

}  // namespace

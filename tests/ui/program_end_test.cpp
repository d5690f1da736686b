// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the real program when the sound server fails in the middle of a drill: the
// `rovedavu` binary runs as a child process, offscreen, with a PulseAudio server of the
// test's own and the scripted learner preloaded into it. Whatever the server does, the
// program must end by itself with status 0 soon after the last Yes, with the history file and
// the archive whole and no process of its own left behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <thread>

#include "history_reader.h"
#include "recorded_sound.h"

namespace uitest {
namespace {

using std::chrono::milliseconds;

// The processes whose parent is the test program and that still run: one that has ended
// and waits only to be reaped (a zombie) runs no more.
std::set<pid_t> children() {
    std::set<pid_t> found;
    const QString self = QString::number(::getpid());
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        QFile stat(it.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self.toLatin1() && fields[0] != "Z")
            found.insert(it.fileName().toInt());
    }
    return found;
}

class ProgramEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(serverDir_.isValid() && workDir_.isValid());
        // Whatever the program leaves running when it ends comes to the test, not to init.
        ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        server_ = std::make_unique<SoundServer>(serverDir_.path());
        ASSERT_TRUE(server_->start())
            << "pulseaudio did not start; its log is in " << serverDir_.path().toStdString();
        oldCurrent_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(workDir_.path()));
        ASSERT_TRUE(QDir().mkdir(QStringLiteral("rirekidata")));
        // The program enters the folder that its settings name: this one.
        ASSERT_TRUE(QDir().mkpath(QStringLiteral("config/rovedavu")));
        QFile settings(QStringLiteral("config/rovedavu/rovedavu.conf"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("DataFolder=" + QFile::encodeName(workDir_.path()) + '\n');
    }
    void TearDown() override {
        program_.reset();
        if (server_)
            server_->signal(SIGCONT);
        server_.reset();
        QDir::setCurrent(oldCurrent_);
        if (HasFailure()) {
            serverDir_.setAutoRemove(false);
            workDir_.setAutoRemove(false);
            std::cout << "the program's log: " << log().toStdString() << '\n';
        }
    }

    QString log() const { return workDir_.filePath(QStringLiteral("rovedavu.log")); }

    // Waits for a file that the scripted learner makes.
    static bool waitForFile(const QString& name, std::chrono::seconds limit) {
        const auto deadline = SteadyClock::now() + limit;
        while (!QFile::exists(name)) {
            if (SteadyClock::now() > deadline)
                return false;
            std::this_thread::sleep_for(milliseconds(5));
        }
        return true;
    }

    // A whole drill of the real program; `fault` is done to the sound server after the
    // tenth problem, while the learner waits. Then the learner goes on to the end.
    void drillWith(const std::function<void()>& fault) {
        const std::set<pid_t> before = children();
        const std::string work = workDir_.path().toStdString();
        program_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{ROVEDAVU_PROGRAM},
            std::vector<std::string>{"LD_PRELOAD=" SCRIPTED_LEARNER, "QT_QPA_PLATFORM=offscreen",
                                     "HOME=" + work, "XDG_CONFIG_HOME=" + work + "/config",
                                     "XDG_CONFIG_DIRS=" + work + "/config-dirs",
                                     "XDG_DATA_HOME=" + work + "/data"},
            -1, log().toStdString());
        ASSERT_TRUE(waitForFile(QStringLiteral("solved-10"), std::chrono::seconds(30)))
            << "the drill did not reach its middle";
        fault();
        ASSERT_FALSE(HasFatalFailure());
        QFile(QStringLiteral("go-on")).open(QIODevice::WriteOnly);
        ASSERT_TRUE(waitForFile(QStringLiteral("last-yes"), std::chrono::seconds(30)))
            << "the drill did not reach its end";
        const auto lastYes = SteadyClock::now();
        const bool ended = program_->waitForEnd(milliseconds(5000));
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - lastYes).count();
        ASSERT_TRUE(ended) << "the program still runs 5 s after the last Yes";
        std::cout << "the program ended " << seconds << " s after the last Yes\n";
        const int status = program_->exitStatus();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                    : "status " + std::to_string(WEXITSTATUS(status)));

        std::set<pid_t> left = children();
        for (pid_t pid : before)
            left.erase(pid);
        EXPECT_TRUE(left.empty()) << left.size() << " processes left behind";

        QByteArray history;
        const records::HistoryRead read =
            records::readHistoryFile(QStringLiteral("rirekidata/Rovedavu41.txt"), &history);
        ASSERT_TRUE(read.drill.has_value()) << read.refusal.toStdString();
        EXPECT_EQ(read.drill->date, QStringLiteral("12/7"));
        EXPECT_EQ(read.drill->solved(), 20);
        const QDir archive(QStringLiteral("rirekidata/kiroku/Rovedavu41"));
        const QStringList archived = archive.entryList(QDir::Files | QDir::Hidden);
        ASSERT_EQ(archived.size(), 1) << archived.join(u' ').toStdString();
        QFile file(archive.filePath(archived.front()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), history) << "the archive holds the drill's bytes";
        EXPECT_FALSE(archived.front().startsWith(u'.')) << "the archive file got its name";
    }

    std::unique_ptr<SoundServer> server_;

private:
    QTemporaryDir serverDir_;
    QTemporaryDir workDir_;
    QString oldCurrent_;
    std::unique_ptr<ChildProcess> program_;
};

// The sound thread waits for the stopped server from the next cue on, to the end.
TEST_F(ProgramEnd, EndsWithStatus0WhenTheSoundServerHangsMidDrill) {
    drillWith([this] { server_->signal(SIGSTOP); });
}

// The server is killed while the sound thread waits for it, as a server that stopped
// answering is killed by whatever watches it: the thread goes on waiting.
TEST_F(ProgramEnd, EndsWithStatus0WhenTheSoundServerIsKilledMidDrill) {
    drillWith([this] {
        server_->signal(SIGSTOP);
        QFile(QStringLiteral("go-on")).open(QIODevice::WriteOnly);
        ASSERT_TRUE(waitForFile(QStringLiteral("solved-12"), std::chrono::seconds(30)));
        server_->signal(SIGKILL);
        server_->stop();
    });
}

}  // namespace
}  // namespace uitest

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// MMControl1: where it finds a cue, that it holds no more than the open file, and that a cue
// it cannot play passes in silence. What the cues sound like is heard in
// recorded_cues_test.cpp.

#include "multimedia_control.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <mutex>

#include "multimedia_control_probe.h"
#include "sound_log.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

class MultimediaControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        oldCurrent_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    }
    void TearDown() override {
        settle();
        QDir::setCurrent(oldCurrent_);
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(QDir(dir_.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The whole sequence of a next or end cue.
    void playButtonCue(const std::u16string& file) {
        control.setCommand(u"Stop");
        control.setCommand(u"Close");
        control.setFileName(file);
        control.setCommand(u"Open");
        control.setCommand(u"Sound");
    }

    QUrl openSource() { return ui::MultimediaControlProbe::openSource(control); }
    int effectCount() { return ui::MultimediaControlProbe::effectCount(control); }

    ui::MultimediaControl control;
    QTemporaryDir dir_;
    QString oldCurrent_;
};

TEST_F(MultimediaControlTest, FindsABareNameInTheCurrentDirectoryFirst) {
    EXPECT_EQ(ui::MultimediaControl::locate(QStringLiteral("pinpon.wav")),
              QUrl(QStringLiteral("qrc:/sounds/pinpon.wav")));
    write(QStringLiteral("pinpon.wav"), QByteArray("RIFF"));
    EXPECT_EQ(ui::MultimediaControl::locate(QStringLiteral("pinpon.wav")),
              QUrl::fromLocalFile(QDir(dir_.path()).filePath(QStringLiteral("pinpon.wav"))));
}

TEST_F(MultimediaControlTest, TakesANameWithAFolderAsGiven) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("cues")));
    write(QStringLiteral("cues/own.wav"), QByteArray("RIFF"));
    const QUrl expected =
        QUrl::fromLocalFile(QDir(dir_.path()).filePath(QStringLiteral("cues/own.wav")));
    EXPECT_EQ(ui::MultimediaControl::locate(QStringLiteral("cues/own.wav")), expected);
    EXPECT_EQ(ui::MultimediaControl::locate(QStringLiteral("cues\\own.wav")), expected);
    EXPECT_TRUE(ui::MultimediaControl::locate(QStringLiteral("cues/pinpon.wav")).isEmpty())
        << "a folder is never replaced by the shipped cues";
}

TEST_F(MultimediaControlTest, CommandsInAnyCase) {
    control.setFileName(u"Chimes.wav");
    control.setCommand(u"OPEN");
    EXPECT_TRUE(ui::MultimediaControlProbe::playerLoaded(control))
        << "the cue module beside the program";
    EXPECT_EQ(openSource(), QUrl(QStringLiteral("qrc:/sounds/Chimes.wav")));
    control.setCommand(u"close");
    EXPECT_TRUE(openSource().isEmpty());
    control.setCommand(u"open");
    control.setCommand(u"Close");
    EXPECT_TRUE(openSource().isEmpty());
    control.setCommand(u"Eject");  // not a command of ours: nothing happens
    control.setCommand(u"");
    EXPECT_TRUE(openSource().isEmpty());
}

// Ten drills' cues, each sound effect released when the next cue closes it.
TEST_F(MultimediaControlTest, HoldsNoMoreThanTheOpenFile) {
    for (int round = 0; round < 300; ++round) {
        control.setCommand(u"close");
        control.setFileName(u"Chimes2.wav");
        control.setCommand(u"Open");
        control.setCommand(u"Sound");
        playButtonCue(u"pinpon.wav");
    }
    EXPECT_EQ(effectCount(), 1);
    EXPECT_EQ(openSource(), QUrl(QStringLiteral("qrc:/sounds/pinpon.wav")));
    control.setCommand(u"Close");
    EXPECT_EQ(effectCount(), 0);
}

TEST_F(MultimediaControlTest, NothingOpenAtTheFirstCue) {
    control.setCommand(u"Stop");
    control.setCommand(u"Close");
    control.setCommand(u"close");
    control.setCommand(u"Sound");  // no file name yet
    EXPECT_TRUE(openSource().isEmpty());
    EXPECT_EQ(effectCount(), 0);
}

TEST_F(MultimediaControlTest, MissingEmptyAndBrokenFilesPassInSilence) {
    playButtonCue(u"nothing-here.wav");
    EXPECT_TRUE(openSource().isEmpty());
    EXPECT_EQ(effectCount(), 0);

    write(QStringLiteral("empty.wav"), QByteArray());
    write(QStringLiteral("broken.wav"), QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 24));
    playButtonCue(u"empty.wav");
    playButtonCue(u"broken.wav");
    settle();
    playButtonCue(u"empty.wav");
    playButtonCue(u"broken.wav");
    playButtonCue(u"nothing-here.wav");
    EXPECT_LE(effectCount(), 1);
}

// Each character a cue: '+' with a sound device, '-' without.
TEST(MissingDeviceNotice, ToldOnceUntilTheDeviceHasComeBack) {
    const struct {
        const char* cues;
        const char* told;
    } rows[] = {
        {"-----", "x...."},
        {"+++", "..."},
        {"++--+", "..x.."},
        {"--+--+-", "x..x..x"},
    };
    for (const auto& row : rows) {
        ui::MissingDeviceNotice notice;
        std::string told;
        for (const char* cue = row.cues; *cue != '\0'; ++cue)
            told += notice.tell(*cue == '+') ? 'x' : '.';
        EXPECT_EQ(told, row.told) << row.cues;
    }
}

std::mutex linesMutex;
QStringList lines;
QtMessageHandler before = nullptr;

void keepLine(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    {
        const std::lock_guard lock(linesMutex);
        lines << message;
    }
    before(type, context, message);
}

// Twenty cues without a sound device: a sound server that is not there.
TEST_F(MultimediaControlTest, AMissingSoundDeviceIsToldOnce) {
    qputenv("PULSE_SERVER", QByteArray("unix:") + QFile::encodeName(dir_.filePath("none")));
    before = qInstallMessageHandler(keepLine);
    for (int cue = 0; cue < 20; ++cue) {
        playButtonCue(cue % 2 == 0 ? u"pinpon.wav" : u"Chimes2.wav");
        // Qt's own line comes as the file is loaded. Now and then Qt leaves an effect
        // loading for good; the next cue does not wait for it.
        const QDeadlineTimer deadline(200);
        while (!ui::MultimediaControlProbe::openLoaded(control) && !deadline.hasExpired())
            QThread::msleep(1);
    }
    control.setCommand(u"Close");
    ui::MultimediaControlProbe::finishCommands(control);
    qInstallMessageHandler(before);
    const std::lock_guard lock(linesMutex);
    EXPECT_EQ(lines.filter(QStringLiteral("device")).size(), 1) << lines.join('\n').toStdString();
}

}  // namespace
}  // namespace uitest

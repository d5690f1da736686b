// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui_fakes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "application.h"
#include "multimedia_control.h"

namespace uitest {

QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

std::u16string FakeDialogs::inputBox(const std::u16string& prompt, const std::u16string& title) {
    calls.push_back({"input", qs(prompt), qs(title)});
    if (inputs.empty())
        return {};
    const QString typed = inputs.front();
    inputs.pop_front();
    return u16(typed);
}

bool FakeDialogs::askYesNo(const std::u16string& prompt, const std::u16string& title) {
    calls.push_back({"yesno", qs(prompt), qs(title)});
    if (answers.empty())
        return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void FakeDialogs::showMessage(const std::u16string& prompt, const std::u16string& title) {
    calls.push_back({"message", qs(prompt), qs(title)});
}

int FakeDialogs::count(const std::string& kind) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const DialogCall& c) { return c.kind == kind; }));
}

double FakeRandom::next() {
    value = std::fmod(value + 0.6180339887, 1.0);
    return value;
}

void FakeSound::setCommand(const std::u16string& command) {
    settings.push_back(QStringLiteral("Command=") + qs(command));
    if (qs(command).compare(QLatin1String("Sound"), Qt::CaseInsensitive) == 0)
        sounded_.push_back(fileName_);
}

void FakeSound::setFileName(const std::u16string& fileName) {
    fileName_ = qs(fileName);
    settings.push_back(QStringLiteral("FileName=") + fileName_);
}

int FakeSound::sounded(const QString& fileName) const {
    return static_cast<int>(std::count(sounded_.begin(), sounded_.end(), fileName));
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

namespace {

#ifndef ROVEDAVU_TEST_SCREEN_WIDTH
#define ROVEDAVU_TEST_SCREEN_WIDTH 1280
#define ROVEDAVU_TEST_SCREEN_HEIGHT 1024
#endif

// One application for the whole test program, set up as the program sets it up, offscreen
// on one screen of ROVEDAVU_TEST_SCREEN_WIDTH × ROVEDAVU_TEST_SCREEN_HEIGHT, with window
// frames. Both windows fit a 1280 × 1024 screen where they are placed.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        QFile config(screens_.filePath(QStringLiteral("screens.json")));
        if (!config.open(QIODevice::WriteOnly) ||
            config.write(QStringLiteral(R"({"windowFrameMargins": true, "screens": [)"
                                        R"({"name": "test", "width": %1, "height": %2}]})")
                             .arg(ROVEDAVU_TEST_SCREEN_WIDTH)
                             .arg(ROVEDAVU_TEST_SCREEN_HEIGHT)
                             .toUtf8()) < 0)
            qFatal("cannot write the offscreen screen configuration");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
        app_ = new QApplication(argc_, argv_);
        ui::setUpApplication(*app_);
    }
    void TearDown() override {
        // As the program does at its end, the sound threads end first. Qt Multimedia reads a
        // cue's file on a thread of its own, which may still be reading the last test's
        // broken file: it gets a moment, so that it does not ask the application, gone by
        // then, for the words of its error.
        ui::MultimediaControl::endSoundThreads();
        const QDeadlineTimer grace(200);
        while (!grace.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        delete app_;
        app_ = nullptr;
    }

private:
    QTemporaryDir screens_;
    int argc_ = 1;
    char name_[16] = "ui_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace uitest

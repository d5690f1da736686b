// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui_fakes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "application.h"

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

// One application for the whole test program, set up as the program sets it up.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QApplication(argc_, argv_);
        ui::setUpApplication(*app_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "ui_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace uitest

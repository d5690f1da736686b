// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_fakes.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

#include "form2.h"
#include "mixing_random.h"

namespace bench {

std::u16string ScriptedDialogs::inputBox(const std::u16string&, const std::u16string&) {
    if (inputs.empty())
        return {};
    std::u16string typed = std::move(inputs.front());
    inputs.pop_front();
    return typed;
}

bool ScriptedDialogs::askYesNo(const std::u16string&, const std::u16string&) {
    if (answers.empty())
        return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

DrillWindow::DrillWindow(drill::SoundControl* sound) : sound_(sound) {
    if (!dir_.isValid() || !QDir(dir_.path()).mkdir(QStringLiteral("rirekidata")))
        throw std::runtime_error("no temporary working folder");
    oldCurrent_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
}

DrillWindow::~DrillWindow() {
    finish();
    QDir::setCurrent(oldCurrent_);
}

void DrillWindow::finish() {
    delete form_.data();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ui::Form2*>(window) != nullptr)
            delete window;
    }
    settle();
}

void DrillWindow::start() {
    finish();
    random_ = std::make_unique<drill::MixingRandom>();
    dialogs.inputs = {u"8/1", u"bench"};
    ui::Form1Services services;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.random = random_.get();
    services.sound = sound_;
    services.exit = [](int code) {
        if (code != 0)
            throw std::runtime_error("the drill window reported an error");
    };
    form_ = new ui::Form1(std::move(services));
    form_->show();
    settle();
}

int DrillWindow::problemNumber() const {
    return form_->state().n;
}

void DrillWindow::fillRight() {
    const int dividend = form_->Label[0]->text().toInt();
    const int divisor = form_->Label[2]->text().toInt();
    form_->Text1[0]->setText(QString::number(dividend / divisor));
    form_->Text1[1]->setText(QString::number(dividend % divisor));
}

void DrillWindow::fillWrong() {
    const int dividend = form_->Label[0]->text().toInt();
    const int divisor = form_->Label[2]->text().toInt();
    form_->Text1[0]->setText(QString::number(dividend / divisor + 1));
    form_->Text1[1]->setText(QString::number(dividend % divisor));
}

}  // namespace bench

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drill_window.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace uitest {

void DrillWindowTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("rirekidata")));
    oldCurrent_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
}

void DrillWindowTest::TearDown() {
    delete form.data();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ui::Form2*>(window) != nullptr)
            delete window;
    }
    settle();
    QDir::setCurrent(oldCurrent_);
}

ui::Form1Services DrillWindowTest::services() {
    ui::Form1Services s;
    s.dialogs = &dialogs;
    s.clock = &clock;
    s.random = &random;
    s.sound = &sound;
    s.exit = [this](int code) { exits.push_back(code); };
    return s;
}

ui::Form1* DrillWindowTest::create() {
    form = new ui::Form1(services());
    return form;
}

ui::Form1* DrillWindowTest::open(const QString& date, const QString& id) {
    dialogs.inputs = {date, id};
    create();
    form->show();
    settle();
    return form;
}

Problem DrillWindowTest::problem() const {
    Problem p;
    p.dividend = form->Label[0]->text().toInt();
    p.divisor = form->Label[2]->text().toInt();
    p.text = QStringLiteral(" %1%2 %3").arg(p.dividend).arg(form->Label[1]->text()).arg(p.divisor);
    return p;
}

void DrillWindowTest::type(const QString& quotient, const QString& remainder) {
    const QString texts[] = {quotient, remainder};
    for (int index = 0; index < 2; ++index) {
        QLineEdit* box = form->Text1[index];
        box->setFocus();
        box->selectAll();
        if (texts[index].isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, texts[index]);
    }
}

void DrillWindowTest::press(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

void DrillWindowTest::answerRight() {
    const Problem p = problem();
    type(QString::number(p.quotient()), QString::number(p.remainder()));
    press(form->Command1);
}

void DrillWindowTest::answerWrong() {
    const Problem p = problem();
    type(QString::number(p.quotient() + 1), QString::number(p.remainder()));
    press(form->Command1);
}

QLabel* DrillWindowTest::mark() const {
    return form->Label[4];
}

QColor DrillWindowTest::markColour() const {
    return mark()->palette().color(QPalette::WindowText);
}

ui::Form2* DrillWindowTest::results() const {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form2 = qobject_cast<ui::Form2*>(window);
        if (form2 != nullptr && form2->isVisible())
            return form2;
    }
    return nullptr;
}

QString DrillWindowTest::historyPath(const QString& id) const {
    return QDir::current().filePath(QStringLiteral("rirekidata/Rovedavu") + id +
                                    QStringLiteral(".txt"));
}

}  // namespace uitest

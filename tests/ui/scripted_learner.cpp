// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A learner inside the real program, for the tests that run `rovedavu` itself: loaded with
// LD_PRELOAD, it starts with the application and works the real windows and dialogs from a
// timer, offscreen. It types the date 12/7 and the ID 41, solves the twenty problems, answers
// the end question Yes, presses the results window's end button and answers Yes again.
//
// It talks to the test through files in the current folder: "solved-N" once problem N is
// answered right, "last-yes" just before the last Yes. After the tenth problem it waits
// until the test makes "go-on". A message with only an OK button is printed to standard
// error and then closed.

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

constexpr int kStepMs = 40;
constexpr int kProblems = 20;
constexpr int kPauseAfter = 10;

void touch(const QString& name) {
    QFile file(name);
    (void)file.open(QIODevice::WriteOnly);
}

QWidget* shownWindow(const char* className) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->inherits(className))
            return window;
    }
    return nullptr;
}

class Learner : public QObject {
public:
    explicit Learner(QObject* parent) : QObject(parent) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { step(); });
        timer->start(kStepMs);
    }

private:
    // Each action runs from the event loop rather than from the timer: a dialog it opens runs
    // an event loop of its own, and the timer must go on in there.
    void later(std::function<void()> action) {
        busy_ = true;
        QMetaObject::invokeMethod(
            this,
            [this, action = std::move(action)] {
                busy_ = false;
                action();
            },
            Qt::QueuedConnection);
    }

    void step() {
        if (busy_ || (paused_ && !QFile::exists(QStringLiteral("go-on"))))
            return;
        paused_ = false;
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            const QString text = inputs_++ == 0 ? QStringLiteral("12/7") : QStringLiteral("41");
            later([input = QPointer(input), text] {
                if (input != nullptr) {
                    input->setTextValue(text);
                    input->accept();
                }
            });
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            answer(box);
        } else if (QWidget* results = shownWindow("ui::Form2")) {
            later([button = QPointer(results->findChild<QPushButton*>("Command1"))] {
                if (button != nullptr)
                    button->click();
            });
        } else if (QWidget* drill = shownWindow("ui::Form1")) {
            work(drill);
        }
    }

    void answer(QMessageBox* box) {
        QAbstractButton* button = box->button(QMessageBox::Yes);
        if (button == nullptr) {
            std::fprintf(stderr, "scripted learner: message \"%s\"\n", qPrintable(box->text()));
            button = box->button(QMessageBox::Ok);
        } else if (shownWindow("ui::Form2") != nullptr) {
            touch(QStringLiteral("last-yes"));
        }
        later([button = QPointer(button)] {
            if (button != nullptr)
                button->click();
        });
    }

    void work(QWidget* drill) {
        auto* answerButton = drill->findChild<QPushButton*>("Command1");
        auto* nextButton = drill->findChild<QPushButton*>("Command2");
        auto* endButton = drill->findChild<QPushButton*>("Command3");
        const auto number = [drill](const char* label) {
            return drill->findChild<QLabel*>(label)->text().toInt();
        };
        if (answerButton->isEnabled()) {
            const int dividend = number("Label(0)");
            const int divisor = number("Label(2)");
            if (divisor == 0)
                return;  // the window shows before start-up draws the first problem
            later([this, drill = QPointer(drill), answerButton, dividend, divisor] {
                if (drill == nullptr)
                    return;
                drill->findChild<QLineEdit*>("Text1(0)")
                    ->setText(QString::number(dividend / divisor));
                drill->findChild<QLineEdit*>("Text1(1)")
                    ->setText(QString::number(dividend % divisor));
                answerButton->click();
                ++solved_;
                touch(QStringLiteral("solved-%1").arg(solved_));
                paused_ = solved_ == kPauseAfter;
            });
        } else if (solved_ < kProblems && nextButton->isEnabled()) {
            later([nextButton = QPointer(nextButton)] {
                if (nextButton != nullptr)
                    nextButton->click();
            });
        } else if (solved_ == kProblems) {
            later([endButton = QPointer(endButton)] {
                if (endButton != nullptr)
                    endButton->click();
            });
        }
    }

    bool busy_ = false;
    bool paused_ = false;
    int inputs_ = 0;
    int solved_ = 0;
};

void startLearner() {
    new Learner(QCoreApplication::instance());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startLearner)

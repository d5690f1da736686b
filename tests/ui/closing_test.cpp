// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The close boxes of both windows, and the way from the drill window to the results window
// inside a running event loop.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "drill_window.h"

namespace uitest {
namespace {

using CloseBox = DrillWindowTest;

TEST_F(CloseBox, OfTheDrillWindowAsksLikeTheEndButton) {
    ui::Form1* f = open(QString(), QStringLiteral("k"));
    answerWrong();

    dialogs.answers = {false};
    EXPECT_FALSE(f->close()) << "No keeps the drill";
    settle();
    EXPECT_EQ(dialogs.count("yesno"), 1);
    EXPECT_EQ(sound.sounded(QStringLiteral("endpinpon.wav")), 1);
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(mark()->text(), QStringLiteral("×"));
    EXPECT_EQ(results(), nullptr);

    dialogs.answers = {true};
    f->close();
    settle();
    EXPECT_EQ(dialogs.count("yesno"), 2);
    EXPECT_TRUE(form.isNull());
    ASSERT_NE(results(), nullptr);
    EXPECT_TRUE(QFile::exists(historyPath(QStringLiteral("k"))));
    EXPECT_TRUE(exits.empty());
}

TEST_F(CloseBox, OfTheFinishedDrillEndsItWithoutAsking) {
    ui::Form1* f = open(QString(), QString());
    for (int k = 1; k <= 20; ++k) {
        answerRight();
        press(f->Command2);
    }
    f->close();
    settle();
    EXPECT_EQ(dialogs.count("yesno"), 0);
    EXPECT_TRUE(form.isNull());
    EXPECT_NE(results(), nullptr);
}

TEST_F(CloseBox, OfTheResultsWindowAsksLikeItsEndButton) {
    open(QString(), QString());
    dialogs.answers = {true};
    press(form->Command3);
    QPointer<ui::Form2> shown(results());
    ASSERT_FALSE(shown.isNull());

    dialogs.answers = {false};
    EXPECT_FALSE(shown->close());
    settle();
    EXPECT_EQ(dialogs.count("yesno"), 2);
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(exits.empty());

    dialogs.answers = {true};
    shown->close();
    settle();
    EXPECT_EQ(dialogs.count("yesno"), 3);
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_TRUE(shown.isNull());
}

// Between the unloading of the drill window and the showing of the results window no
// window is visible; that must not end the program, even where the application quits when
// its last window closes.
TEST_F(CloseBox, TheProgramLivesOnFromTheDrillWindowToTheResultsWindow) {
    const bool quitOnLast = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(true);
    int lastWindowClosed = 0;
    auto connection =
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] { ++lastWindowClosed; });
    open(QString(), QString());
    dialogs.answers = {true};
    bool resultsShown = false;
    QTimer::singleShot(0, [&] {
        form->Command3->click();
        QTimer::singleShot(0, [&] {
            resultsShown = results() != nullptr;
            QCoreApplication::exit(7);
        });
    });
    const int code = QCoreApplication::exec();
    QObject::disconnect(connection);
    QApplication::setQuitOnLastWindowClosed(quitOnLast);

    EXPECT_EQ(code, 7);
    EXPECT_TRUE(resultsShown);
    EXPECT_EQ(lastWindowClosed, 0);
    EXPECT_TRUE(form.isNull());
}

}  // namespace
}  // namespace uitest

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the windows land on a 1024 × 768 screen, as on many classroom projectors and older
// school computers: the whole window, frame and all, stays on the screen. This program's
// offscreen screen is 1024 × 768 (see CMakeLists.txt).

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "drill_window.h"
#include "face.h"

namespace uitest {
namespace {

TEST(PlaceOnScreen, KeepsItsPlaceWhenItFitsOtherwiseMovesLeftAndUpJustEnough) {
    struct Row {
        const char* what;
        QRect frame;
        QRect available;
        QPoint place;
    };
    const Row rows[] = {
        {"fits", QRect(245, 88, 770, 511), QRect(0, 0, 1024, 768), QPoint(245, 88)},
        {"touches the right and bottom edges", QRect(254, 257, 770, 511), QRect(0, 0, 1024, 768),
         QPoint(254, 257)},
        {"one pixel too far right", QRect(255, 88, 770, 511), QRect(0, 0, 1024, 768),
         QPoint(254, 88)},
        {"results window on 1024 × 768", QRect(186, 88, 889, 526), QRect(0, 0, 1024, 768),
         QPoint(135, 88)},
        {"above a bottom panel", QRect(100, 88, 800, 600), QRect(0, 0, 1024, 640), QPoint(100, 40)},
        {"larger than the area: its top-left corner", QRect(186, 88, 889, 526),
         QRect(0, 30, 800, 500), QPoint(0, 30)},
        {"off a second screen's right edge", QRect(1500, 88, 889, 526), QRect(1024, 0, 1280, 1024),
         QPoint(1415, 88)},
    };
    for (const Row& row : rows) {
        const QPoint place = ui::placeOnScreen(row.frame, row.available);
        EXPECT_EQ(std::pair(place.x(), place.y()), std::pair(row.place.x(), row.place.y()))
            << row.what;
    }
}

using WindowPlace = DrillWindowTest;

// The drill window keeps its place; the results window moves left just enough for its end
// button and date, and keeps its height on the screen.
TEST_F(WindowPlace, BothWindowsShownWholeOnA1024By768Screen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen, QRect(0, 0, 1024, 768));

    open(QStringLiteral("12/7"), QStringLiteral("41"));
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), QRect(245, 88, 770, 511)) << "fits where it is placed";
    EXPECT_TRUE(screen.contains(form->frameGeometry()));

    ui::Form2 results(&dialogs, [] {});
    results.show();
    settle();
    const QRect frame = results.frameGeometry();
    EXPECT_TRUE(screen.contains(frame));
    EXPECT_EQ(frame.right(), screen.right()) << "moved no further than needed";
    EXPECT_EQ(results.geometry().top(), 88);
    EXPECT_EQ(results.geometry().size(), QSize(889, 526));
    for (QWidget* control :
         {static_cast<QWidget*>(results.Command1), static_cast<QWidget*>(results.labdate)})
        EXPECT_TRUE(screen.contains(QRect(control->mapToGlobal(QPoint(0, 0)), control->size())))
            << qPrintable(control->objectName());
}

}  // namespace
}  // namespace uitest

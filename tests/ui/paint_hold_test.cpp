// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drill window's paint hold at start-up: the window waits while another window draws its
// first frame, then paints in full, and never stays held.

#include "paint_hold.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "drill_window.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

// Counts its own paints, and numbers them across all windows in the order they come.
class PaintedWindow : public QWidget {
public:
    explicit PaintedWindow(const QSize& size) { resize(size); }
    int paints = 0;
    int firstPaint = 0;  // the place of its first paint among all paints, from 1

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        if (firstPaint == 0)
            firstPaint = ++order;
    }

private:
    static inline int order = 0;
};

TEST(PaintHold, TheWindowPaintsRightAfterAnotherWindowHasPainted) {
    PaintedWindow held({300, 200});
    held.show();  // exposed at the next turn of the event loop, as at start-up
    ui::PaintHold hold(&held);
    settle();
    EXPECT_EQ(held.paints, 0) << "exposed, but held";
    EXPECT_TRUE(hold.holding());
    EXPECT_FALSE(held.updatesEnabled());

    PaintedWindow dialog({100, 50});
    dialog.show();
    settle();
    ASSERT_GE(dialog.paints, 1);
    EXPECT_FALSE(hold.holding()) << "released by the other window's paint";
    EXPECT_TRUE(held.updatesEnabled());
    ASSERT_GE(held.paints, 1) << "the held window must not stay blank";
    EXPECT_LT(dialog.firstPaint, held.firstPaint);
}

TEST(PaintHold, TheWindowPaintsWhenTheHoldEnds) {
    PaintedWindow held({300, 200});
    held.show();
    {
        const ui::PaintHold hold(&held);
        settle();
        EXPECT_EQ(held.paints, 0);
    }
    settle();
    EXPECT_TRUE(held.updatesEnabled());
    EXPECT_GE(held.paints, 1);
}

TEST(PaintHold, ItsOwnChildrenDoNotReleaseIt) {
    PaintedWindow held({300, 200});
    auto* child = new PaintedWindow({50, 50});
    child->setParent(&held);
    held.show();
    const ui::PaintHold hold(&held);
    child->update();
    settle();
    EXPECT_TRUE(hold.holding());
    EXPECT_EQ(held.paints + child->paints, 0);
}

TEST(PaintHold, LeavesAWindowWhoseUpdatesAreOffAsItIs) {
    PaintedWindow held({300, 200});
    held.setUpdatesEnabled(false);
    held.show();
    {
        const ui::PaintHold hold(&held);
        EXPECT_FALSE(hold.holding());
    }
    settle();
    EXPECT_FALSE(held.updatesEnabled());
    EXPECT_EQ(held.paints, 0);
}

TEST(PaintHold, AWindowThatGoesFirstIsNoTrouble) {
    auto* held = new PaintedWindow({300, 200});
    held->show();
    const ui::PaintHold hold(held);
    delete held;
    PaintedWindow dialog({100, 50});
    dialog.show();
    settle();
    EXPECT_FALSE(hold.holding());
}

using DrillWindowPaintHold = DrillWindowTest;

TEST_F(DrillWindowPaintHold, IsOverWhenStartUpIsOver) {
    ui::Form1* f = open(QStringLiteral("8/1"), QStringLiteral("k"));
    EXPECT_EQ(dialogs.count("input"), 2);
    EXPECT_TRUE(f->updatesEnabled());
    for (QWidget* child : f->findChildren<QWidget*>())
        EXPECT_TRUE(child->updatesEnabled()) << child->objectName().toStdString();
}

}  // namespace
}  // namespace uitest

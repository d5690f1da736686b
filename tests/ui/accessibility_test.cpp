// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Both windows as a screen reader meets them: every control that takes input or informs
// has a name, each window reads as a window, and the boxes of the results grid read out the
// values they show.

#include <QAccessible>
#include <QLabel>
#include <functional>

#include "accessibility_check.h"
#include "drill_window.h"

namespace uitest {
namespace {

using Accessibility = DrillWindowTest;

TEST_F(Accessibility, EveryControlIsNamedAndEachWindowReadsAsAWindow) {
    const struct Row {
        const char* window;
        std::function<QWidget*()> show;
    } rows[] = {
        {"drill window at the first problem", [this] { return open("8/1", "demo"); }},
        {"drill window with the praise picture",
         [this] {
             ui::Form1* f = open("8/1", "demo");
             f->setLabelVisible(4, false);
             f->setImage4Visible(true);
             return f;
         }},
        {"results window before it is filled",
         [this] {
             auto* results = new ui::Form2(&dialogs, {});
             results->show();
             return results;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window);
        QWidget* window = row.show();
        const AccessibilityFindings findings = checkAccessibility(window);
        EXPECT_EQ(findings.windowRole, QAccessible::Window);
        EXPECT_GT(findings.controls, 0);
        EXPECT_TRUE(findings.unnamed.isEmpty()) << findings.unnamed.join(u' ').toStdString();
        delete window;
        settle();
    }
}

// A reader reads a box of the results grid by its text interface, as the value shown.
TEST_F(Accessibility, ResultsBoxesReadOutTheirValues) {
    ui::Form2 results(&dialogs, {});
    results.setM(3, u" 45÷ 6");
    results.setTt(3, u"12.5");
    results.setGotou(3, u"2");
    results.show();
    for (QLabel* box : {results.m[3], results.tt[3], results.gotou[3]}) {
        SCOPED_TRACE(box->accessibleName().toStdString());
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->text(QAccessible::Value), box->text());
        QAccessibleTextInterface* text = reader->textInterface();
        ASSERT_NE(text, nullptr) << "no text interface";
        EXPECT_EQ(text->text(0, text->characterCount()), box->text());
    }
    EXPECT_EQ(results.tt[3]->text(), QStringLiteral("12.5"));
}

}  // namespace
}  // namespace uitest

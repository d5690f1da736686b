// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Both windows as a screen reader meets them: every control that takes input or informs
// has a name, and each window reads as a window.

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

}  // namespace
}  // namespace uitest

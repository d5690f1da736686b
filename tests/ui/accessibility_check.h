// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a screen reader meets in a window: walks the window's controls through Qt's
// accessibility interfaces, as the accessibility bus hands them on.

#include <QAccessible>
#include <QStringList>

class QWidget;

namespace uitest {

struct AccessibilityFindings {
    QAccessible::Role windowRole = QAccessible::NoRole;
    int controls = 0;     // shown controls that a reader stops at
    QStringList unnamed;  // object names of those among them with an empty name
};

// Looks at every shown control of a shown window. A reader stops at the controls that take
// input (focus, typing or an action) and at those that inform: pictures, labels with text,
// and boxes drawn on the screen, which are places to land on even while they are empty.
AccessibilityFindings checkAccessibility(QWidget* window);

}  // namespace uitest

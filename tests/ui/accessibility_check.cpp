// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility_check.h"

#include <QFrame>
#include <QLabel>
#include <QWidget>

namespace uitest {

namespace {

bool takesInput(QAccessibleInterface* control) {
    const QAccessible::State state = control->state();
    if (state.focusable || state.editable)
        return true;
    QAccessibleActionInterface* actions = control->actionInterface();
    return actions != nullptr && !actions->actionNames().isEmpty();
}

bool informs(QAccessibleInterface* control) {
    if (control->role() == QAccessible::Graphic)
        return true;
    if (const auto* frame = qobject_cast<const QFrame*>(control->object());
        frame != nullptr && frame->frameShape() != QFrame::NoFrame)
        return true;
    if (const auto* label = qobject_cast<const QLabel*>(control->object()))
        return !label->text().isEmpty();
    return control->role() == QAccessible::StaticText;
}

void walk(QAccessibleInterface* parent, AccessibilityFindings& findings) {
    for (int index = 0; index < parent->childCount(); ++index) {
        QAccessibleInterface* control = parent->child(index);
        if (control == nullptr || control->state().invisible)
            continue;
        if (takesInput(control) || informs(control)) {
            ++findings.controls;
            // Items of a view, such as table cells, have no object of their own.
            if (control->text(QAccessible::Name).trimmed().isEmpty())
                findings.unnamed << (control->object() != nullptr
                                         ? control->object()->objectName()
                                         : parent->text(QAccessible::Name) +
                                               QStringLiteral("/item"));
        }
        walk(control, findings);
    }
}

}  // namespace

AccessibilityFindings checkAccessibility(QWidget* window) {
    AccessibilityFindings findings;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (root == nullptr)
        return findings;
    findings.windowRole = root->role();
    walk(root, findings);
    return findings;
}

}  // namespace uitest

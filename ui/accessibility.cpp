// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace ui {

namespace {

// A label whose accessible name says what it is ("問題３ 解答時間") and whose text is the
// value it shows ("12.5"): both reach the reader, the value as the label's text.
class NamedValueLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NamedValueLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value)
            return value();
        return QAccessibleWidget::text(type);
    }

    // The text interface: the value, read only, with nothing selected.
    QString text(int startOffset, int endOffset) const override {
        return value().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(value().size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QString value() const { return static_cast<const QLabel*>(widget())->text(); }
};

// Consulted for each class of an object, from its own class up to QObject, before Qt's own
// interfaces; a null answer leaves the class to them.
QAccessibleInterface* windowsAndNamedLabels(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("QLabel")) {
        auto* label = static_cast<QLabel*>(widget);
        if (!label->accessibleName().isEmpty() && label->pixmap().isNull())
            return new NamedValueLabel(label);
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    QAccessible::installFactory(windowsAndNamedLabels);
}

}  // namespace ui

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <utility>

namespace report {

namespace {

// Screen readers hear a picture as a graphic with its name, not as an empty pane.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("report::PictureWidget") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

}  // namespace

PictureWidget::PictureWidget(const QString& name, const QString& description, Draw draw,
                             QWidget* parent)
    : QWidget(parent), draw_(std::move(draw)) {
    static const bool installed = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(name);
    setAccessibleDescription(description);
    setMinimumSize(320, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PictureWidget::sizeHint() const {
    return {560, 280};
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    if (draw_)
        draw_(painter, QRectF(rect()));
}

}  // namespace report

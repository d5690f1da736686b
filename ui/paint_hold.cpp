// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "paint_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace ui {

PaintHold::PaintHold(QWidget* window) : window_(window) {
    if (window_ == nullptr || !window_->updatesEnabled())
        return;
    window_->setUpdatesEnabled(false);
    holding_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

PaintHold::~PaintHold() {
    release();
}

bool PaintHold::eventFilter(QObject* watched, QEvent* event) {
    if (holding_ && event->type() == QEvent::Paint) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow() && widget != window_) {
            // The other window's frame is put on screen once its painting is over; the held
            // window's turn comes after that.
            QMetaObject::invokeMethod(
                this, [this] { release(); }, Qt::QueuedConnection);
        }
    }
    return false;
}

void PaintHold::release() {
    if (!holding_)
        return;
    holding_ = false;
    QCoreApplication::instance()->removeEventFilter(this);
    if (window_ != nullptr) {
        window_->setUpdatesEnabled(true);
        // An update asked for while the window was held may still count as pending and
        // keep a plain update() from asking again: paint the whole window now.
        window_->repaint();
    }
}

}  // namespace ui

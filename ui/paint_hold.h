// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Holds back a window's painting until another window has drawn its first frame.

#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace ui {

// While it lives, the window does not paint, until some other window (a dialog over it)
// paints; the window then paints in full at the next turn of the event loop, or when the
// hold ends, whichever comes first. A window whose updates are already off is left alone.
//
// Made around the start-up dialogs, it lets the date dialog appear before the drill window
// behind it, whose first frame, with its large Japanese text, takes longer to draw.
class PaintHold : public QObject {
public:
    explicit PaintHold(QWidget* window);
    ~PaintHold() override;
    PaintHold(const PaintHold&) = delete;
    PaintHold& operator=(const PaintHold&) = delete;

    bool holding() const { return holding_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void release();

    QPointer<QWidget> window_;
    bool holding_ = false;
};

}  // namespace ui

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A widget that shows one of the report's pictures: it hands its own rectangle to a drawing
// function, so the window shows what the PDF prints.

#include <QWidget>
#include <functional>

class QPainter;

namespace report {

class PictureWidget : public QWidget {
    Q_OBJECT

public:
    using Draw = std::function<void(QPainter&, const QRectF&)>;

    // name: what a screen reader says the picture is; description: what it shows.
    PictureWidget(const QString& name, const QString& description, Draw draw,
                  QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Draw draw_;
};

}  // namespace report

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The look shared by both windows: the Japanese Gothic face with its fallbacks, sizes in
// twips turned into device-independent pixels, and the widgets of the layout tables.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "window_layouts.h"

class QLabel;

namespace ui {

// "ＭＳ Ｐゴシック" first, then "MS PGothic", "IPAPGothic" and "Noto Sans CJK JP".
QStringList faceFamilies();

// Makes the fallbacks known to Qt's font matching, so that a font asking only for
// "ＭＳ Ｐゴシック" still finds one of the others.
void installFaceSubstitutions();

// The face at a size in pixels (points × 4 / 3), normal weight unless bold.
QFont faceFont(int pixelSize, bool bold = false);

// 15 twips are one pixel at 96 dots per inch.
int twips(int value);
QRect twipsRect(const layout::TwipsRect& rect);

// A label of the layout tables, with its text, font and look. Text sits at the top of the
// label, left-aligned or centred, and is cut off at the label's edges.
QLabel* makeLabel(QWidget* parent, const layout::Control& control);

// A picture of the layout tables: stretched to its rectangle, or at its natural size.
QLabel* makePicture(QWidget* parent, const layout::Control& control);

void setTextColour(QWidget* widget, const QColor& colour);

// Names the window, places and fixes its client area, and gives it its caption, face and the
// frog icon. The window keeps the table's place when the whole window, frame and all, fits
// the available area of its screen; otherwise it moves left and up just enough that it does
// (see placeOnScreen). It is fitted again when it is shown and whenever the window system
// changes the frame around it.
void placeWindow(QWidget* window, const layout::Window& table);

// Where a window's frame goes on a screen's available area: its own place when it fits,
// otherwise moved left and up just enough to fit, but never past the area's top-left corner
// (a window larger than the area sticks out to the right and bottom).
QPoint placeOnScreen(const QRect& frame, const QRect& available);

// Every control of the layout as a child of window, in the table's order, each named,
// placed and shown or hidden as the table says; makeSound makes the sound control. The
// controls that take the focus get the table's tab order, and the first of them the focus.
void makeControls(QWidget* window, const layout::Window& table,
                  const std::function<QWidget*(QWidget*)>& makeSound = {});

// The control of that name made by makeControls.
template <class Widget>
Widget* controlOf(QWidget* window, const QString& name) {
    auto* widget = window->findChild<Widget*>(name, Qt::FindDirectChildrenOnly);
    if (widget == nullptr)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return widget;
}

// The frog icon of both windows, with its transparent corners.
QIcon frogIcon();

}  // namespace ui

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The look shared by both windows: the Japanese Gothic face with its fallbacks, sizes in
// twips turned into device-independent pixels, and the colours of the labels.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QStringList>

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
QRect twipsRect(int left, int top, int width, int height);

inline const QColor kWhite{255, 255, 255};
inline const QColor kBlack{0, 0, 0};
inline const QColor kRed{255, 0, 0};
inline const QColor kBlue{0, 0, 255};

// How a label of the layout tables looks.
struct LabelLook {
    bool centred = false;
    bool boxed = false;                  // thin single line on all four sides
    const QColor* background = nullptr;  // null: the window's face colour
    const QColor* text = nullptr;        // null: the system's button-text colour
};

// A label placed at its twips rectangle, with its text, font and look. Text sits at the top
// of the label, left-aligned or centred, and is cut off at the label's edges.
QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& rect, const QString& text,
                  const QFont& font, const LabelLook& look = {});

// A picture placed at its twips rectangle: stretched to it, or at its natural size. Its
// accessible name says what it shows.
QLabel* makePicture(QWidget* parent, const QString& name, const QRect& rect,
                    const QString& resource, bool stretched);

void setTextColour(QWidget* widget, const QColor& colour);

// The frog icon of both windows, with its transparent corners.
QIcon frogIcon();

}  // namespace ui

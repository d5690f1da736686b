// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "face.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <cmath>

namespace ui {

namespace {
const QString kFace = QStringLiteral("ＭＳ Ｐゴシック");

// What each picture shows, as a screen reader says it.
QString pictureName(const QString& resource) {
    if (resource.endsWith(QLatin1String("/crest.jpg")))
        return QStringLiteral("もんしょう");
    if (resource.endsWith(QLatin1String("/logo.jpg")))
        return QStringLiteral("きょうしつの マーク");
    if (resource.endsWith(QLatin1String("/mascot.jpg")))
        return QStringLiteral("かえる");
    if (resource.endsWith(QLatin1String("/praise.jpg")))
        return QStringLiteral("よくできました");
    return {};
}
}  // namespace

QStringList faceFamilies() {
    return {kFace, QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

void installFaceSubstitutions() {
    QStringList fallbacks = faceFamilies();
    fallbacks.removeFirst();
    QFont::insertSubstitutions(kFace, fallbacks);
}

QFont faceFont(int pixelSize, bool bold) {
    QFont font(kFace);
    font.setFamilies(faceFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

int twips(int value) {
    return static_cast<int>(std::lround(value / 15.0));
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& rect, const QString& text,
                  const QFont& font, const LabelLook& look) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setIndent(0);
    label->setMargin(0);
    label->setAlignment((look.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setAutoFillBackground(true);  // labels are opaque
    QPalette palette = label->palette();
    if (look.background != nullptr)
        palette.setColor(QPalette::Window, *look.background);
    label->setPalette(palette);
    if (look.text != nullptr)
        setTextColour(label, *look.text);
    if (look.boxed) {
        label->setFrameShape(QFrame::Box);
        label->setFrameShadow(QFrame::Plain);
        label->setLineWidth(1);
    }
    return label;
}

QLabel* makePicture(QWidget* parent, const QString& name, const QRect& rect,
                    const QString& resource, bool stretched) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setGeometry(rect);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setScaledContents(stretched);
    picture->setPixmap(QPixmap(resource));
    picture->setAccessibleName(pictureName(resource));
    return picture;
}

QIcon frogIcon() {
    // Qt reads the icon's 24-bit image without its transparency mask; the icon keeps pure
    // black for exactly the pixels that the mask leaves out.
    QImage image =
        QImage(QStringLiteral(":/pictures/frog.ico")).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == qRgb(0, 0, 0))
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace ui

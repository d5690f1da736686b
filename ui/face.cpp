// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "face.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMargins>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace ui {

namespace {

QString qs(std::u16string_view text) {
    return text.empty() ? QString() : QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QColor qColour(const layout::Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QFont faceOf(const layout::Control& control) {
    return faceFont(control.fontPixels, control.bold);
}

QString pictureResource(layout::Picture picture) {
    switch (picture) {
        case layout::Picture::Crest:
            return QStringLiteral(":/pictures/crest.jpg");
        case layout::Picture::Logo:
            return QStringLiteral(":/pictures/logo.jpg");
        case layout::Picture::Mascot:
            return QStringLiteral(":/pictures/mascot.jpg");
        case layout::Picture::Praise:
            return QStringLiteral(":/pictures/praise.jpg");
        case layout::Picture::None:
            break;
    }
    return {};
}

// A single-line box that takes as much as the learner types.
QLineEdit* makeTextBox(QWidget* parent, const layout::Control& control) {
    auto* box = new QLineEdit(qs(control.text), parent);
    box->setObjectName(qs(control.name));
    box->setGeometry(twipsRect(control.rect));
    box->setFont(faceOf(control));
    box->setMaxLength(std::numeric_limits<int>::max());
    if (control.background) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, qColour(*control.background));
        box->setPalette(palette);
    }
    return box;
}

QPushButton* makeButton(QWidget* parent, const layout::Control& control) {
    auto* button = new QPushButton(qs(control.text), parent);
    button->setObjectName(qs(control.name));
    button->setGeometry(twipsRect(control.rect));
    button->setFont(faceOf(control));
    return button;
}

// Keeps a window's frame on its screen. The frame is known only once the window system has
// put one around the window, after the window is shown: the window is fitted as it is placed,
// with no frame, and again with its frame as it is shown and whenever the frame changes.
// A window that the learner moves is left where it is put.
class ScreenFit : public QObject {
public:
    ScreenFit(QWidget* window, const QRect& client)
        : QObject(window), window_(window), client_(client) {
        window->installEventFilter(this);
        fit();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && (event->type() == QEvent::Show ||
                                   (event->type() == QEvent::Move && frameMargins() != fitted_)))
            fit();
        return false;
    }

private:
    QMargins frameMargins() const {
        const QRect frame = window_->frameGeometry();
        const QRect client = window_->geometry();
        return {client.left() - frame.left(), client.top() - frame.top(),
                frame.right() - client.right(), frame.bottom() - client.bottom()};
    }

    void fit() {
        fitted_ = frameMargins();
        QScreen* screen = QGuiApplication::screenAt(client_.center());
        if (screen == nullptr)
            screen = window_->screen();
        if (screen == nullptr)
            return;
        const QPoint frame =
            placeOnScreen(client_.marginsAdded(fitted_), screen->availableGeometry());
        const QRect client(frame + QPoint(fitted_.left(), fitted_.top()), client_.size());
        if (client != window_->geometry())
            window_->setGeometry(client);
    }

    QWidget* window_;
    QRect client_;     // the client area at the table's place
    QMargins fitted_;  // the frame that the window was last fitted with
};

}  // namespace

QPoint placeOnScreen(const QRect& frame, const QRect& available) {
    const int left =
        std::max(available.left(),
                 std::min(frame.left(), available.left() + available.width() - frame.width()));
    const int top =
        std::max(available.top(),
                 std::min(frame.top(), available.top() + available.height() - frame.height()));
    return {left, top};
}

QStringList faceFamilies() {
    return {qs(layout::kFace), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

void installFaceSubstitutions() {
    QStringList fallbacks = faceFamilies();
    fallbacks.removeFirst();
    QFont::insertSubstitutions(qs(layout::kFace), fallbacks);
}

QFont faceFont(int pixelSize, bool bold) {
    QFont font(qs(layout::kFace));
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
    return layout::twipsToPixels(value);
}

QRect twipsRect(const layout::TwipsRect& rect) {
    return QRect(twips(rect.left), twips(rect.top), twips(rect.width), twips(rect.height));
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const layout::Control& control) {
    auto* label = new QLabel(qs(control.text), parent);
    label->setObjectName(qs(control.name));
    label->setGeometry(twipsRect(control.rect));
    label->setFont(faceOf(control));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setIndent(0);
    label->setMargin(0);
    label->setAlignment((control.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setAutoFillBackground(true);  // labels are opaque
    QPalette palette = label->palette();
    if (control.background)
        palette.setColor(QPalette::Window, qColour(*control.background));
    label->setPalette(palette);
    if (control.foreground)
        setTextColour(label, qColour(*control.foreground));
    if (control.boxed) {
        label->setFrameShape(QFrame::Box);
        label->setFrameShadow(QFrame::Plain);
        label->setLineWidth(1);
    }
    return label;
}

QLabel* makePicture(QWidget* parent, const layout::Control& control) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(qs(control.name));
    picture->setGeometry(twipsRect(control.rect));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setScaledContents(control.stretched);
    picture->setPixmap(QPixmap(pictureResource(control.picture)));
    return picture;
}

void placeWindow(QWidget* window, const layout::Window& table) {
    window->setObjectName(qs(table.name));
    window->setWindowTitle(qs(table.caption));
    window->setWindowIcon(frogIcon());
    if (table.fontPixels > 0)
        window->setFont(faceFont(table.fontPixels));
    const QRect client = twipsRect(table.client);
    window->setGeometry(client);
    window->setFixedSize(client.size());
    new ScreenFit(window, client);
}

void makeControls(QWidget* window, const layout::Window& table,
                  const std::function<QWidget*(QWidget*)>& makeSound) {
    std::vector<std::pair<int, QWidget*>> focusable;
    for (const layout::Control& control : table.controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case layout::Kind::Label:
                widget = makeLabel(window, control);
                break;
            case layout::Kind::TextBox:
                widget = makeTextBox(window, control);
                break;
            case layout::Kind::Button:
                widget = makeButton(window, control);
                break;
            case layout::Kind::Picture:
                widget = makePicture(window, control);
                break;
            case layout::Kind::Sound:
                if (!makeSound)
                    continue;
                widget = makeSound(window);
                widget->setObjectName(qs(control.name));
                widget->setGeometry(twipsRect(control.rect));
                break;
        }
        if (!control.accessibleName.empty())
            widget->setAccessibleName(qs(control.accessibleName));
        if (!control.visible)
            widget->hide();
        if (control.tabOrder >= 0)
            focusable.emplace_back(control.tabOrder, widget);
    }
    if (focusable.empty())
        return;
    std::sort(focusable.begin(), focusable.end());
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    focusable.front().second->setFocus();
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

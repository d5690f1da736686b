// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_dialogs.h"

#include <QFontDatabase>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {
QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// A message box with the prompt as plain text and no icon.
void setUpBox(QMessageBox& box, const char* name, const std::u16string& prompt,
              const std::u16string& title) {
    box.setObjectName(QLatin1String(name));
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(qs(title));
    box.setText(qs(prompt));
    box.setTextFormat(Qt::PlainText);
}
}  // namespace

namespace {
// Characters that a Japanese face draws full-width, one em wide: kana, kanji, full-width
// forms and the ideographic space, as terminals count them.
bool fullWidth(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

qreal pixelsOf(const QFont& font, const QWidget& window) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * window.logicalDpiY() / 72.0;
}
}  // namespace

int titleBarWidth(const QWidget& window, const QString& title) {
    // The window manager draws the title in the font of its own theme, which it finds
    // through fontconfig's generic sans face: for Japanese that is the system's Gothic with
    // full-width kana, wider than the proportional face of the window. Its size is Qt's
    // title font's: the desktop's title-bar font where the platform theme knows it (KDE),
    // and 12 points otherwise, a little larger than the themes of Openbox (8 points), Xfwm
    // (9), KWin (10) and Mutter (11). The window's own font counts too, for a desktop whose
    // fonts are all large.
    // The width is reckoned from that size rather than measured: measuring would load a
    // second face, bold, and its Japanese fallback, before the first dialog can show. A
    // full-width character is one em, and a little more in bold; any other is taken as
    // three quarters of an em, wider than most Latin letters even in bold.
    const qreal em = std::max(pixelsOf(QFontDatabase::systemFont(QFontDatabase::TitleFont), window),
                              pixelsOf(window.font(), window));
    qreal text = 0;
    for (const char32_t c : title.toUcs4())
        text += fullWidth(c) ? em * 17 / 16 : em * 3 / 4;
    // The window icon and the minimise, maximise and close buttons, each about as wide as the
    // bar is high, and the frame's margins; a line of a Gothic face is about one and a half
    // ems high.
    constexpr int kButtons = 4;
    const qreal lineHeight = em * 3 / 2;
    const qreal barHeight = lineHeight + 4;
    return static_cast<int>(std::ceil(text + kButtons * barHeight + lineHeight));
}

std::u16string QtDialogs::inputBox(const std::u16string& prompt, const std::u16string& title) {
    QInputDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Normal);
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(QString());
    // The dialog's layout sets its minimum size, so the room for the title goes to the box,
    // which spans the dialog under the prompt. Asking for the size hint builds the layout.
    (void)dialog.sizeHint();
    if (auto* box = dialog.findChild<QLineEdit*>(); box != nullptr && dialog.layout() != nullptr) {
        const QMargins margins = dialog.layout()->contentsMargins();
        box->setMinimumWidth(titleBarWidth(dialog, dialog.windowTitle()) - margins.left() -
                             margins.right());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdU16String();
}

bool QtDialogs::askYesNo(const std::u16string& prompt, const std::u16string& title) {
    QMessageBox box(parent_);
    setUpBox(box, "askYesNo", prompt, title);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    // The translation adds keyboard hints, "はい(&Y)"; young learners read the bare words.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::showMessage(const std::u16string& prompt, const std::u16string& title) {
    QMessageBox box(parent_);
    setUpBox(box, "showMessage", prompt, title);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

}  // namespace ui

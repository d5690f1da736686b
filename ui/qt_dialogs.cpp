// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_dialogs.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

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

int titleBarWidth(const QWidget& window, const QString& title) {
    // The window manager draws the title in the font of its own theme, which it finds
    // through fontconfig's generic sans face: for Japanese that is the system's Gothic with
    // full-width kana, wider than the proportional face of the window. Qt's title font is
    // the desktop's title-bar font where the platform theme knows it (KDE), and fontconfig's
    // default sans face at 12 points otherwise, a little larger than the themes of Openbox
    // (8 points), Xfwm (9), KWin (10) and Mutter (11). The window's own font counts too, for
    // a desktop whose fonts are all large.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    if (window.font().pointSizeF() > font.pointSizeF())
        font.setPointSizeF(window.font().pointSizeF());
    const QFontMetrics metrics(font);
    // The window icon and the minimise, maximise and close buttons, each about as wide as the
    // bar is high, and the frame's margins.
    constexpr int kButtons = 4;
    const int barHeight = metrics.height() + 4;
    return metrics.horizontalAdvance(title) + kButtons * barHeight + metrics.height();
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

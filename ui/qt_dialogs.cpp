// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_dialogs.h"

#include <QInputDialog>
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

std::u16string QtDialogs::inputBox(const std::u16string& prompt, const std::u16string& title) {
    QInputDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Normal);
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(QString());
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

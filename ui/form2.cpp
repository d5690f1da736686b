// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form2.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "drill.h"
#include "face.h"
#include "qt_dialogs.h"

namespace ui {

namespace {

QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

Form2::Form2(drill::Dialogs* dialogs, std::function<void()> quit)
    : ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogs>(this) : nullptr),
      dialogs_(dialogs == nullptr ? *ownDialogs_ : *dialogs),
      quit_(std::move(quit)) {
    placeWindow(this, layout::form2());
    makeControls(this, layout::form2());

    QLabel** numbered[] = {&Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6,
                           &Label7,  &Label8,  &Label9,  &Label10, &Label11, &Label12,
                           &Label13, &Label14, &Label15, &Label16, &Label17, &Label18,
                           &Label19, &Label20, &Label21, &Label22, &Label23, &Label24,
                           &Label25, &Label26, &Label27, &Label28, &Label29};
    for (int k = 1; k <= 29; ++k)
        *numbered[k - 1] = controlOf<QLabel>(this, QStringLiteral("Label%1").arg(k));
    for (int row = 1; row <= 20; ++row) {
        const QString index = QStringLiteral("(%1)").arg(row);
        m[row] = controlOf<QLabel>(this, QStringLiteral("m") + index);
        tt[row] = controlOf<QLabel>(this, QStringLiteral("tt") + index);
        gotou[row] = controlOf<QLabel>(this, QStringLiteral("gotou") + index);
    }
    labid = controlOf<QLabel>(this, QStringLiteral("labid"));
    labdate = controlOf<QLabel>(this, QStringLiteral("labdate"));
    Image1 = controlOf<QLabel>(this, QStringLiteral("Image1"));
    Image2 = controlOf<QLabel>(this, QStringLiteral("Image2"));
    Image3 = controlOf<QLabel>(this, QStringLiteral("Image3"));
    Command1 = controlOf<QPushButton>(this, QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, [this] { endClicked(); });
}

Form2::~Form2() = default;

void Form2::setM(int row, const std::u16string& caption) {
    m.at(row)->setText(qs(caption));
}

void Form2::setTt(int row, const std::u16string& caption) {
    tt.at(row)->setText(qs(caption));
}

void Form2::setGotou(int row, const std::u16string& caption) {
    gotou.at(row)->setText(qs(caption));
}

void Form2::setLabid(const std::u16string& caption) {
    labid->setText(qs(caption));
}

void Form2::setLabdate(const std::u16string& caption) {
    labdate->setText(qs(caption));
}

void Form2::endClicked() {
    if (ending_ || unloading_)
        return;
    ending_ = true;
    const bool yes = drill::askEndConfirmation(dialogs_);
    ending_ = false;
    if (!yes)
        return;
    unloading_ = true;
    hide();
    deleteLater();
    if (quit_)
        quit_();
}

// The close box asks the end confirmation, like the end button.
void Form2::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    endClicked();
}

}  // namespace ui

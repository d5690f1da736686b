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

QString fullWidthDigits(int number) {
    QString text = QString::number(number);
    for (QChar& ch : text)
        ch = QChar(ch.unicode() - u'0' + u'０');
    return text;
}

int rowLabelWidth(int row) {
    if (row <= 9)
        return 615;
    if (row == 14 || row == 15 || row == 17 || row == 19)
        return 855;
    return 735;
}

QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

Form2::Form2(drill::Dialogs* dialogs, std::function<void()> quit)
    : ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogs>(this) : nullptr),
      dialogs_(dialogs == nullptr ? *ownDialogs_ : *dialogs),
      quit_(std::move(quit)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("「学習履歴」"));
    setWindowIcon(frogIcon());
    // The client area, placed as it opens; its size is fixed.
    setGeometry(twips(2790), twips(1320), twips(13335), twips(7890));
    setFixedSize(twips(13335), twips(7890));

    const QFont small = faceFont(13);   // 9.75 pt
    const QFont medium = faceFont(16);  // 12 pt
    const QFont cell = faceFont(19);    // 14.25 pt
    const LabelLook centred{.centred = true};
    const LabelLook boxedCentred{.centred = true, .boxed = true};

    QLabel** rowLabels[] = {&Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6,  &Label7,
                            &Label8,  &Label9,  &Label10, &Label11, &Label12, &Label13, &Label14,
                            &Label15, &Label16, &Label17, &Label18, &Label19, &Label20};
    for (int row = 1; row <= 20; ++row) {
        const bool left = row <= 10;
        const int top = 1440 + 480 * ((left ? row : row - 10) - 1);
        const QString index = QStringLiteral("(%1)").arg(row);
        *rowLabels[row - 1] = makeLabel(this, QStringLiteral("Label%1").arg(row),
                                        twipsRect(left ? 720 : 6840, top, rowLabelWidth(row), 255),
                                        QStringLiteral("問題") + fullWidthDigits(row), small);
        m[row] =
            makeLabel(this, QStringLiteral("m") + index,
                      twipsRect(left ? 1440 : 7560, top, 2655, 375), QString(), cell, boxedCentred);
        tt[row] = makeLabel(this, QStringLiteral("tt") + index,
                            twipsRect(left ? 4200 : 10320, top, 1215, 375), QString(), cell,
                            boxedCentred);
        gotou[row] =
            makeLabel(this, QStringLiteral("gotou") + index,
                      twipsRect(left ? 5520 : 11640, top, 975, 375), QString(), cell, boxedCentred);
        // A reader hears each box by its row and column; its text is the value.
        const QString rowName = (*rowLabels[row - 1])->text() + QLatin1Char(' ');
        m[row]->setAccessibleName(rowName + QStringLiteral("問題の内容"));
        tt[row]->setAccessibleName(rowName + QStringLiteral("解答時間"));
        gotou[row]->setAccessibleName(rowName + QStringLiteral("誤り回数"));
    }

    Label21 = makeLabel(this, QStringLiteral("Label21"), twipsRect(1440, 1080, 2655, 255),
                        QStringLiteral("問題の内容"), small, centred);
    Label22 = makeLabel(this, QStringLiteral("Label22"), twipsRect(4200, 1080, 1215, 255),
                        QStringLiteral("解答時間(秒)"), small, centred);
    Label23 = makeLabel(this, QStringLiteral("Label23"), twipsRect(5520, 1080, 975, 375),
                        QStringLiteral("誤り回数"), small, centred);
    Label24 = makeLabel(this, QStringLiteral("Label24"), twipsRect(7560, 1080, 2655, 255),
                        QStringLiteral("問題の内容"), small, centred);
    Label25 = makeLabel(this, QStringLiteral("Label25"), twipsRect(10320, 1080, 1215, 255),
                        QStringLiteral("解答時間"), small, centred);
    Label26 = makeLabel(this, QStringLiteral("Label26"), twipsRect(11640, 1080, 975, 375),
                        QStringLiteral("誤り回数"), small, centred);
    Label27 = makeLabel(this, QStringLiteral("Label27"), twipsRect(5640, 480, 2295, 495),
                        QStringLiteral("学習の足あと"), faceFont(24));
    Label28 = makeLabel(this, QStringLiteral("Label28"), twipsRect(240, 120, 375, 255),
                        QStringLiteral("ＩＤ："), medium);
    labid =
        makeLabel(this, QStringLiteral("labid"), twipsRect(720, 120, 2655, 255), QString(), medium);
    Label29 = makeLabel(this, QStringLiteral("Label29"), twipsRect(11520, 120, 615, 255),
                        QStringLiteral("月日："), medium);
    labdate = makeLabel(this, QStringLiteral("labdate"), twipsRect(12240, 120, 735, 255), QString(),
                        medium);
    labid->setAccessibleName(QStringLiteral("ＩＤ"));
    labdate->setAccessibleName(QStringLiteral("月日"));

    Image3 = makePicture(this, QStringLiteral("Image3"), twipsRect(480, 6840, 630, 615),
                         QStringLiteral(":/pictures/crest.jpg"), false);
    Image2 = makePicture(this, QStringLiteral("Image2"), twipsRect(7800, 6480, 1215, 1095),
                         QStringLiteral(":/pictures/logo.jpg"), true);
    Image1 = makePicture(this, QStringLiteral("Image1"), twipsRect(9240, 6480, 1215, 1095),
                         QStringLiteral(":/pictures/mascot.jpg"), true);

    Command1 = new QPushButton(QStringLiteral("おわり"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(11280, 6840, 1335, 495));
    Command1->setFont(faceFont(21));  // 15.75 pt
    Command1->setFocus();             // the only control that takes the focus
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

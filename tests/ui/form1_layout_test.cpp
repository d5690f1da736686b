// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drill window as it is created, before start-up has drawn anything.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "drill_window.h"
#include "face.h"
#include "layout_check.h"
#include "multimedia_control.h"

namespace uitest {
namespace {

using Form1Layout = DrillWindowTest;

TEST_F(Form1Layout, WindowHasFixedClientAreaPlaceTitleAndIcon) {
    ui::Form1* f = create();
    EXPECT_EQ(f->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(f->windowTitle(), QStringLiteral("「ポルネア」 for Windows"));
    EXPECT_EQ(f->geometry(), QRect(245, 88, 770, 511));  // the client area
    EXPECT_EQ(f->minimumSize(), QSize(770, 511));
    EXPECT_EQ(f->maximumSize(), QSize(770, 511));
    EXPECT_FALSE(f->windowIcon().isNull());
    EXPECT_EQ(f->font().pixelSize(), 96);
}

TEST_F(Form1Layout, FrogIconHasTransparentCornersAndAnOpaqueFrog) {
    const QImage icon = ui::frogIcon().pixmap(32, 32).toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    int transparent = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            transparent += qAlpha(icon.pixel(x, y)) == 0;
    }
    EXPECT_GT(transparent, 100);
    EXPECT_LT(transparent, 32 * 32 - 300);
    EXPECT_EQ(qAlpha(icon.pixel(0, 31)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(31, 31)), 0);
}

TEST_F(Form1Layout, LabelsAreTabled) {
    ui::Form1* f = create();
    const LabelRow rows[] = {
        {"Label4", 1920, 120, 1455, 255, "ぽる", 16, true, false, false},
        {"Label3", 3000, 360, 3375, 735, "【ねあ】", 48, false, false, false},
        {"Label2", 8400, 1440, 2775, 255, "かえるの森 さんすう教室", 13, true, true, false},
        {"Label(5)", 120, 1200, 3015, 495, "", 32, false, true, false},
        {"Label(0)", 240, 1800, 1575, 855, "", 48, false, true, true},
        {"Label(1)", 1920, 1800, 1575, 855, "", 48, false, true, true},
        {"Label(2)", 3600, 1800, 1575, 855, "", 48, false, true, true},
        {"Label(3)", 5280, 1800, 1305, 855, "＝", 48, false, true, true},
        {"Label(6)", 8400, 1800, 1215, 855, "・・・", 48, false, true, true},
        {"Label1", 8280, 2760, 615, 255, "半角", 19, false, false, false},
        {"Label5", 8880, 2760, 1215, 255, "で入力！", 19, false, false, false},
        {"Label(4)", 1320, 3000, 3975, 4095, "", 267, false, false, false},
    };
    QLabel* labels[] = {f->Label4,   f->Label3,   f->Label2,   f->Label[5],
                        f->Label[0], f->Label[1], f->Label[2], f->Label[3],
                        f->Label[6], f->Label1,   f->Label5,   f->Label[4]};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        expectLabel(f, labels[i], rows[i]);
}

TEST_F(Form1Layout, ColoursOfLabels) {
    ui::Form1* f = create();
    auto back = [](QLabel* l) { return l->palette().color(QPalette::Window); };
    auto fore = [](QLabel* l) { return l->palette().color(QPalette::WindowText); };
    for (int index : {0, 1, 2, 3, 4, 6})
        EXPECT_EQ(back(f->Label[index]), QColor(255, 255, 255)) << index;
    EXPECT_EQ(fore(f->Label[4]), QColor(0, 0, 255));
    EXPECT_EQ(fore(f->Label[5]), QColor(0, 0, 0));
    EXPECT_EQ(fore(f->Label1), QColor(255, 0, 0));
    EXPECT_EQ(fore(f->Label5), QColor(0, 0, 0));
    // Labels without a colour of their own take the window's face colour.
    EXPECT_EQ(back(f->Label[5]), f->palette().color(QPalette::Window));
    EXPECT_EQ(back(f->Label3), f->palette().color(QPalette::Window));
}

TEST_F(Form1Layout, AnswerBoxesAreEmptyWhiteAndUnlimited) {
    ui::Form1* f = create();
    const int lefts[] = {6720, 9720};
    for (int index = 0; index < 2; ++index) {
        QLineEdit* box = f->Text1[index];
        const QString name = QStringLiteral("Text1(%1)").arg(index);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(f->findChild<QLineEdit*>(name), box);
        EXPECT_EQ(box->geometry(), fromTwips(lefts[index], 1800, 1575, 855));
        EXPECT_TRUE(box->text().isEmpty());
        expectFace(box, 48, false);
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 255, 255));
        EXPECT_TRUE(box->isEnabled());
        EXPECT_FALSE(box->isHidden());
        const QString longAnswer(40000, QLatin1Char('7'));
        box->setText(longAnswer);
        EXPECT_EQ(box->text(), longAnswer) << "nothing limits what the learner types";
    }
}

TEST_F(Form1Layout, ButtonsAreTabledAndEnabled) {
    ui::Form1* f = create();
    struct Row {
        QPushButton* button;
        const char* name;
        QRect rect;
        const char* caption;
        int pixelSize;
    } rows[] = {
        {f->Command1, "Command1", fromTwips(6480, 3360, 3375, 1215), "こたえ", 64},
        {f->Command2, "Command2", fromTwips(6480, 5040, 3375, 1215), "つぎへ", 64},
        {f->Command3, "Command3", fromTwips(9480, 6600, 1335, 500), "おわり", 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(f->findChild<QPushButton*>(QString::fromUtf8(row.name)), row.button);
        EXPECT_EQ(row.button->geometry(), row.rect);
        EXPECT_EQ(row.button->text(), QString::fromUtf8(row.caption));
        expectFace(row.button, row.pixelSize, false);
        EXPECT_TRUE(row.button->isEnabled());
        EXPECT_FALSE(row.button->isHidden());
    }
}

TEST_F(Form1Layout, PicturesAndTheHiddenControls) {
    ui::Form1* f = create();
    struct Row {
        QLabel* picture;
        const char* name;
        QRect rect;
        bool stretched;
        QSize natural;
    } rows[] = {
        {f->Image3, "Image3", fromTwips(120, 480, 630, 615), false, {42, 41}},
        {f->Image2, "Image2", fromTwips(8400, 240, 1215, 1095), true, {83, 80}},
        {f->Image1, "Image1", fromTwips(9960, 240, 1215, 1095), true, {89, 78}},
        {f->Image4, "Image4", fromTwips(1200, 2880, 4215, 4335), true, {200, 252}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(f->findChild<QLabel*>(QString::fromUtf8(row.name)), row.picture);
        EXPECT_EQ(row.picture->geometry(), row.rect);
        EXPECT_EQ(row.picture->hasScaledContents(), row.stretched);
        EXPECT_EQ(row.picture->pixmap().size(), row.natural) << "the shipped picture";
    }
    EXPECT_FALSE(f->Image3->isHidden());
    EXPECT_FALSE(f->Image2->isHidden());
    EXPECT_FALSE(f->Image1->isHidden());
    EXPECT_TRUE(f->Image4->isHidden());

    EXPECT_EQ(f->findChild<ui::MultimediaControl*>(QStringLiteral("MMControl1")), f->MMControl1);
    EXPECT_EQ(f->MMControl1->geometry(), fromTwips(2400, 1200, 4695, 495));
    EXPECT_TRUE(f->MMControl1->isHidden());
    EXPECT_EQ(f->MMControl1->focusPolicy(), Qt::NoFocus);
}

TEST_F(Form1Layout, OnlyImage4AndTheSoundControlAreHidden) {
    ui::Form1* f = create();
    for (QWidget* child : f->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool hidden = child == f->Image4 || child == f->MMControl1;
        EXPECT_EQ(child->isHidden(), hidden) << child->objectName().toStdString();
    }
}

// The Tab key visits Text1(0), Command1, Command3, Command2, Text1(1), passing over
// disabled buttons; the focus starts in Text1(0).
TEST_F(Form1Layout, TabOrder) {
    ui::Form1* f = open(QString(), QString());
    ASSERT_TRUE(f->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), f->Text1[0]);

    auto visit = [&](int steps) {
        std::vector<QWidget*> seen;
        for (int step = 0; step < steps; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen.push_back(QApplication::focusWidget());
        }
        return seen;
    };
    // Start-up has disabled the next button.
    ASSERT_FALSE(f->Command2->isEnabled());
    EXPECT_EQ(visit(4),
              (std::vector<QWidget*>{f->Command1, f->Command3, f->Text1[1], f->Text1[0]}));

    answerRight();  // the answer button is disabled, the next button enabled
    f->Text1[0]->setFocus();
    EXPECT_EQ(visit(4),
              (std::vector<QWidget*>{f->Command3, f->Command2, f->Text1[1], f->Text1[0]}));
}

}  // namespace
}  // namespace uitest

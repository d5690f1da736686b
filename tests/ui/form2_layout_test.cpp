// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The results window as it is created, hidden and empty.

#include <QPushButton>

#include "form2.h"
#include "layout_check.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

class Form2Layout : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    ui::Form2 form{&dialogs, [] {}};
};

TEST_F(Form2Layout, WindowHasFixedClientAreaPlaceTitleAndIcon) {
    EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("「学習履歴」"));
    EXPECT_EQ(form.geometry(), QRect(186, 88, 889, 526));
    EXPECT_EQ(form.minimumSize(), QSize(889, 526));
    EXPECT_EQ(form.maximumSize(), QSize(889, 526));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_TRUE(form.isHidden()) << "created hidden";
}

TEST_F(Form2Layout, TopLineTitleAndHeadings) {
    const LabelRow rows[] = {
        {"Label28", 240, 120, 375, 255, "ＩＤ：", 16, false, false, false},
        {"labid", 720, 120, 2655, 255, "", 16, false, false, false},
        {"Label27", 5640, 480, 2295, 495, "学習の足あと", 24, false, false, false},
        {"Label29", 11520, 120, 615, 255, "月日：", 16, false, false, false},
        {"labdate", 12240, 120, 735, 255, "", 16, false, false, false},
        {"Label21", 1440, 1080, 2655, 255, "問題の内容", 13, false, true, false},
        {"Label22", 4200, 1080, 1215, 255, "解答時間(秒)", 13, false, true, false},
        {"Label23", 5520, 1080, 975, 375, "誤り回数", 13, false, true, false},
        {"Label24", 7560, 1080, 2655, 255, "問題の内容", 13, false, true, false},
        {"Label25", 10320, 1080, 1215, 255, "解答時間", 13, false, true, false},
        {"Label26", 11640, 1080, 975, 375, "誤り回数", 13, false, true, false},
    };
    QLabel* labels[] = {form.Label28, form.labid,   form.Label27, form.Label29,
                        form.labdate, form.Label21, form.Label22, form.Label23,
                        form.Label24, form.Label25, form.Label26};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        expectLabel(&form, labels[i], rows[i]);
}

TEST_F(Form2Layout, TwentyRowsSideBySide) {
    QLabel* rowLabels[] = {form.Label1,  form.Label2,  form.Label3,  form.Label4,  form.Label5,
                           form.Label6,  form.Label7,  form.Label8,  form.Label9,  form.Label10,
                           form.Label11, form.Label12, form.Label13, form.Label14, form.Label15,
                           form.Label16, form.Label17, form.Label18, form.Label19, form.Label20};
    const char* captions[] = {"問題１",   "問題２",   "問題３",   "問題４",   "問題５",
                              "問題６",   "問題７",   "問題８",   "問題９",   "問題１０",
                              "問題１１", "問題１２", "問題１３", "問題１４", "問題１５",
                              "問題１６", "問題１７", "問題１８", "問題１９", "問題２０"};
    const int widths[] = {615, 615, 615, 615, 615, 615, 615, 615, 615, 735,
                          735, 735, 735, 855, 855, 735, 855, 735, 855, 735};
    for (int k = 1; k <= 20; ++k) {
        const bool left = k <= 10;
        const int top = 1440 + 480 * ((left ? k : k - 10) - 1);
        const std::string name = "Label" + std::to_string(k);
        const std::string m = "m(" + std::to_string(k) + ")";
        const std::string tt = "tt(" + std::to_string(k) + ")";
        const std::string gotou = "gotou(" + std::to_string(k) + ")";
        expectLabel(&form, rowLabels[k - 1],
                    {name.c_str(), left ? 720 : 6840, top, widths[k - 1], 255, captions[k - 1], 13,
                     false, false, false});
        expectLabel(&form, form.m[k],
                    {m.c_str(), left ? 1440 : 7560, top, 2655, 375, "", 19, false, true, true});
        expectLabel(&form, form.tt[k],
                    {tt.c_str(), left ? 4200 : 10320, top, 1215, 375, "", 19, false, true, true});
        expectLabel(&form, form.gotou[k],
                    {gotou.c_str(), left ? 5520 : 11640, top, 975, 375, "", 19, false, true, true});
    }
    EXPECT_EQ(form.m[1]->y(), form.m[11]->y());
    EXPECT_EQ(form.m[10]->y(), form.m[20]->y());
    EXPECT_EQ(form.m[0], nullptr) << "rows count from 1";
}

TEST_F(Form2Layout, PicturesAndTheEndButton) {
    EXPECT_EQ(form.Image3->geometry(), fromTwips(480, 6840, 630, 615));
    EXPECT_FALSE(form.Image3->hasScaledContents());
    EXPECT_EQ(form.Image3->pixmap().size(), QSize(42, 41));
    EXPECT_EQ(form.Image2->geometry(), fromTwips(7800, 6480, 1215, 1095));
    EXPECT_TRUE(form.Image2->hasScaledContents());
    EXPECT_FALSE(form.Image2->pixmap().isNull());
    EXPECT_EQ(form.Image1->geometry(), fromTwips(9240, 6480, 1215, 1095));
    EXPECT_TRUE(form.Image1->hasScaledContents());
    EXPECT_FALSE(form.Image1->pixmap().isNull());

    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("Command1")), form.Command1);
    EXPECT_EQ(form.Command1->geometry(), fromTwips(11280, 6840, 1335, 495));
    EXPECT_EQ(form.Command1->text(), QStringLiteral("おわり"));
    expectFace(form.Command1, 21, false);
    EXPECT_TRUE(form.Command1->isEnabled());
}

TEST_F(Form2Layout, OnlyTheEndButtonTakesTheFocus) {
    for (QWidget* child : form.findChildren<QWidget*>()) {
        if (child != form.Command1) {
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
        }
    }
    EXPECT_NE(form.Command1->focusPolicy(), Qt::NoFocus);
}

TEST_F(Form2Layout, FillingSetsTheCaptionsOfItsRow) {
    form.setM(20, u" 45÷ 6");
    form.setTt(20, u" 12.3");
    form.setGotou(20, u" 2");
    form.setLabid(u"ＩＤ 7");
    form.setLabdate(u"８／１");
    EXPECT_EQ(form.m[20]->text(), QStringLiteral(" 45÷ 6"));
    EXPECT_EQ(form.tt[20]->text(), QStringLiteral(" 12.3"));
    EXPECT_EQ(form.gotou[20]->text(), QStringLiteral(" 2"));
    EXPECT_EQ(form.labid->text(), QStringLiteral("ＩＤ 7"));
    EXPECT_EQ(form.labdate->text(), QStringLiteral("８／１"));
    EXPECT_TRUE(form.m[19]->text().isEmpty());
}

}  // namespace
}  // namespace uitest

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_layouts.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace layout {

int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

const Control* Window::find(std::u16string_view controlName) const {
    for (const Control& control : controls) {
        if (control.name == controlName)
            return &control;
    }
    return nullptr;
}

int Window::controlId(std::u16string_view controlName) const {
    const Control* control = find(controlName);
    return control == nullptr ? -1 : kFirstControlId + static_cast<int>(control - controls.data());
}

std::u16string_view pictureName(Picture picture) {
    switch (picture) {
        case Picture::Crest:
            return u"もんしょう";
        case Picture::Logo:
            return u"きょうしつの マーク";
        case Picture::Mascot:
            return u"かえる";
        case Picture::Praise:
            return u"よくできました";
        case Picture::None:
            break;
    }
    return {};
}

namespace {

// Face sizes in pixels: 36 pt, 24 pt, 14.25 pt, 12 pt, 9.75 pt and so on, times 4 / 3.
constexpr int kBig = 48;

Control label(std::u16string_view name, TwipsRect rect, std::u16string_view text, int fontPixels) {
    Control control;
    control.name = name;
    control.kind = Kind::Label;
    control.rect = rect;
    control.text = text;
    control.fontPixels = fontPixels;
    return control;
}

Control problemCell(std::u16string_view name, TwipsRect rect, std::u16string_view text) {
    Control control = label(name, rect, text, kBig);
    control.centred = true;
    control.boxed = true;
    control.background = kWhite;
    return control;
}

Control picture(std::u16string_view name, TwipsRect rect, Picture shown, bool stretched) {
    Control control;
    control.name = name;
    control.kind = Kind::Picture;
    control.rect = rect;
    control.picture = shown;
    control.stretched = stretched;
    control.accessibleName = pictureName(shown);
    return control;
}

Control focusable(Kind kind, std::u16string_view name, TwipsRect rect, std::u16string_view text,
                  int fontPixels, int tabOrder) {
    Control control = label(name, rect, text, fontPixels);
    control.kind = kind;
    control.tabOrder = tabOrder;
    return control;
}

std::vector<Control> form1Controls() {
    std::vector<Control> controls;
    // Heading.
    controls.push_back(picture(u"Image3", {120, 480, 630, 615}, Picture::Crest, false));
    Control label4 = label(u"Label4", {1920, 120, 1455, 255}, u"ぽる", 16);
    label4.bold = true;
    controls.push_back(label4);
    controls.push_back(label(u"Label3", {3000, 360, 3375, 735}, u"【ねあ】", kBig));
    controls.push_back(picture(u"Image2", {8400, 240, 1215, 1095}, Picture::Logo, true));
    controls.push_back(picture(u"Image1", {9960, 240, 1215, 1095}, Picture::Mascot, true));
    Control label2 = label(u"Label2", {8400, 1440, 2775, 255}, u"かえるの森 さんすう教室", 13);
    label2.bold = true;
    label2.centred = true;
    controls.push_back(label2);

    // Problem number and the problem row.
    Control number = label(u"Label(5)", {120, 1200, 3015, 495}, u"", 32);
    number.centred = true;
    number.foreground = kBlack;
    controls.push_back(number);
    controls.push_back(problemCell(u"Label(0)", {240, 1800, 1575, 855}, u""));
    controls.push_back(problemCell(u"Label(1)", {1920, 1800, 1575, 855}, u""));
    controls.push_back(problemCell(u"Label(2)", {3600, 1800, 1575, 855}, u""));
    controls.push_back(problemCell(u"Label(3)", {5280, 1800, 1305, 855}, u"＝"));
    Control quotient = focusable(Kind::TextBox, u"Text1(0)", {6720, 1800, 1575, 855}, u"", kBig, 0);
    quotient.background = kWhite;
    quotient.accessibleName = u"しょう（こたえ）";
    controls.push_back(quotient);
    controls.push_back(problemCell(u"Label(6)", {8400, 1800, 1215, 855}, u"・・・"));
    Control remainder =
        focusable(Kind::TextBox, u"Text1(1)", {9720, 1800, 1575, 855}, u"", kBig, 4);
    remainder.background = kWhite;
    remainder.accessibleName = u"あまり";
    controls.push_back(remainder);
    Control label1 = label(u"Label1", {8280, 2760, 615, 255}, u"半角", 19);
    label1.foreground = kRed;
    controls.push_back(label1);
    Control label5 = label(u"Label5", {8880, 2760, 1215, 255}, u"で入力！", 19);
    label5.foreground = kBlack;
    controls.push_back(label5);

    // The judgement mark and, in its place, the praise picture (hidden until the end).
    Control mark = label(u"Label(4)", {1320, 3000, 3975, 4095}, u"", 267);  // 200 pt
    mark.background = kWhite;
    mark.foreground = kBlue;
    controls.push_back(mark);
    Control praise = picture(u"Image4", {1200, 2880, 4215, 4335}, Picture::Praise, true);
    praise.visible = false;
    controls.push_back(praise);

    // Buttons; the focus goes Text1(0), Command1, Command3, Command2, Text1(1).
    controls.push_back(
        focusable(Kind::Button, u"Command1", {6480, 3360, 3375, 1215}, u"こたえ", 64, 1));
    controls.push_back(
        focusable(Kind::Button, u"Command2", {6480, 5040, 3375, 1215}, u"つぎへ", 64, 3));
    controls.push_back(
        focusable(Kind::Button, u"Command3", {9480, 6600, 1335, 500}, u"おわり", 21, 2));

    // The sound control is never seen.
    Control sound;
    sound.name = u"MMControl1";
    sound.kind = Kind::Sound;
    sound.rect = {2400, 1200, 4695, 495};
    sound.visible = false;
    controls.push_back(sound);
    return controls;
}

constexpr std::array<std::u16string_view, 21> kRowNumbers = {
    u"",         u"問題１",   u"問題２",   u"問題３",   u"問題４",   u"問題５",   u"問題６",
    u"問題７",   u"問題８",   u"問題９",   u"問題１０", u"問題１１", u"問題１２", u"問題１３",
    u"問題１４", u"問題１５", u"問題１６", u"問題１７", u"問題１８", u"問題１９", u"問題２０"};

int rowLabelWidth(int row) {
    if (row <= 9)
        return 615;
    if (row == 14 || row == 15 || row == 17 || row == 19)
        return 855;
    return 735;
}

// Names and accessible names of the grid, kept for the life of the program.
struct GridTexts {
    std::array<std::u16string, 21> rowLabel, m, tt, gotou, mName, ttName, gotouName;
    GridTexts() {
        for (int row = 1; row <= 20; ++row) {
            std::u16string index = u"(";
            index += digits(row);
            index += u')';
            rowLabel[row] = std::u16string(u"Label") += digits(row);
            m[row] = std::u16string(u"m") += index;
            tt[row] = std::u16string(u"tt") += index;
            gotou[row] = std::u16string(u"gotou") += index;
            // A reader hears each box by its row and column; its text is the value.
            const std::u16string rowName = std::u16string(kRowNumbers[row]) + u" ";
            mName[row] = rowName + u"問題の内容";
            ttName[row] = rowName + u"解答時間";
            gotouName[row] = rowName + u"誤り回数";
        }
    }
    static std::u16string digits(int number) {
        std::u16string text;
        for (const char c : std::to_string(number))
            text += static_cast<char16_t>(c);
        return text;
    }
};

std::vector<Control> form2Controls() {
    static const GridTexts texts;
    constexpr int kSmall = 13;   // 9.75 pt
    constexpr int kMedium = 16;  // 12 pt
    constexpr int kCell = 19;    // 14.25 pt
    std::vector<Control> controls;
    for (int row = 1; row <= 20; ++row) {
        const bool left = row <= 10;
        const int top = 1440 + 480 * ((left ? row : row - 10) - 1);
        controls.push_back(label(texts.rowLabel[row],
                                 {left ? 720 : 6840, top, rowLabelWidth(row), 255},
                                 kRowNumbers[row], kSmall));
        const auto cell = [&](const std::u16string& name, const std::u16string& spoken,
                              int leftEdge, int width) {
            Control control = label(name, {leftEdge, top, width, 375}, u"", kCell);
            control.centred = true;
            control.boxed = true;
            control.accessibleName = spoken;
            controls.push_back(control);
        };
        cell(texts.m[row], texts.mName[row], left ? 1440 : 7560, 2655);
        cell(texts.tt[row], texts.ttName[row], left ? 4200 : 10320, 1215);
        cell(texts.gotou[row], texts.gotouName[row], left ? 5520 : 11640, 975);
    }
    const auto heading = [&](std::u16string_view name, TwipsRect rect, std::u16string_view text) {
        Control control = label(name, rect, text, kSmall);
        control.centred = true;
        controls.push_back(control);
    };
    heading(u"Label21", {1440, 1080, 2655, 255}, u"問題の内容");
    heading(u"Label22", {4200, 1080, 1215, 255}, u"解答時間(秒)");
    heading(u"Label23", {5520, 1080, 975, 375}, u"誤り回数");
    heading(u"Label24", {7560, 1080, 2655, 255}, u"問題の内容");
    heading(u"Label25", {10320, 1080, 1215, 255}, u"解答時間");
    heading(u"Label26", {11640, 1080, 975, 375}, u"誤り回数");
    controls.push_back(label(u"Label27", {5640, 480, 2295, 495}, u"学習の足あと", 24));
    controls.push_back(label(u"Label28", {240, 120, 375, 255}, u"ＩＤ：", kMedium));
    Control labid = label(u"labid", {720, 120, 2655, 255}, u"", kMedium);
    labid.accessibleName = u"ＩＤ";
    controls.push_back(labid);
    controls.push_back(label(u"Label29", {11520, 120, 615, 255}, u"月日：", kMedium));
    Control labdate = label(u"labdate", {12240, 120, 735, 255}, u"", kMedium);
    labdate.accessibleName = u"月日";
    controls.push_back(labdate);

    controls.push_back(picture(u"Image3", {480, 6840, 630, 615}, Picture::Crest, false));
    controls.push_back(picture(u"Image2", {7800, 6480, 1215, 1095}, Picture::Logo, true));
    controls.push_back(picture(u"Image1", {9240, 6480, 1215, 1095}, Picture::Mascot, true));
    // The only control that takes the focus.
    controls.push_back(
        focusable(Kind::Button, u"Command1", {11280, 6840, 1335, 495}, u"おわり", 21, 0));
    return controls;
}

}  // namespace

const Window& form1() {
    static const std::vector<Control> controls = form1Controls();
    static const Window window{
        u"Form1", u"「ポルネア」 for Windows", {3675, 1320, 11550, 7665}, controls, 96};  // 72 pt
    return window;
}

const Window& form2() {
    static const std::vector<Control> controls = form2Controls();
    static const Window window{u"Form2", u"「学習履歴」", {2790, 1320, 13335, 7890}, controls};
    return window;
}

}  // namespace layout

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recording_fakes.h"

#include <string>

namespace fakes {

std::string utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        char32_t cp = text[k];
        if (cp >= 0xD800 && cp < 0xDC00 && k + 1 < text.size()) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++k] - 0xDC00);
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string utf16(std::string_view text) {
    std::u16string out;
    for (std::size_t k = 0; k < text.size();) {
        const auto byte = static_cast<unsigned char>(text[k]);
        char32_t cp;
        int extra;
        if (byte < 0x80) {
            cp = byte, extra = 0;
        } else if (byte < 0xE0) {
            cp = byte & 0x1F, extra = 1;
        } else if (byte < 0xF0) {
            cp = byte & 0x0F, extra = 2;
        } else {
            cp = byte & 0x07, extra = 3;
        }
        ++k;
        for (int e = 0; e < extra && k < text.size(); ++e, ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

namespace {
std::string colourName(drill::Rgb colour) {
    if (colour == drill::kBlue)
        return "blue";
    if (colour == drill::kRed)
        return "red";
    return "rgb(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + ")";
}
}  // namespace

void View::setLabelCaption(int index, const std::u16string& text) {
    caption.at(index) = text;
    log_.push_back("Label(" + std::to_string(index) + ").Caption=" + utf8(text));
}

void View::setLabelForeColor(int index, drill::Rgb colour) {
    foreColor.at(index) = colour;
    log_.push_back("Label(" + std::to_string(index) + ").ForeColor=" + colourName(colour));
}

void View::setLabelVisible(int index, bool visible) {
    labelVisible.at(index) = visible;
    log_.push_back("Label(" + std::to_string(index) + ").Visible=" + std::to_string(visible));
}

void View::setText1(int index, const std::u16string& text) {
    log_.push_back("Text1(" + std::to_string(index) + ").Text=" + utf8(text));
    if (text1_.at(index) == text)
        return;
    text1_.at(index) = text;
    if (onText1Change)
        onText1Change(index);
}

void View::type(int index, std::string_view text) {
    const std::u16string typed = utf16(text);
    if (text1_.at(index) == typed)
        return;
    text1_.at(index) = typed;
    if (onText1Change)
        onText1Change(index);
}

void View::setText1Focus(int index) {
    focus = index;
    log_.push_back("Text1(" + std::to_string(index) + ").SetFocus");
}

void View::setCommandEnabled(int command, bool on) {
    enabled.at(command) = on;
    log_.push_back("Command" + std::to_string(command) + ".Enabled=" + std::to_string(on));
}

void View::setImage4Visible(bool visible) {
    image4Visible = visible;
    log_.push_back("Image4.Visible=" + std::to_string(visible));
}

void View::unload() {
    unloaded = true;
    log_.push_back("Form1.Unload");
}

void Sound::setCommand(const std::u16string& command) {
    log_.push_back("MM.Command=" + utf8(command));
}

void Sound::setFileName(const std::u16string& fileName) {
    log_.push_back("MM.FileName=" + utf8(fileName));
}

std::u16string Dialogs::inputBox(const std::u16string& prompt, const std::u16string& title) {
    log_.push_back("InputBox " + utf8(title) + " / " + utf8(prompt));
    if (inputs.empty())
        return u"";
    std::u16string answer = inputs.front();
    inputs.pop_front();
    return answer;
}

bool Dialogs::askYesNo(const std::u16string& prompt, const std::u16string& title) {
    log_.push_back("MsgBox " + utf8(title) + " / " + utf8(prompt));
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void Dialogs::showMessage(const std::u16string& prompt, const std::u16string& title) {
    log_.push_back("Message " + utf8(title));
    messages.push_back(prompt);
}

float Clock::secondsSinceMidnight() {
    log_.push_back("Clock");
    const float reading = now;
    now += stepPerRead;
    return reading;
}

double Random::next() {
    log_.push_back("Rnd");
    if (queued.empty())
        return real_.next();
    const double value = queued.front();
    queued.pop_front();
    return value;
}

void Random::reseed(float seed) {
    ++reseeds;
    real_.reseed(seed);
    log_.push_back("Randomize");
}

drill::HistoryOutcome Records::writeHistory(drill::DrillState& state) {
    log_.push_back("WriteHistory");
    written.push_back(state);
    return outcome;
}

void Records::fillResults(drill::DrillState& /*state*/, drill::ResultsLabels& /*labels*/) {
    ++fills;
    log_.push_back("FillResults");
}

drill::ResultsLabels& ResultsWindow::labels() {
    log_.push_back("Form2.Load");
    return labels_;
}

void ResultsWindow::show() {
    shown = true;
    log_.push_back("Form2.Show");
}

void Rig::answerRight() {
    const auto& s = drill.state();
    const int quotient = s.a / s.c;
    view.type(0, std::to_string(quotient));
    view.type(1, std::to_string(s.a - quotient * s.c));
    drill.answerClicked();
}

void Rig::answerWrong() {
    const auto& s = drill.state();
    view.type(0, std::to_string(s.a / s.c + 1));
    view.type(1, "0");
    drill.answerClicked();
}

std::vector<std::string> Rig::entries(std::size_t from, std::string_view prefix) const {
    std::vector<std::string> out;
    for (std::size_t k = from; k < log.size(); ++k) {
        if (log[k].starts_with(prefix))
            out.push_back(log[k]);
    }
    return out;
}

}  // namespace fakes

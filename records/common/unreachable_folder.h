// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the learner is told, before the first question, when the working folder that a
// settings file names cannot be reached; and why each file of the drill is then not saved.

#include <string>
#include <string_view>

namespace records::unreachable {

inline constexpr std::u16string_view kTitle = u"ぽるねあ";

// The message: the folder and why it cannot be reached, in Japanese.
inline std::u16string message(std::u16string_view folder, std::u16string_view reason) {
    std::u16string text =
        u"きろくを しまう フォルダに つながりません。\nきょうの きろくは "
        u"ほぞんされません。\n\nフォルダ：";
    text += folder;
    text += u"\nりゆう：";
    text += reason;
    return text;
}

// The reason given for every file of the drill at its end.
inline std::u16string notSavedReason(std::u16string_view folder, std::u16string_view reason) {
    std::u16string text = u"きろくを しまう フォルダ ";
    text += folder;
    text += u" に つながりませんでした。";
    text += reason;
    return text;
}

}  // namespace records::unreachable

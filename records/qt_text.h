// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drill's UTF-16 texts as Qt's strings, and back.

#include <QString>
#include <QStringView>
#include <string_view>

namespace records {

inline QString toQString(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// A view of the string's code units, valid as long as the string is.
inline std::u16string_view toU16View(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace records

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drill's UTF-16 texts as Qt's strings.

#include <QString>
#include <QStringView>
#include <string_view>

namespace records {

inline QString toQString(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

}  // namespace records

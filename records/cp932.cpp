// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cp932.h"

#include <string>

#include "cp932_bytes.h"

namespace records {

bool cp932Available() {
    return true;
}

QByteArray toCp932(std::u16string_view text) {
    return QByteArray::fromStdString(common::encodeCp932(text));
}

std::optional<QString> fromCp932(QByteArrayView bytes) {
    const std::optional<std::u16string> text =
        common::decodeCp932(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    if (!text)
        return std::nullopt;
    return QString::fromStdU16String(*text);
}

}  // namespace records

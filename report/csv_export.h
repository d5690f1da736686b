// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// CSV as spreadsheets open it as Japanese: UTF-8 with a byte-order mark, CR LF line ends,
// text items always quoted with "" for a double quote inside, numbers bare.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <vector>

#include "figures.h"

namespace report {

// The class table: a header line and one line per learner.
QByteArray classCsv(const std::vector<ClassRow>& rows);

// One learner's problems, hardest first, each line starting with the learner's ID.
QByteArray problemsCsv(const QString& id, const std::vector<ProblemFigures>& problems);

// Writes the bytes whole or not at all. On failure, false and the reason in Japanese.
bool writeExport(const QString& path, const QByteArray& bytes, QString* error);

// Puts a written export in place, or on any failure of the writing before leaves nothing
// behind and gives false with the reason (a full disk in Japanese). Shared with the PDF.
bool commitExport(QSaveFile& file, QString* reason);

}  // namespace report

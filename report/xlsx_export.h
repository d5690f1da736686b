// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// XLSX workbooks for spreadsheets: the same columns as on screen and in CSV, IDs and other
// texts as text cells (so that "05" stays "05"), figures as numbers. Written whole or not at
// all.

#include <QString>
#include <vector>

#include "class_folder.h"
#include "figures.h"
#include "tables.h"

namespace report {

struct Sheet {
    QString name;  // made fit for a sheet's name: no []:*?/\, at most 31 characters, unique
    TableText table;
};

// Writes the sheets, each a header row over its rows. On failure, false and the reason in
// Japanese.
bool writeXlsx(const QString& path, const std::vector<Sheet>& sheets, QString* error);

// The class table of these rows (as the CSV has them), then one sheet per child of the
// folder with their problems, hardest first.
bool writeClassXlsx(const QString& path, const records::ClassFolder& folder,
                    const std::vector<ClassRow>& rows, QString* error);

// One child's problems, hardest first, and their drills.
bool writeLearnerXlsx(const QString& path, const records::Learner& learner, QString* error);

}  // namespace report

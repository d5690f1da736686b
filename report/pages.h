// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The printed pages: the class page (as many sheets as its rows need) and a learner's page,
// on any paged device: a QPdfWriter for the PDF, or a QPrinter from the print dialog.

#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>

#include "class_folder.h"
#include "period.h"

namespace report {

// The class table with its flags as of today (or the period's end), and the class's divisors,
// with the folder, the period and the date of printing at the top; from the device's current
// page on. The folder is already cut to the period. Gives false when the painter could not
// start on the device.
bool printClassPage(QPagedPaintDevice& device, const records::ClassFolder& folder,
                    const Period& period = {});

// One learner's page: the table of their latest drills, the chart over time, the divisor
// grid and the hardest problems (as many as fit).
bool printLearnerPage(QPagedPaintDevice& device, const records::Learner& learner);

// The class page, then one page per learner with a drill kept: the whole folder for a meeting.
bool printClassAndLearners(QPagedPaintDevice& device, const records::ClassFolder& folder,
                           const Period& period = {});

// PDF files on A4, written whole or not at all. On failure, false and the reason in Japanese
// in `error`. The folder's PDF is the class page followed by a page for each learner with a
// drill kept.
bool writeClassPdf(const QString& path, const records::ClassFolder& folder, QString* error,
                   const Period& period = {});
bool writeLearnerPdf(const QString& path, const records::Learner& learner, QString* error);
bool writeFolderPdf(const QString& path, const records::ClassFolder& folder, QString* error,
                    const Period& period = {});

// For other pages: paints through a painter of its own on the device, from its current page
// on; and an A4 PDF painted by `paint`, written whole or not at all.
bool paintOn(QPagedPaintDevice& device, const std::function<bool(QPainter&)>& paint);
bool writePagedPdf(const QString& path, const QString& title, QString* error,
                   const std::function<bool(QPagedPaintDevice&)>& paint);

}  // namespace report

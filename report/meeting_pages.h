// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The sheet for the parents' meeting (面談用): one A4 page per child with the child's name and
// the period, the first weeks against the latest, the divisors ÷1 to ÷9, the hardest problems
// and an empty box for the teacher's comment.

#include <QPagedPaintDevice>
#include <QString>
#include <vector>

#include "class_folder.h"
#include "period.h"

namespace report {

struct MeetingChild {
    QString number;                             // 出席番号; may be empty
    QString name;                               // 氏名; empty: the sheet names the child by ID
    const records::Learner* learner = nullptr;  // the drills of the period (see inPeriod)
};

// The children of the folder with a drill, in its order, with the 出席番号 and 氏名 of the
// class list when one named them.
std::vector<MeetingChild> meetingChildren(const records::ClassFolder& folder);

// One sheet per child, from the device's current page on. False when the painter could not
// start on the device.
bool printMeetingSheets(QPagedPaintDevice& device, const std::vector<MeetingChild>& children,
                        const Period& period);

// The sheets as an A4 PDF, written whole or not at all; on failure, false and the reason in
// Japanese in `error`.
bool writeMeetingPdf(const QString& path, const std::vector<MeetingChild>& children,
                     const Period& period, QString* error);

}  // namespace report

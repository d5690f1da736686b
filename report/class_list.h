// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The class as the program shows it: the learners of a class folder joined and named by the
// teacher's class list.

#include <QString>

#include "class_folder.h"
#include "roster.h"

namespace report {

// Every child of the list with drills under any of their IDs ("05", "5" and "０５" are the
// same ID) becomes one learner: the drills of all those IDs in time order, the IDs joined by
// "・" as its ID, its 出席番号 and 氏名, and a note of the IDs joined when there were several.
// The children come in the order of their 出席番号. IDs that the list does not name follow
// as learners of their own, without a name. Without a list, the folder stays as it was read.
records::ClassFolder nameClass(records::ClassFolder folder, const Roster* roster);

// What the list did, for the teacher: how many children it names, those of them without any
// drill in the folder as read, and the IDs joined into one child.
QString rosterNote(const records::ClassFolder& read, const records::ClassFolder& named,
                   const Roster& roster);

// Whether the learner has that ID: its own, or one of the IDs joined into it.
bool hasId(const records::Learner& learner, const QString& id);

// How a heading names a child: "5番 山田 花子（ID 5）", or "ID 5" without a name.
QString childTitle(const records::Learner& learner);

}  // namespace report

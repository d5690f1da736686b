// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line of rovedavu-report:
//
//   rovedavu-report [FOLDER]                the windows
//   rovedavu-report --csv OUT.csv [FOLDER]  the class table as CSV
//   rovedavu-report --pdf OUT.pdf [FOLDER]  the class page and every learner's page as PDF
//   rovedavu-report --problems-csv OUT.csv ID [FOLDER]
//                                           one learner's problems as CSV, hardest first
//   rovedavu-report --meeting-pdf OUT.pdf [--id ID] [FOLDER]
//                                           the sheets for the parents' meeting as PDF:
//                                           every child with a drill, or the one of that ID
//   rovedavu-report --xlsx OUT.xlsx [FOLDER]
//                                           the class table and each child's problems as XLSX
//
// FOLDER is a rirekidata folder; without it, the working folder's rirekidata. Every export
// takes --from YYYY-MM-DD and --to YYYY-MM-DD (either or both): only the drills ended in
// those days count.
// --roster FILE, with any of these, names the children by that class list for this run only;
// without it, the list kept for the folder (if any) names them.

#include <QDate>
#include <QString>
#include <QStringList>

namespace report {

struct Options {
    enum class Action { Windows, Csv, ProblemsCsv, Pdf, MeetingPdf, Xlsx, Help };
    Action action = Action::Windows;
    QString output;  // the file to write, for Csv, ProblemsCsv, Pdf, MeetingPdf and Xlsx
    QString id;      // the learner, for ProblemsCsv; for MeetingPdf, empty for all
    QString folder;  // empty: the working folder's rirekidata
    QDate from, to;  // the period of the export; invalid: open on that side
    QString roster;  // a class list for this run; empty: the one kept for the folder
    QString error;   // a wrong command line, in Japanese; empty when fine
};

// The arguments after the program's name.
Options parseArguments(const QStringList& arguments);

// How to call the program, for --help and after a wrong command line.
QString usageText();

// The working folder's rirekidata.
QString defaultFolder();

// Whether the windows can open: on Linux, a display (X11 or Wayland) or a Qt platform
// chosen with QT_QPA_PLATFORM (such as offscreen).
bool displayAvailable();

// Why the windows can't open without a display, and how to export without one.
QString noDisplayText();

// Writes the CSV, XLSX or PDF of options.folder (or the default folder) into options.output.
// Gives the exit status: 0 when written (a class without any drill is written too, with a
// word on standard error); otherwise a message on standard error and 1.
// Needs a QGuiApplication for the PDF.
int runExport(const Options& options);

}  // namespace report

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// report_sample_class RIREKIDATA LEARNERS DRILLS [SEED [LAST-DAY]]: writes a made-up class
// folder, its drills ending on LAST-DAY (YYYY-MM-DD) when given.

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

#include "sample_class.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4 || args.size() > 6) {
        std::fputs("usage: report_sample_class RIREKIDATA LEARNERS DRILLS [SEED [LAST-DAY]]\n",
                   stderr);
        return 2;
    }
    QString error;
    if (!report::writeSampleClass(
            args[1], args[2].toInt(), args[3].toInt(), args.size() >= 5 ? args[4].toUInt() : 1,
            &error, args.size() == 6 ? QDate::fromString(args[5], Qt::ISODate) : QDate())) {
        std::fprintf(stderr, "report_sample_class: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

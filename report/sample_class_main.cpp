// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// report_sample_class RIREKIDATA LEARNERS DRILLS [SEED]: writes a made-up class folder.

#include <QCoreApplication>
#include <cstdio>

#include "sample_class.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4 || args.size() > 5) {
        std::fputs("usage: report_sample_class RIREKIDATA LEARNERS DRILLS [SEED]\n", stderr);
        return 2;
    }
    QString error;
    if (!report::writeSampleClass(args[1], args[2].toInt(), args[3].toInt(),
                                  args.size() == 5 ? args[4].toUInt() : 1, &error)) {
        std::fprintf(stderr, "report_sample_class: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

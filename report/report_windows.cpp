#include "report_windows.h"

#include <QTextStream>

namespace report {

int runWindows(const QString& folder, bool folderGiven) {
    Q_UNUSED(folder);
    Q_UNUSED(folderGiven);
    QTextStream(stderr) << QStringLiteral(
        "画面はまだありません。--csv か --pdf で書き出してください。\n");
    return 1;
}

}  // namespace report

// rovedavu-working-folder: prints the working folder on the first line and "configured" or
// "per-user" on the second, for the launcher. A folder whose name holds a line break cannot
// be printed this way and is refused with exit status 1.

#include <QFile>
#include <cstdio>

#include "data_folder.h"

int main() {
    const records::WorkingFolder folder = records::workingFolder();
    if (folder.path.contains(u'\n'))
        return 1;
    std::printf("%s\n%s\n", QFile::encodeName(folder.path).constData(),
                folder.configured ? "configured" : "per-user");
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace report {

namespace {

const QString kFolderKey = QStringLiteral("folder");
const QString kExportKey = QStringLiteral("exportFolder");

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("rovedavu"),
                                       QStringLiteral("rovedavu-report"));
}

}  // namespace

QString rememberedFolder() {
    return settings()->value(kFolderKey).toString();
}

void rememberFolder(const QString& folder) {
    settings()->setValue(kFolderKey, folder);
}

QString rememberedExportFolder() {
    const QString folder = settings()->value(kExportKey).toString();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void rememberExportFolder(const QString& exportedFile) {
    settings()->setValue(kExportKey, QFileInfo(exportedFile).absolutePath());
}

}  // namespace report

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reads a class folder on a worker thread, so that a slow network share never freezes the
// windows: progress and the result come back to the thread that owns the loader.

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "class_folder.h"

namespace report {

class FolderLoader : public QObject {
    Q_OBJECT

public:
    explicit FolderLoader(QObject* parent = nullptr);
    // Stops a reading under way and waits for its thread.
    ~FolderLoader() override;

    // Starts reading folder; a reading under way is stopped and its result never arrives.
    void load(const QString& folder);
    bool busy() const { return busy_; }

signals:
    // Files read so far of all the files found.
    void progress(qsizetype done, qsizetype total);
    void loaded(std::shared_ptr<const records::ClassFolder> result);

private:
    void stop();

    std::thread worker_;
    std::unique_ptr<std::atomic<bool>> cancel_;
    unsigned generation_ = 0;
    bool busy_ = false;
};

}  // namespace report

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "folder_loader.h"

#include <QMetaObject>
#include <algorithm>

namespace report {

FolderLoader::FolderLoader(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const records::ClassFolder>>();
}

FolderLoader::~FolderLoader() {
    stop();
}

void FolderLoader::stop() {
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    cancel_.reset();
    busy_ = false;
}

void FolderLoader::load(const QString& folder) {
    stop();
    cancel_ = std::make_unique<std::atomic<bool>>(false);
    const unsigned generation = ++generation_;
    busy_ = true;
    // The worker only posts to this loader. A later load() or the destructor joins the
    // worker first, and a result of an earlier generation is dropped on arrival.
    worker_ = std::thread([this, folder, generation, cancel = cancel_.get()] {
        std::size_t lastShown = 0;
        bool shown = false;
        records::ScanControl control;
        control.cancel = cancel;
        control.progress = [&](std::size_t done, std::size_t total) {
            // About a hundred steps reach the window, however many files there are.
            const std::size_t step = std::max<std::size_t>(1, total / 100);
            if (shown && done != total && done - lastShown < step)
                return;
            shown = true;
            lastShown = done;
            QMetaObject::invokeMethod(
                this,
                [this, done, total, generation] {
                    if (generation == generation_)
                        emit progress(static_cast<qsizetype>(done), static_cast<qsizetype>(total));
                },
                Qt::QueuedConnection);
        };
        auto result =
            std::make_shared<const records::ClassFolder>(records::readClassFolder(folder, control));
        if (result->cancelled)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation != generation_)
                    return;
                busy_ = false;
                emit loaded(result);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace report

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "multimedia_control.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>

namespace ui {

namespace {
const QString kShippedFolder = QStringLiteral(":/sounds/");
// How long the end of the program waits for the sound thread before leaving it behind.
constexpr int kStopWaitMs = 2000;
}  // namespace

// Keeps the cue player on the sound thread: loads its module at the first command, and
// ends it on that thread when the thread ends.
class CueHost : public QObject {
public:
    CuePlayer* player() {
        if (!tried_) {
            tried_ = true;
            QLibrary module(
                QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kCueModule)));
            if (auto create = reinterpret_cast<CuePlayerFactory>(module.resolve(kCuePlayerFactory)))
                player_.reset(create());
        }
        return player_.get();
    }

    // Ends the player while the thread still runs its events, so that whatever the sound
    // effects leave to be done as they go is done, then ends the thread.
    void finish() {
        player_.reset();
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents(nullptr, 0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        thread()->quit();
    }

private:
    bool tried_ = false;
    std::unique_ptr<CuePlayer> player_;
};

MultimediaControl::MultimediaControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

MultimediaControl::~MultimediaControl() {
    if (!thread_)
        return;
    // The player and its sounds end on their own thread after the commands already given,
    // then the thread ends.
    QMetaObject::invokeMethod(
        host_, [host = host_] { host->finish(); }, Qt::QueuedConnection);
    if (!thread_->wait(QDeadlineTimer(kStopWaitMs)))
        (void)thread_.release();  // a sound system that hangs must not hold the program
}

QUrl MultimediaControl::locate(const QString& fileName) {
    if (fileName.isEmpty())
        return {};
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo given(name);
        return given.isFile() ? QUrl::fromLocalFile(given.absoluteFilePath()) : QUrl();
    }
    const QFileInfo beside(QDir::current(), name);
    if (beside.isFile())
        return QUrl::fromLocalFile(beside.absoluteFilePath());
    if (QFileInfo(kShippedFolder + name).isFile())
        return QUrl(QStringLiteral("qrc") + kShippedFolder + name);
    return {};
}

void MultimediaControl::post(std::function<void(CuePlayer&)> command) {
    if (!thread_) {
        thread_ = std::make_unique<QThread>();
        thread_->setObjectName(QStringLiteral("MMControl1"));
        host_ = new CueHost;
        host_->moveToThread(thread_.get());
        connect(thread_.get(), &QThread::finished, host_, &QObject::deleteLater);
        thread_->start();
    }
    QMetaObject::invokeMethod(
        host_,
        [host = host_, command = std::move(command)] {
            if (CuePlayer* player = host->player())
                command(*player);
        },
        Qt::QueuedConnection);
}

void MultimediaControl::setCommand(const std::u16string& command) {
    try {
        const QString name = QString::fromStdU16String(command);
        const auto is = [&name](const char* known) {
            return name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
        };
        // Files are looked for on the sound thread too, away from the window.
        if (is("Stop"))
            post([](CuePlayer& player) { player.stop(); });
        else if (is("Close"))
            post([](CuePlayer& player) { player.close(); });
        else if (is("Open"))
            post([file = fileName_](CuePlayer& player) { player.open(locate(file)); });
        else if (is("Sound"))
            post([file = fileName_](CuePlayer& player) { player.sound(locate(file)); });
    } catch (...) {
        // A cue that cannot be played passes unnoticed.
    }
}

void MultimediaControl::setFileName(const std::u16string& fileName) {
    fileName_ = QString::fromStdU16String(fileName);
}

void MultimediaControl::finishCommands() {
    if (thread_)
        QMetaObject::invokeMethod(
            host_, [] {}, Qt::BlockingQueuedConnection);
}

bool MultimediaControl::playerLoaded() {
    bool loaded = false;
    if (thread_) {
        QMetaObject::invokeMethod(
            host_, [&] { loaded = host_->player() != nullptr; }, Qt::BlockingQueuedConnection);
    }
    return loaded;
}

template <typename Result>
Result MultimediaControl::ask(Result (CuePlayer::*question)() const) {
    Result answer{};
    if (thread_) {
        QMetaObject::invokeMethod(
            host_,
            [&] {
                if (CuePlayer* player = host_->player())
                    answer = (player->*question)();
            },
            Qt::BlockingQueuedConnection);
    }
    return answer;
}

QUrl MultimediaControl::openSource() {
    return ask(&CuePlayer::openSource);
}

int MultimediaControl::loadedCount() {
    return ask(&CuePlayer::loadedCount);
}

std::vector<CueStatus> MultimediaControl::statuses() {
    return ask(&CuePlayer::statuses);
}

}  // namespace ui

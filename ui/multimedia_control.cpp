// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "multimedia_control.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

#include "cue_player.h"
#include "multimedia_control_probe.h"
#include "sound_log.h"

namespace ui {

namespace {

const QString kShippedFolder = QStringLiteral(":/sounds/");
// How long the end of the program waits for sound threads still ending before leaving them.
constexpr int kExitWaitMs = 2000;

// The sound threads of controls already gone, each until it has ended. Used on the
// window's thread only.
std::vector<QThread*>& endingThreads() {
    static std::vector<QThread*> threads;
    return threads;
}

// At the end of the program: a sound system that hangs must not hold it for long. False when
// a thread was left running.
bool waitForEndingThreads() {
    const QDeadlineTimer deadline(kExitWaitMs);
    bool allEnded = true;
    for (QThread* thread : endingThreads()) {
        if (thread->wait(deadline)) {
            delete thread;
        } else {
            qCWarning(lcSound) << "the sound thread did not end; the program leaves it";
            allEnded = false;
        }
    }
    endingThreads().clear();
    return allEnded;
}

void letEnd(QThread* thread) {
    static const bool routineAdded = [] {
        qAddPostRoutine([] { (void)waitForEndingThreads(); });
        return true;
    }();
    (void)routineAdded;
    endingThreads().push_back(thread);
    QObject::connect(thread, &QThread::finished, thread, [thread] {
        auto& threads = endingThreads();
        threads.erase(std::remove(threads.begin(), threads.end(), thread), threads.end());
        thread->wait();  // only the last steps of the thread's end are left
        delete thread;
    });
}

}  // namespace

// Keeps the cue player on the sound thread: loads its module at the first command, and
// ends it on that thread when the control goes.
class CueHost : public QObject {
public:
    CuePlayer* player() {
        if (!tried_) {
            tried_ = true;
            load();
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

    // MultimediaControl::locate, and a log line for a file that cannot be found, once per
    // name.
    QUrl locate(const QString& fileName) {
        const QUrl source = MultimediaControl::locate(fileName);
        if (source.isEmpty() && !fileName.isEmpty() && !missing_.contains(fileName)) {
            missing_.insert(fileName);
            qCWarning(lcSound) << "cannot play" << fileName
                               << ": no such file in the working folder or among the shipped cues";
        }
        return source;
    }

private:
    void load() {
        QLibrary module(
            QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kCueModule)));
        if (!module.load()) {
            qCWarning(lcSound) << "no cue player, the cues stay silent:" << module.errorString();
            return;
        }
        auto create = reinterpret_cast<CuePlayerFactory>(module.resolve(kCuePlayerFactory));
        if (create == nullptr) {
            qCWarning(lcSound) << "no cue player, the cues stay silent:" << module.errorString();
            return;
        }
        player_.reset(create());
        qCDebug(lcSound) << "cue player loaded from" << module.fileName();
    }

    bool tried_ = false;
    std::unique_ptr<CuePlayer> player_;
    QSet<QString> missing_;
};

MultimediaControl::MultimediaControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

// The player and its sounds end on their own thread after the commands already given, then
// the thread ends. Nothing here waits for it: the window that goes with the control (the
// drill window, as the results window appears) must not wait for a cue or the sound server.
MultimediaControl::~MultimediaControl() {
    if (thread_ == nullptr)
        return;
    // Watched for its end before it is told to end, so that a quick end is not missed.
    letEnd(thread_);
    QMetaObject::invokeMethod(
        host_, [host = host_] { host->finish(); }, Qt::QueuedConnection);
}

bool MultimediaControl::endSoundThreads() {
    return waitForEndingThreads();
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

void MultimediaControl::post(std::function<void(CueHost&, CuePlayer&)> command) {
    if (thread_ == nullptr) {
        thread_ = new QThread;
        thread_->setObjectName(QStringLiteral("MMControl1"));
        host_ = new CueHost;
        host_->moveToThread(thread_);
        connect(thread_, &QThread::finished, host_, &QObject::deleteLater);
        thread_->start();
    }
    QMetaObject::invokeMethod(
        host_,
        [host = host_, command = std::move(command)] {
            if (CuePlayer* player = host->player())
                command(*host, *player);
        },
        Qt::QueuedConnection);
}

void MultimediaControl::prepare() {
    post([](CueHost&, CuePlayer& player) { player.prepare(); });
}

void MultimediaControl::setCommand(const std::u16string& command) {
    try {
        const QString name = QString::fromStdU16String(command);
        const auto is = [&name](const char* known) {
            return name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
        };
        // Files are looked for on the sound thread too, away from the window.
        if (is("Stop")) {
            post([](CueHost&, CuePlayer& player) { player.stop(); });
        } else if (is("Close")) {
            post([](CueHost&, CuePlayer& player) { player.close(); });
        } else if (is("Open")) {
            post([file = fileName_](CueHost& host, CuePlayer& player) {
                player.open(host.locate(file));
            });
        } else if (is("Sound")) {
            post([file = fileName_](CueHost& host, CuePlayer& player) {
                player.sound(host.locate(file));
            });
        }
    } catch (...) {
        // A cue that cannot be played passes unnoticed.
    }
}

void MultimediaControl::setFileName(const std::u16string& fileName) {
    fileName_ = QString::fromStdU16String(fileName);
}

}  // namespace ui

namespace ui {

void MultimediaControlProbe::finishCommands(MultimediaControl& control) {
    if (control.thread_ != nullptr)
        QMetaObject::invokeMethod(
            control.host_, [] {}, Qt::BlockingQueuedConnection);
}

bool MultimediaControlProbe::playerLoaded(MultimediaControl& control) {
    bool loaded = false;
    if (control.thread_ != nullptr)
        QMetaObject::invokeMethod(
            control.host_, [&] { loaded = control.host_->player() != nullptr; },
            Qt::BlockingQueuedConnection);
    return loaded;
}

// The player is a QObject whose children are its sound effects.
static QObjectList effects(CueHost& host) {
    auto* player = dynamic_cast<QObject*>(host.player());
    return player != nullptr ? player->children() : QObjectList();
}

QUrl MultimediaControlProbe::openSource(MultimediaControl& control) {
    QUrl source;
    if (control.thread_ != nullptr)
        QMetaObject::invokeMethod(
            control.host_,
            [&] {
                const QObjectList all = effects(*control.host_);
                if (!all.isEmpty())
                    source = all.last()->property("source").toUrl();
            },
            Qt::BlockingQueuedConnection);
    return source;
}

bool MultimediaControlProbe::openLoaded(MultimediaControl& control) {
    bool loaded = false;
    if (control.thread_ != nullptr)
        QMetaObject::invokeMethod(
            control.host_,
            [&] {
                const QObjectList all = effects(*control.host_);
                // QSoundEffect::Ready or QSoundEffect::Error: this file knows no Qt Multimedia.
                loaded = !all.isEmpty() && all.last()->property("status").toInt() >= 2;
            },
            Qt::BlockingQueuedConnection);
    return loaded;
}

int MultimediaControlProbe::effectCount(MultimediaControl& control) {
    int count = 0;
    if (control.thread_ != nullptr)
        QMetaObject::invokeMethod(
            control.host_, [&] { count = static_cast<int>(effects(*control.host_).size()); },
            Qt::BlockingQueuedConnection);
    return count;
}

int MultimediaControlProbe::endingThreads() {
    return static_cast<int>(ui::endingThreads().size());
}

}  // namespace ui

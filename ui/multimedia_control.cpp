#include "multimedia_control.h"

#include <QDeadlineTimer>
#include <QThread>

namespace ui {

namespace {
// How long the end of the program waits for the sound thread before leaving it behind.
constexpr int kStopWaitMs = 2000;
}  // namespace

MultimediaControl::MultimediaControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

MultimediaControl::~MultimediaControl() {
    if (!thread_)
        return;
    // The thread ends after the commands already given, and the player and its sound
    // effects end with it, on their own thread.
    QMetaObject::invokeMethod(
        player_, [thread = thread_.get()] { thread->quit(); }, Qt::QueuedConnection);
    if (!thread_->wait(QDeadlineTimer(kStopWaitMs)))
        (void)thread_.release();  // a sound system that hangs must not hold the program
}

void MultimediaControl::post(std::function<void(CuePlayer&)> command) {
    if (!thread_) {
        thread_ = std::make_unique<QThread>();
        thread_->setObjectName(QStringLiteral("MMControl1"));
        player_ = new CuePlayer;
        player_->moveToThread(thread_.get());
        connect(thread_.get(), &QThread::finished, player_, &QObject::deleteLater);
        thread_->start();
    }
    QMetaObject::invokeMethod(
        player_, [player = player_, command = std::move(command)] { command(*player); },
        Qt::QueuedConnection);
}

void MultimediaControl::setCommand(const std::u16string& command) {
    try {
        const QString name = QString::fromStdU16String(command);
        const auto is = [&name](const char* known) {
            return name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
        };
        if (is("Stop"))
            post([](CuePlayer& player) { player.stop(); });
        else if (is("Close"))
            post([](CuePlayer& player) { player.close(); });
        else if (is("Open"))
            post([file = fileName_](CuePlayer& player) { player.open(file); });
        else if (is("Sound"))
            post([file = fileName_](CuePlayer& player) { player.sound(file); });
    } catch (...) {
        // A cue that cannot be played passes unnoticed.
    }
}

void MultimediaControl::setFileName(const std::u16string& fileName) {
    fileName_ = QString::fromStdU16String(fileName);
}

template <typename Result>
Result MultimediaControl::ask(Result (CuePlayer::*question)() const) {
    if (!thread_)
        return (CuePlayer().*question)();
    Result answer{};
    QMetaObject::invokeMethod(
        player_, [&] { answer = (player_->*question)(); }, Qt::BlockingQueuedConnection);
    return answer;
}

void MultimediaControl::finishCommands() {
    if (thread_)
        QMetaObject::invokeMethod(
            player_, [] {}, Qt::BlockingQueuedConnection);
}

QUrl MultimediaControl::openSource() {
    return ask(&CuePlayer::openSource);
}

int MultimediaControl::loadedCount() {
    return ask(&CuePlayer::loadedCount);
}

std::vector<QSoundEffect::Status> MultimediaControl::statuses() {
    return ask(&CuePlayer::statuses);
}

}  // namespace ui

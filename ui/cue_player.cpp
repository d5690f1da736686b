#include "cue_player.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

namespace {
const QString kShippedFolder = QStringLiteral(":/sounds/");
}

QUrl CuePlayer::locate(const QString& fileName) {
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

QSoundEffect* CuePlayer::effectFor(const QString& fileName) {
    const QUrl source = locate(fileName);
    if (source.isEmpty())
        return nullptr;
    auto found = loaded_.find(source);
    if (found != loaded_.end())
        return found->second;
    // Loading happens on Qt's own loader thread; an empty or broken file ends in the
    // effect's error state, or never leaves loading, and playing it does nothing.
    auto* effect = new QSoundEffect(this);
    effect->setSource(source);
    loaded_.emplace(source, effect);
    return effect;
}

void CuePlayer::stop() {
    if (open_ != nullptr)
        open_->stop();
}

void CuePlayer::close() {
    stop();
    open_ = nullptr;
}

void CuePlayer::open(const QString& fileName) {
    close();
    open_ = effectFor(fileName);
}

void CuePlayer::sound(const QString& fileName) {
    QSoundEffect* effect = effectFor(fileName);
    if (effect == nullptr)
        return;
    if (effect != open_) {
        close();
        open_ = effect;
    }
    // A cue still loading starts as soon as it is loaded.
    open_->play();
}

QUrl CuePlayer::openSource() const {
    return open_ != nullptr ? open_->source() : QUrl();
}

std::vector<QSoundEffect::Status> CuePlayer::statuses() const {
    std::vector<QSoundEffect::Status> all;
    for (const auto& [source, effect] : loaded_)
        all.push_back(effect->status());
    return all;
}

}  // namespace ui

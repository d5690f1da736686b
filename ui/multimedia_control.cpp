#include "multimedia_control.h"

#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>

namespace ui {

namespace {
const QString kShippedFolder = QStringLiteral(":/sounds/");
}

MultimediaControl::MultimediaControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

MultimediaControl::~MultimediaControl() = default;

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

QUrl MultimediaControl::openSource() const {
    return open_ != nullptr ? open_->source() : QUrl();
}

void MultimediaControl::setCommand(const std::u16string& command) {
    try {
        const QString name = QString::fromStdU16String(command);
        if (name.compare(QLatin1String("Stop"), Qt::CaseInsensitive) == 0)
            stop();
        else if (name.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0)
            close();
        else if (name.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0)
            open();
        else if (name.compare(QLatin1String("Sound"), Qt::CaseInsensitive) == 0)
            sound();
    } catch (...) {
        // A cue that cannot be played passes unnoticed.
    }
}

void MultimediaControl::setFileName(const std::u16string& fileName) {
    fileName_ = QString::fromStdU16String(fileName);
}

QSoundEffect* MultimediaControl::effectFor(const QString& fileName) {
    const QUrl source = locate(fileName);
    if (source.isEmpty())
        return nullptr;
    auto found = loaded_.find(source);
    if (found != loaded_.end())
        return found->second;
    // Loading happens on Qt's own loader thread; an empty or broken file ends in the
    // effect's error state, where playing does nothing.
    auto* effect = new QSoundEffect(this);
    effect->setSource(source);
    loaded_.emplace(source, effect);
    return effect;
}

void MultimediaControl::stop() {
    if (open_ != nullptr)
        open_->stop();
}

void MultimediaControl::close() {
    stop();
    open_ = nullptr;
}

void MultimediaControl::open() {
    close();
    open_ = effectFor(fileName_);
}

void MultimediaControl::sound() {
    QSoundEffect* effect = effectFor(fileName_);
    if (effect == nullptr)
        return;
    if (effect != open_) {
        close();
        open_ = effect;
    }
    // Returns at once; a cue still loading starts as soon as it is loaded.
    open_->play();
}

}  // namespace ui

// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The module rovedavu_cues: the cue player on Qt Multimedia's sound effects.
//
// Each "Sound" plays a sound effect that has never played before: Qt 6.4's QSoundEffect,
// played again and again, falls silent after about twenty plays, while a new one each time
// plays every cue. The decoded samples stay in Qt's sample cache, so a new effect for a
// file played before starts without reading or decoding the file again. The open effect is
// released when it is closed, so that at most one lives at a time, with at most one stream
// on the sound server.
//
// Without a sound device, Qt warns at every sound effect that it loads, which is every cue:
// the player says it once instead, and again only when the device has come back and gone
// away again.

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSet>
#include <QSoundEffect>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "cue_player.h"
#include "sound_log.h"

namespace ui {
namespace {

QtMessageHandler qtHandler = nullptr;

// Qt's own line for a sound effect loaded without a sound device; noteDevice says it once.
void leaveOutNoDeviceLines(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg &&
        (context.category == nullptr || std::strcmp(context.category, "default") == 0) &&
        message == QLatin1String("No audio device detected"))
        return;
    if (qtHandler != nullptr)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Every player of the program, on whichever sound thread, tells of a missing device through
// the one notice.
void noteDevice() {
    static std::mutex mutex;
    static MissingDeviceNotice notice;
    static const bool installed = [] {
        qtHandler = qInstallMessageHandler(leaveOutNoDeviceLines);
        return true;
    }();
    (void)installed;
    const bool present = !QMediaDevices::audioOutputs().isEmpty();
    const std::lock_guard lock(mutex);
    if (notice.tell(present))
        qCWarning(lcSound) << "no sound device: the cues stay silent until there is one";
}

class EffectsCuePlayer : public QObject, public CuePlayer {
public:
    void prepare() override { noteDevice(); }

    void stop() override {
        if (open_ != nullptr)
            open_->stop();
    }

    void close() override {
        if (open_ == nullptr)
            return;
        open_->stop();
        // Out of the player's children at once; Qt ends the effect's stream as it goes.
        open_->setParent(nullptr);
        open_->deleteLater();
        open_ = nullptr;
        played_ = false;
    }

    void open(const QUrl& source) override {
        close();
        if (source.isEmpty())
            return;
        noteDevice();
        // Loading happens on Qt's own loader thread, once per file.
        open_ = new QSoundEffect(this);
        connect(open_, &QSoundEffect::statusChanged, this, [this, effect = open_] {
            if (effect->status() == QSoundEffect::Error)
                warnOnce(effect->source());
        });
        open_->setSource(source);
    }

    void sound(const QUrl& source) override {
        if (source.isEmpty())
            return;
        // An effect plays once: the file is opened anew when it has played already.
        if (open_ == nullptr || played_ || open_->source() != source)
            open(source);
        if (open_ == nullptr)
            return;
        played_ = true;
        // A cue still loading starts as soon as it is loaded; a broken one never plays.
        open_->play();
    }

private:
    void warnOnce(const QUrl& source) {
        if (warned_.contains(source))
            return;
        warned_.insert(source);
        qCWarning(lcSound) << "cannot play" << source.toDisplayString()
                           << ": not a WAV file that the sound system can decode";
    }

    QSoundEffect* open_ = nullptr;  // the open file, a child; or null
    bool played_ = false;           // whether the open effect has been played
    QSet<QUrl> warned_;
};

}  // namespace
}  // namespace ui

extern "C" Q_DECL_EXPORT ui::CuePlayer* rovedavuCreateCuePlayer() {
    return new ui::EffectsCuePlayer;
}

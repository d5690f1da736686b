// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The module rovedavu_cues: the cue player on Qt Multimedia's sound effects.

#include <QObject>
#include <QSoundEffect>
#include <map>

#include "cue_player.h"

namespace ui {
namespace {

class EffectsCuePlayer : public QObject, public CuePlayer {
public:
    void stop() override {
        if (open_ != nullptr)
            open_->stop();
    }

    void close() override {
        stop();
        open_ = nullptr;
    }

    void open(const QUrl& source) override {
        close();
        open_ = effectFor(source);
    }

    void sound(const QUrl& source) override {
        QSoundEffect* effect = effectFor(source);
        if (effect == nullptr)
            return;
        if (effect != open_) {
            close();
            open_ = effect;
        }
        // A cue still loading starts as soon as it is loaded.
        open_->play();
    }

    QUrl openSource() const override { return open_ != nullptr ? open_->source() : QUrl(); }
    int loadedCount() const override { return static_cast<int>(loaded_.size()); }

    std::vector<CueStatus> statuses() const override {
        std::vector<CueStatus> all;
        for (const auto& [source, effect] : loaded_)
            all.push_back(static_cast<CueStatus>(effect->status()));
        return all;
    }

private:
    QSoundEffect* effectFor(const QUrl& source) {
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

    QSoundEffect* open_ = nullptr;          // the open file, or null
    std::map<QUrl, QSoundEffect*> loaded_;  // owned as children
};

static_assert(static_cast<int>(CueStatus::Error) == QSoundEffect::Error);

}  // namespace
}  // namespace ui

extern "C" Q_DECL_EXPORT ui::CuePlayer* rovedavuCreateCuePlayer() {
    return new ui::EffectsCuePlayer;
}

#pragma once
// The sound control's player: it lives on a thread of its own, so that opening and starting
// a cue never keeps the window waiting for the sound system.

#include <QObject>
#include <QSoundEffect>
#include <QString>
#include <QUrl>
#include <map>
#include <vector>

namespace ui {

class CuePlayer : public QObject {
    Q_OBJECT
public:
    // Where a file name leads: a name with a folder as given, a bare name in the current
    // directory first, then among the cues shipped inside the program. Empty when neither.
    static QUrl locate(const QString& fileName);

    void stop();
    // Forgets the open file; the file stays loaded for the next time.
    void close();
    void open(const QString& fileName);
    // Starts the named file once and returns at once.
    void sound(const QString& fileName);

    QUrl openSource() const;
    int loadedCount() const { return static_cast<int>(loaded_.size()); }
    std::vector<QSoundEffect::Status> statuses() const;

private:
    QSoundEffect* effectFor(const QString& fileName);

    QSoundEffect* open_ = nullptr;          // the open file, or null
    std::map<QUrl, QSoundEffect*> loaded_;  // owned as children
};

}  // namespace ui

#pragma once
// Recording stand-ins for everything the drill engine drives. Every call lands in one shared
// log, so tests can check the order of steps across the window, the sound and the dialogs.

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drill.h"
#include "mixing_random.h"

namespace fakes {

std::string utf8(std::u16string_view text);
std::u16string utf16(std::string_view text);

using Log = std::vector<std::string>;

class View : public drill::DrillView {
public:
    explicit View(Log& log) : log_(log) {}
    void setLabelCaption(int index, const std::u16string& caption) override;
    void setLabelForeColor(int index, drill::Rgb colour) override;
    void setLabelVisible(int index, bool visible) override;
    std::u16string text1(int index) const override { return text1_.at(index); }
    void setText1(int index, const std::u16string& text) override;
    void setText1Focus(int index) override;
    void setCommandEnabled(int command, bool enabled) override;
    void setImage4Visible(bool visible) override;
    void unload() override;

    // The learner typing: raises the change event like the real box.
    void type(int index, std::string_view text);

    std::function<void(int)> onText1Change;
    std::array<std::u16string, 7> caption{};
    std::array<drill::Rgb, 7> foreColor{};
    std::array<bool, 7> labelVisible{true, true, true, true, true, true, true};
    std::array<bool, 3> enabled{true, true, true};  // index 1, 2: Command1, Command2
    bool image4Visible = false;
    int focus = -1;
    bool unloaded = false;

private:
    Log& log_;
    std::array<std::u16string, 2> text1_{};
};

class Sound : public drill::SoundControl {
public:
    explicit Sound(Log& log) : log_(log) {}
    void setCommand(const std::u16string& command) override;
    void setFileName(const std::u16string& fileName) override;

private:
    Log& log_;
};

class Dialogs : public drill::Dialogs {
public:
    explicit Dialogs(Log& log) : log_(log) {}
    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title) override;
    bool askYesNo(const std::u16string& prompt, const std::u16string& title) override;
    void showMessage(const std::u16string& prompt, const std::u16string& title) override;

    std::deque<std::u16string> inputs;  // answers to the input boxes; empty text when none
    std::deque<bool> answers;           // answers to Yes/No; Yes when none
    std::vector<std::u16string> messages;

private:
    Log& log_;
};

class Clock : public drill::Clock {
public:
    explicit Clock(Log& log) : log_(log) {}
    float secondsSinceMidnight() override;
    float now = 1000.0f;
    float stepPerRead = 0.0f;  // added after every reading

private:
    Log& log_;
};

// Gives the queued fractions first, then fractions of a real generator.
class Random : public drill::RandomSource {
public:
    explicit Random(Log& log) : log_(log) {}
    double next() override;
    void reseed(float seed) override;
    std::deque<double> queued;
    int reseeds = 0;

private:
    Log& log_;
    drill::MixingRandom real_{42};
};

class ResultsLabels : public drill::ResultsLabels {
public:
    void setM(int row, const std::u16string& caption) override { m.at(row) = caption; }
    void setTt(int row, const std::u16string& caption) override { tt.at(row) = caption; }
    void setGotou(int row, const std::u16string& caption) override { gotou.at(row) = caption; }
    void setLabid(const std::u16string& caption) override { labid = caption; }
    void setLabdate(const std::u16string& caption) override { labdate = caption; }
    std::array<std::u16string, 21> m{}, tt{}, gotou{};
    std::u16string labid, labdate;
};

class Records : public drill::Records {
public:
    explicit Records(Log& log) : log_(log) {}
    drill::HistoryOutcome writeHistory(drill::DrillState& state) override;
    void fillResults(drill::DrillState& state, drill::ResultsLabels& labels) override;
    drill::HistoryOutcome outcome{true, u"rirekidata/Rovedavu.txt", u"", std::nullopt};
    std::vector<drill::DrillState> written;  // the state at each write
    int fills = 0;

private:
    Log& log_;
};

class ResultsWindow : public drill::ResultsWindow {
public:
    explicit ResultsWindow(Log& log) : log_(log) {}
    drill::ResultsLabels& labels() override;
    void show() override;
    ResultsLabels labels_;
    bool shown = false;

private:
    Log& log_;
};

// One engine wired to a full set of fakes.
struct Rig {
    Log log;
    View view{log};
    Sound sound{log};
    Dialogs dialogs{log};
    Clock clock{log};
    Random random{log};
    Records records{log};
    ResultsWindow results{log};
    drill::Drill drill{{view, sound, dialogs, clock, random, records, results}};

    Rig() {
        view.onText1Change = [this](int index) { drill.answerChanged(index); };
    }
    // Types the right answer to the problem on screen and presses the answer button.
    void answerRight();
    void answerWrong();
    // The log entries from position `from` on that start with `prefix`.
    std::vector<std::string> entries(std::size_t from, std::string_view prefix = "") const;
};

}  // namespace fakes

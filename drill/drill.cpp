#include "drill.h"

#include <optional>

#include "conversions.h"
#include "cues.h"
#include "generator.h"
#include "texts.h"

namespace drill {
namespace {

constexpr int kDividendLabel = 0;
constexpr int kOperatorLabel = 1;
constexpr int kDivisorLabel = 2;
constexpr int kMarkLabel = 4;
constexpr int kNumberLabel = 5;
constexpr int kAnswerButton = 1;
constexpr int kNextButton = 2;
constexpr float kSecondsPerDay = 86400.0f;

std::u16string str(std::u16string_view text) {
    return std::u16string(text);
}

// One file of the end of the drill for the message: its name, and why it was not saved.
std::u16string savedFileLines(std::u16string_view label, const SaveOutcome& file) {
    if (file.written)
        return str(label) + file.fileName + str(texts::kSaved);
    return str(label) + file.fileName + u"\n" + str(texts::kHistoryReasonLabel) + file.reason;
}

// The one message that names what was and wasn't saved; none when everything was.
std::optional<std::u16string> savingFailureMessage(const HistoryOutcome& outcome) {
    const SaveOutcome history{outcome.written, outcome.fileName, outcome.reason};
    const bool archiveFailed = outcome.archive && !outcome.archive->written;
    if (history.written && !archiveFailed)
        return std::nullopt;
    const bool archived = outcome.archive && outcome.archive->written;
    std::u16string message = str(history.written ? texts::kArchiveFailed
                                 : archived      ? texts::kHistoryFileFailed
                                                 : texts::kHistoryFailed);
    message += u"\n\n" + savedFileLines(texts::kHistoryFileLabel, history);
    if (outcome.archive)
        message += u"\n\n" + savedFileLines(texts::kArchiveLabel, *outcome.archive);
    return message;
}

}  // namespace

bool askEndConfirmation(Dialogs& dialogs) {
    return dialogs.askYesNo(str(texts::kEndPrompt), str(texts::kEndTitle));
}

std::u16string Drill::problemNumberCaption() const {
    return str(texts::kProblemNumberOpen) + numberText(s_.n) + str(texts::kProblemNumberClose);
}

void Drill::startUp() {
    s_.mydate = p_.dialogs.inputBox(str(texts::kDatePrompt), str(texts::kDateTitle));
    s_.myid = p_.dialogs.inputBox(str(texts::kIdPrompt), str(texts::kIdTitle));
    p_.random.reseed(p_.clock.secondsSinceMidnight());
    p_.view.setCommandEnabled(kNextButton, false);
    s_.n = 1;
    p_.view.setLabelCaption(kNumberLabel, problemNumberCaption());
    drawProblem(s_, p_.random);
    showProblem(s_, p_.view);
    s_.mytime = p_.clock.secondsSinceMidnight();
}

void Drill::answerClicked() {
    if (!textEquals(s_.b, texts::kDivide))
        return;
    const std::int16_t quotient = static_cast<std::int16_t>(s_.a / s_.c);
    const std::int16_t remainder = static_cast<std::int16_t>(s_.a - quotient * s_.c);
    const bool quotientRight =
        leadingNumberValue(p_.view.text1(0)) == static_cast<double>(quotient);
    const bool remainderRight =
        leadingNumberValue(p_.view.text1(1)) == static_cast<double>(remainder);

    if (quotientRight && remainderRight) {
        playRightCue(p_.sound);
        if (s_.n >= kProblemCount) {
            p_.view.setLabelVisible(kMarkLabel, false);
            p_.view.setImage4Visible(true);
        } else {
            p_.view.setLabelForeColor(kMarkLabel, kBlue);
            p_.view.setLabelCaption(kMarkLabel, str(texts::kRightMark));
        }
        p_.view.setCommandEnabled(kAnswerButton, false);
        p_.view.setCommandEnabled(kNextButton, true);
        float elapsed = p_.clock.secondsSinceMidnight() - s_.mytime;
        if (elapsed < 0)
            elapsed += kSecondsPerDay;  // the problem stayed open past midnight
        s_.qtime.at(s_.n) = elapsed;
        s_.qtext.at(s_.n) = problemText(s_);
    } else {
        playWrongCue(p_.sound);
        p_.view.setLabelForeColor(kMarkLabel, kRed);
        p_.view.setLabelCaption(kMarkLabel, str(texts::kWrongMark));
        p_.view.setCommandEnabled(kNextButton, false);
        p_.view.setCommandEnabled(kAnswerButton, true);
        saturatingIncrement(s_.qmiss.at(s_.n));  // stops at 32767 instead of failing
    }
}

void Drill::answerChanged(int /*index*/) {
    p_.view.setLabelCaption(kMarkLabel, u"");
}

void Drill::nextClicked() {
    playNextCue(p_.sound);
    p_.view.setCommandEnabled(kAnswerButton, true);
    p_.view.setCommandEnabled(kNextButton, false);
    p_.view.setLabelCaption(kDividendLabel, u"");
    p_.view.setLabelCaption(kOperatorLabel, u"");
    p_.view.setLabelCaption(kDivisorLabel, u"");
    p_.view.setText1(0, u"");
    p_.view.setText1(1, u"");
    p_.view.setLabelCaption(kMarkLabel, u"");
    p_.view.setLabelVisible(kMarkLabel, true);
    p_.view.setImage4Visible(false);
    if (s_.n >= kProblemCount) {
        checkedIncrement(s_.n);
        p_.view.setCommandEnabled(kAnswerButton, false);
        p_.view.setCommandEnabled(kNextButton, false);
        p_.view.setLabelForeColor(kMarkLabel, kBlue);
        p_.view.setLabelCaption(kMarkLabel, str(texts::kFinishedMark));
    } else {
        checkedIncrement(s_.n);
        s_.mytime = p_.clock.secondsSinceMidnight();
    }
    p_.view.setLabelCaption(kNumberLabel, s_.n > kProblemCount ? u"" : problemNumberCaption());
    if (s_.n <= kProblemCount)
        drawNewProblem(s_, p_.random, p_.clock, p_.view);
    p_.view.setText1Focus(0);
}

void Drill::endClicked() {
    if (s_.n <= kProblemCount) {
        playEndCue(p_.sound);
        if (!askEndConfirmation(p_.dialogs))
            return;
    }
    endDrill();
}

void Drill::endDrill() {
    s_.lastnum = s_.n == kProblemCount + 1 ? kProblemCount : s_.n;
    if (!textEquals(s_.myid, u"")) {
        const HistoryOutcome outcome = p_.records.writeHistory(s_);
        if (const auto message = savingFailureMessage(outcome))
            p_.dialogs.showMessage(*message, str(texts::kEndTitle));
    }
    p_.records.fillResults(s_, p_.results.labels());
    p_.view.unload();
    p_.results.show();
}

}  // namespace drill

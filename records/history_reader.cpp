// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringView>
#include <algorithm>
#include <cerrno>

#include "cp932.h"
#include "history_file.h"
#include "qt_text.h"

namespace records {
namespace {

constexpr char16_t kDivision = u'÷';

enum class Fault { None, NotOurs, CutShort, NotCp932 };

QString reasonFor(Fault fault) {
    switch (fault) {
        case Fault::CutShort:
            return toQString(refusals::kCutShort);
        case Fault::NotCp932:
            return toQString(refusals::kNotCp932);
        case Fault::None:
        case Fault::NotOurs:
            break;
    }
    return toQString(refusals::kNotOurs);
}

// Walks the row lines byte by byte. No trail byte of the code page is a double quote, a
// comma, CR or LF, so the items can be found before their text is decoded.
class RowCursor {
public:
    explicit RowCursor(QByteArrayView bytes, qsizetype start) : bytes_(bytes), at_(start) {}

    bool atEnd() const { return at_ == bytes_.size(); }
    Fault fault() const { return fault_; }

    // A text item between double quotes, with "" for a double quote inside.
    bool textItem(QString& text) {
        if (!expect('"'))
            return false;
        const qsizetype start = at_;
        bool doubled = false;
        for (;;) {
            const qsizetype quote = bytes_.indexOf('"', at_);
            if (quote < 0)
                return fail(Fault::CutShort);
            at_ = quote + 1;
            if (atEnd() || bytes_[at_] != '"')
                break;  // the closing quote (at the end of a file: cut short after the item)
            doubled = true;
            ++at_;
        }
        QByteArrayView raw = bytes_.sliced(start, at_ - 1 - start);
        QByteArray undoubled;
        if (doubled) {
            undoubled = raw.toByteArray().replace("\"\"", "\"");
            raw = undoubled;
        }
        std::optional<QString> decoded = fromCp932(raw);
        if (!decoded)
            return fail(Fault::NotCp932);
        text = std::move(*decoded);
        return true;
    }

    // A bare integer of 16 bits: plain digits without leading zeros, "-" before a negative.
    bool integerItem(int& value) {
        const bool negative = !atEnd() && bytes_[at_] == '-';
        if (negative)
            ++at_;
        const qsizetype first = at_;
        long magnitude = 0;
        while (!atEnd() && bytes_[at_] >= '0' && bytes_[at_] <= '9') {
            magnitude = magnitude * 10 + (bytes_[at_] - '0');
            if (magnitude > 32768)
                return fail(Fault::NotOurs);
            ++at_;
        }
        const qsizetype digits = at_ - first;
        if (digits == 0)
            return fail(atEnd() ? Fault::CutShort : Fault::NotOurs);
        const bool leadingZero = digits > 1 && bytes_[first] == '0';
        if (leadingZero || (negative && magnitude == 0) || (!negative && magnitude > 32767))
            return fail(Fault::NotOurs);
        value = static_cast<int>(negative ? -magnitude : magnitude);
        return true;
    }

    bool expect(char byte) {
        if (atEnd())
            return fail(Fault::CutShort);
        if (bytes_[at_] != byte)
            return fail(Fault::NotOurs);
        ++at_;
        return true;
    }

    bool fail(Fault fault) {
        fault_ = fault;
        return false;
    }

private:
    QByteArrayView bytes_;
    qsizetype at_;
    Fault fault_ = Fault::None;
};

// One or two digits without a leading zero, from `from`; the value, or -1.
int smallNumber(QStringView text, qsizetype& from) {
    const qsizetype first = from;
    int value = 0;
    while (from < text.size() && from - first < 3 && text[from] >= u'0' && text[from] <= u'9')
        value = value * 10 + (text[from++].unicode() - u'0');
    const qsizetype digits = from - first;
    if (digits == 0 || digits > 2 || text[first] == u'0')
        return -1;
    return value;
}

// " 45÷ 6": number text of the dividend (1..99), "÷", number text of the divisor (1..9),
// never a dividend below its divisor.
bool readProblem(QStringView text, int& dividend, int& divisor) {
    qsizetype at = 0;
    if (text.size() < 5 || text[at++] != u' ')
        return false;
    dividend = smallNumber(text, at);
    if (dividend < 0 || at + 2 >= text.size() || text[at] != kDivision || text[at + 1] != u' ')
        return false;
    at += 2;
    divisor = smallNumber(text, at);
    return at == text.size() && divisor >= 1 && divisor <= 9 && dividend >= divisor;
}

// A time under "#####.#": "-" before a negative value, the whole seconds without leading
// zeros (none at all for 0), ".", then the tenths unless they are 0.
bool readTime(QStringView text, double& seconds) {
    qsizetype at = 0;
    const bool negative = at < text.size() && text[at] == u'-';
    if (negative)
        ++at;
    double whole = 0;
    const qsizetype first = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        whole = whole * 10 + (text[at++].unicode() - u'0');
    if (at - first > 0 && text[first] == u'0')
        return false;
    if (at == text.size() || text[at++] != u'.')
        return false;
    int tenths = 0;
    if (at < text.size()) {
        if (text[at] < u'1' || text[at] > u'9')
            return false;
        tenths = text[at++].unicode() - u'0';
    }
    if (at != text.size() || (negative && whole == 0 && tenths == 0))
        return false;
    seconds = (whole + tenths / 10.0) * (negative ? -1 : 1);
    return true;
}

HistoryRead refused(const QString& reason) {
    HistoryRead read;
    read.refusal = reason;
    return read;
}

HistoryRead refused(std::u16string_view reason) {
    return refused(toQString(reason));
}

// Whether the rows are what a drill leaves: every row but the last answered, an unanswered
// last row with the time of no answer, and one date on every row.
bool rowsAreADrill(const HistoryDrill& drill, const std::vector<QString>& dates) {
    for (std::size_t k = 0; k < drill.rows.size(); ++k) {
        const HistoryRow& row = drill.rows[k];
        if (row.problem.isEmpty() && (k + 1 != drill.rows.size() || row.timeText != u"."))
            return false;
    }
    return std::all_of(dates.begin(), dates.end(),
                       [&](const QString& date) { return date == dates.front(); });
}

}  // namespace

int HistoryDrill::solved() const {
    return static_cast<int>(std::count_if(
        rows.begin(), rows.end(), [](const HistoryRow& row) { return !row.problem.isEmpty(); }));
}

HistoryRead readHistory(QByteArrayView bytes) {
    static const QByteArray header = historyHeaderLine();
    if (bytes.isEmpty())
        return refused(refusals::kEmpty);
    if (bytes.size() > kLargestHistoryFile)
        return refused(refusals::kTooLarge);
    if (bytes.size() < header.size())
        return refused(QByteArrayView(header).startsWith(bytes) ? refusals::kCutShort
                                                                : refusals::kNotOurs);
    if (!bytes.startsWith(header))
        return refused(refusals::kNotOurs);

    HistoryDrill drill;
    std::vector<QString> dates;
    RowCursor cursor(bytes, header.size());
    if (cursor.atEnd())
        return refused(refusals::kCutShort);  // a drill records at least one row
    while (!cursor.atEnd()) {
        if (drill.rows.size() == kMostRows)
            return refused(refusals::kNotOurs);
        HistoryRow row;
        QString date;
        const bool read = cursor.textItem(row.problem) && cursor.expect(',') &&
                          cursor.textItem(row.timeText) && cursor.expect(',') &&
                          cursor.integerItem(row.wrongCount) && cursor.expect(',') &&
                          cursor.textItem(date) && cursor.expect('\r') && cursor.expect('\n');
        if (!read)
            return refused(reasonFor(cursor.fault()));
        if (!row.problem.isEmpty() && !readProblem(row.problem, row.dividend, row.divisor))
            return refused(refusals::kNotOurs);
        if (!readTime(row.timeText, row.seconds))
            return refused(refusals::kNotOurs);
        drill.rows.push_back(std::move(row));
        dates.push_back(std::move(date));
    }
    if (!rowsAreADrill(drill, dates))
        return refused(refusals::kNotOurs);
    // A date that the drill marked as text reads back as typed.
    drill.date = toQString(typedDate(toU16View(dates.front())));
    HistoryRead result;
    result.drill = std::move(drill);
    return result;
}

HistoryRead readHistoryFile(const QString& path, QByteArray* bytes) {
    // Plain system calls: QFile costs several times more per small file, which shows in a
    // folder of ten thousand.
    const auto unreadable = [](int error) {
        return refused(toQString(refusals::kUnreadableStart) + qt_error_string(error) +
                       toQString(refusals::kUnreadableEnd));
    };
    // Without O_NONBLOCK, a named pipe in the folder would hold the reading up for good.
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0)
        return unreadable(errno);
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        const int error = errno;
        ::close(file);
        return unreadable(error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(file);
        return refused(refusals::kNotAFile);
    }
    if (status.st_size > kLargestHistoryFile) {
        ::close(file);
        return refused(refusals::kTooLarge);
    }
    // One byte more than the size tells a file that grew while it was read.
    QByteArray read(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qsizetype length = 0;
    int error = 0;
    while (length < read.size()) {
        const ssize_t got =
            ::read(file, read.data() + length, static_cast<std::size_t>(read.size() - length));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0)
            break;
        length += got;
    }
    ::close(file);
    if (error != 0)
        return unreadable(error);
    read.truncate(length);
    if (bytes != nullptr)
        *bytes = read;
    return readHistory(read);
}

}  // namespace records

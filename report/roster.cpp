// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "roster.h"

#include <unzip.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include "cp932.h"

namespace report {
namespace {

// A class list is small; anything much larger is not one.
constexpr qint64 kMaxBytes = 32 << 20;

// ---- Text and CSV

// UTF-8 when the bytes are valid UTF-8, otherwise Shift_JIS (code page 932).
std::optional<QString> decodeText(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return records::fromCp932(bytes);
}

// Rows of cells: fields split at the separator outside double quotes, "" a quote inside.
std::vector<QStringList> parseCsv(const QString& text) {
    // A list saved as "text (tab separated)" has tabs and no commas.
    const QChar separator = !text.contains(u',') && text.contains(u'\t') ? u'\t' : u',';
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool any = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (quoted) {
            if (c == u'"' && k + 1 < text.size() && text[k + 1] == u'"') {
                cell += u'"';
                ++k;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == separator) {
            row << cell;
            cell.clear();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
                ++k;
            if (any || !cell.isEmpty())
                rows.push_back(row << cell);
            row.clear();
            cell.clear();
            any = false;
        } else {
            cell += c;
        }
    }
    if (any || !cell.isEmpty())
        rows.push_back(row << cell);
    return rows;
}

// ---- XLSX

// One member of the zip, whole; nullopt when it is missing or broken.
std::optional<QByteArray> zipMember(unzFile zip, const char* name) {
    if (unzLocateFile(zip, name, 0) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK)
        return std::nullopt;
    QByteArray bytes;
    char buffer[1 << 15];
    int read = 0;
    while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, read);
        if (bytes.size() > kMaxBytes)
            break;
    }
    const bool whole = unzCloseCurrentFile(zip) == UNZ_OK && read == 0;
    if (!whole)
        return std::nullopt;
    return bytes;
}

// The text of the <t> elements inside the current element, without the phonetic guides
// (<rPh>) that Japanese spreadsheets add to names.
QString inlineText(QXmlStreamReader& xml) {
    QString text;
    const QString end = xml.name().toString();
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement() && xml.name() == end)
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"rPh")
            xml.skipCurrentElement();
        else if (xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return text;
}

QStringList sharedStrings(const QByteArray& bytes) {
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings << inlineText(xml);
    }
    return strings;
}

// The first sheet's member name, through the workbook and its relationships.
QByteArray firstSheetName(unzFile zip) {
    const QByteArray fallback = "xl/worksheets/sheet1.xml";
    const auto workbook = zipMember(zip, "xl/workbook.xml");
    const auto relations = zipMember(zip, "xl/_rels/workbook.xml.rels");
    if (!workbook || !relations)
        return fallback;
    QString relation;
    QXmlStreamReader book(*workbook);
    while (!book.atEnd() && relation.isEmpty()) {
        if (book.readNext() == QXmlStreamReader::StartElement && book.name() == u"sheet") {
            for (const QXmlStreamAttribute& attribute : book.attributes()) {
                if (attribute.name() == u"id")  // r:id
                    relation = attribute.value().toString();
            }
        }
    }
    QXmlStreamReader rels(*relations);
    while (!rels.atEnd()) {
        if (rels.readNext() == QXmlStreamReader::StartElement && rels.name() == u"Relationship" &&
            rels.attributes().value(QLatin1String("Id")) == relation) {
            QString target = rels.attributes().value(QLatin1String("Target")).toString();
            return (target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target)
                .toUtf8();
        }
    }
    return fallback;
}

// "BC12" → 54: the column of a cell reference, from 0.
int columnOf(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
    }
    return column - 1;
}

std::vector<QStringList> sheetRows(const QByteArray& bytes, const QStringList& strings) {
    std::vector<QStringList> rows;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            rows.emplace_back();
        } else if (xml.name() == u"c" && !rows.empty()) {
            const QString type = xml.attributes().value(QLatin1String("t")).toString();
            const int column = columnOf(xml.attributes().value(QLatin1String("r")));
            QString value;
            while (xml.readNext() != QXmlStreamReader::Invalid &&
                   !(xml.isEndElement() && xml.name() == u"c")) {
                if (xml.isStartElement() && xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.isStartElement() && xml.name() == u"is")
                    value = inlineText(xml);
            }
            if (type == u"s") {
                const int index = value.toInt();
                value = index >= 0 && index < strings.size() ? strings[index] : QString();
            } else if (type.isEmpty() || type == u"n") {
                bool number = false;
                const double v = value.toDouble(&number);
                if (number)
                    value = QString::number(v, 'g', 15);
            }
            QStringList& row = rows.back();
            const int at = column >= 0 ? column : static_cast<int>(row.size());
            while (row.size() <= at)
                row << QString();
            row[at] = value;
        }
    }
    return rows;
}

std::optional<std::vector<QStringList>> readXlsxRows(const QString& path) {
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (zip == nullptr)
        return std::nullopt;
    QStringList strings;
    if (const auto shared = zipMember(zip, "xl/sharedStrings.xml"))
        strings = sharedStrings(*shared);
    const auto sheet = zipMember(zip, firstSheetName(zip).constData());
    unzClose(zip);
    if (!sheet)
        return std::nullopt;
    return sheetRows(*sheet, strings);
}

// ---- The header row

QString headerKey(const QString& header) {
    QString key = header.normalized(QString::NormalizationForm_KC).toUpper();
    key.remove(QRegularExpression(QStringLiteral("\\s")));
    return key;
}

bool isIdHeader(const QString& key) {
    return key.contains(u"ID");
}

bool isNumberHeader(const QString& key) {
    return key.contains(u"番号") || key == u"NO" || key == u"NO." || key == u"番";
}

bool isNameHeader(const QString& key) {
    if (key.contains(u"ふりがな") || key.contains(u"フリガナ") || key.contains(u"かな"))
        return false;
    return key.contains(u"氏名") || key.contains(u"名前") || key == u"なまえ" || key == u"児童名" ||
           key == u"NAME";
}

QStringList splitIds(const QString& cell) {
    static const QRegularExpression separators(QStringLiteral("[・･,，/／、;；\\s\\x{3000}]+"));
    return cell.split(separators, Qt::SkipEmptyParts);
}

}  // namespace

QString idKey(const QString& id) {
    QString key = id.normalized(QString::NormalizationForm_KC);
    key.remove(QRegularExpression(QStringLiteral("\\s")));
    bool digits = !key.isEmpty();
    for (const QChar c : key)
        digits = digits && c >= u'0' && c <= u'9';
    if (digits) {
        qsizetype zeros = 0;
        while (zeros + 1 < key.size() && key[zeros] == u'0')
            ++zeros;
        key.remove(0, zeros);
    }
    return key;
}

std::optional<Roster> rosterFromRows(const std::vector<QStringList>& rows, QString* error) {
    std::size_t header = 0;
    int numberColumn = -1;
    int nameColumn = -1;
    std::vector<int> idColumns;
    for (; header < rows.size() && idColumns.empty(); ++header) {
        numberColumn = nameColumn = -1;
        for (int k = 0; k < rows[header].size(); ++k) {
            const QString key = headerKey(rows[header][k]);
            if (isIdHeader(key))  // first, so that "ID番号" is an ID
                idColumns.push_back(k);
            else if (isNumberHeader(key) && numberColumn < 0)
                numberColumn = k;
            else if (isNameHeader(key) && nameColumn < 0)
                nameColumn = k;
        }
    }
    if (idColumns.empty()) {
        *error = QStringLiteral(
            "名簿に「ID」の見出しが見つかりません。一行目に「出席番号」「氏名」「ID」"
            "の見出しを書いてください。");
        return std::nullopt;
    }
    const auto cell = [](const QStringList& row, int column) {
        return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
    };
    Roster roster;
    for (std::size_t r = header; r < rows.size(); ++r) {
        RosterChild child{cell(rows[r], numberColumn), cell(rows[r], nameColumn), {}};
        for (const int column : idColumns)
            child.ids << splitIds(cell(rows[r], column));
        if (!child.ids.isEmpty() || !child.name.isEmpty())
            roster.children.push_back(std::move(child));
    }
    if (roster.children.empty()) {
        *error = QStringLiteral("名簿に児童が一人も書かれていません。");
        return std::nullopt;
    }
    return roster;
}

std::optional<Roster> rosterFromCsv(const QByteArray& bytes, QString* error) {
    const std::optional<QString> text = decodeText(bytes);
    if (!text) {
        *error = QStringLiteral("名簿の文字コードが UTF-8 でも Shift_JIS でもありません。");
        return std::nullopt;
    }
    return rosterFromRows(parseCsv(*text), error);
}

std::optional<Roster> readRoster(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("名簿 %1 を開けませんでした（%2）。").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxBytes) {
        *error = QStringLiteral("%1 は大きすぎて、名簿ではありません。").arg(path);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QString reason;
    std::optional<Roster> roster;
    if (bytes.startsWith("PK\x03\x04")) {
        const auto rows = readXlsxRows(path);
        if (rows)
            roster = rosterFromRows(*rows, &reason);
        else
            reason = QStringLiteral("XLSX のファイルとして読めませんでした。");
    } else {
        roster = rosterFromCsv(bytes, &reason);
    }
    if (!roster)
        *error = QStringLiteral("名簿 %1: %2").arg(path, reason);
    return roster;
}

QByteArray rosterCsv(const Roster& roster) {
    const auto item = [](QString text) {
        return '"' + text.replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
    };
    QByteArray csv = "\"出席番号\",\"氏名\",\"ID\"\r\n";
    for (const RosterChild& child : roster.children) {
        csv += item(child.number) + ',' + item(child.name) + ',' +
               item(child.ids.join(QStringLiteral("・"))) + "\r\n";
    }
    return csv;
}

}  // namespace report

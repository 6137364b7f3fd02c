#include "TableText.h"

#include "InstructionLine.h"

#include <algorithm>
#include <tuple>

namespace campanor {

QStringList splitTableText(const QString& tableText, int limit) {
    QStringList lines;
    qsizetype sep = tableText.indexOf(u'|');
    while (sep >= 0 && lines.size() < limit) {
        const qsizetype next = tableText.indexOf(u'|', sep + 1);
        lines << tableText.mid(sep + 1, next < 0 ? -1 : next - sep - 1);
        sep = next;
    }
    return lines;
}

namespace {

struct SortKey {
    QString rulePrefix;
    int hour;
    int minute;
    int second;

    auto tie() const { return std::tie(rulePrefix, hour, minute, second); }
    bool operator<(const SortKey& other) const { return tie() < other.tie(); }
};

int leadingNumber(const QString& text) {
    // Like the system's number conversion: the leading digits, 0 when none.
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

SortKey keyOf(const QString& line) {
    const qsizetype gt = line.indexOf(u'>');
    const QString rulePrefix = gt < 0 ? QString() : line.mid(gt + 1, 2);
    return {rulePrefix, leadingNumber(line.mid(0, 2)), leadingNumber(line.mid(3, 2)),
            leadingNumber(line.mid(6, 2))};
}

} // namespace

void sortInstructionLines(QStringList& lines) {
    std::vector<std::pair<SortKey, QString>> keyed;
    keyed.reserve(lines.size());
    for (const QString& line : lines)
        keyed.emplace_back(keyOf(line), line);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = keyed[i].second;
}

QString removeInstruction(const QString& tableText, const QString& line) {
    // Whole lines only: a plain text replacement would also cut the front off
    // a longer line that begins with this one.
    qsizetype sep = tableText.indexOf(u'|');
    QString text = tableText.left(sep < 0 ? tableText.size() : sep);
    while (sep >= 0) {
        const qsizetype next = tableText.indexOf(u'|', sep + 1);
        const QString segment = tableText.mid(sep, next < 0 ? -1 : next - sep);
        if (QStringView(segment).mid(1) != line)
            text += segment;
        sep = next;
    }
    return text;
}

} // namespace campanor

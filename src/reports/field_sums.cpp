#include "reports/field_sums.h"

#include "base/format.h"
#include "output/line_list.h"

#include <algorithm>

namespace kontaro::reports {

namespace {

constexpr int MaxFieldNumberLength = 9;
constexpr int FieldKeyLength = 10;
constexpr int GroupKeyLength = 2;

const Format LineFormat(QStringLiteral("%-10.10s%1.1s%12.2f  %-10.10s %-45.45s"));
const Format SubtotalFormat(QStringLiteral("%-11.11s%12.2n"));
const QString GroupRule = QStringLiteral("=======================");

QString fieldKey(const QString& line) {
    return line.left(FieldKeyLength);
}

QString groupKey(const QString& fieldKey) {
    return fieldKey.left(GroupKeyLength);
}

} // namespace

QString FieldSums::fieldNumber(const QString& name) {
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon < 1 || colon > MaxFieldNumberLength)
        return {};
    return name.left(colon);
}

void FieldSums::add(const QString& knr, const QString& name, Money saldo, Side side) {
    const QString number = fieldNumber(name);
    if (number.isEmpty())
        return;
    const QString marker = side == Side::Income ? QStringLiteral(".") : QStringLiteral(" ");
    const QString rest = name.mid(number.size() + 1);
    m_lines.push_back({LineFormat({number, marker, saldo, knr, rest}), saldo});
}

void FieldSums::appendSection(output::LineList& summary) const {
    summary.add(QString());
    summary.add(format(QStringLiteral("%-91.91s"), {QString(101, QLatin1Char('='))}));
    summary.add(format(QStringLiteral("%91.91s "), {"Summen für Finazamt-Formulare:"}));
    summary.add(QString());
    if (m_lines.empty()) {
        summary.add(
            QStringLiteral("Keine Auswertung, da Kontonamen mit \"FIAM-Feldnummer:\" beginnen müssen!"));
        return;
    }

    std::vector<const Line*> sorted;
    sorted.reserve(m_lines.size());
    for (const Line& line : m_lines)
        sorted.push_back(&line);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Line* a, const Line* b) {
        return QString::compare(a->text, b->text, Qt::CaseInsensitive) < 0;
    });

    const auto addFieldSum = [&](const QString& key, long double sum) {
        summary.add(SubtotalFormat({key, sum}) + QStringLiteral(" ----------"));
    };
    const auto addGroupSum = [&](const QString& key, long double sum) {
        summary.add(SubtotalFormat({groupKey(key), sum}));
        summary.add(GroupRule);
    };

    long double fieldSum = 0;
    long double groupSum = 0;
    QString previous = fieldKey(sorted.front()->text);
    for (const Line* line : sorted) {
        const QString key = fieldKey(line->text);
        if (key != previous) {
            addFieldSum(previous, fieldSum);
            summary.add(QString());
            if (groupKey(previous) != groupKey(key)) {
                addGroupSum(previous, groupSum);
                groupSum = 0;
            }
            summary.add(QString());
            previous = key;
            fieldSum = 0;
        }
        summary.add(line->text);
        fieldSum += line->saldo.toLongDouble();
        groupSum += line->saldo.toLongDouble();
    }
    summary.add(QString());
    addFieldSum(previous, fieldSum);
    summary.add(QString());
    addGroupSum(previous, groupSum);
    summary.add(QString());
    summary.add(QStringLiteral("LEGENDE:"));
    summary.add(QStringLiteral("  . = rechte HABEN Spalte (typisch für Einnahmen)"));
}

} // namespace kontaro::reports

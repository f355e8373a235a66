#include "record_line.h"

#include "source_text.h"

namespace studio {

namespace {

QString leadingSpace(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    return text.left(i);
}

QString trailingSpace(const QString& text) {
    qsizetype i = text.size();
    while (i > 0 && text[i - 1].isSpace()) --i;
    return text.mid(i);
}

// Puts `value` in place of a field's (or option's) text, keeping the spaces around it.
QString respaced(const QString& raw, const QString& value) {
    if (raw.trimmed().isEmpty()) return raw + value;
    return leadingSpace(raw) + value + trailingSpace(raw);
}

}  // namespace

RecordLine::RecordLine(const QString& line)
    : fields_(withoutEnding(line).split(QLatin1Char('|'))), ending_(lineEnding(line)) {}

QString RecordLine::spaceBeforeSeparator() const {
    return fields_.size() > 1 ? trailingSpace(fields_[0]) : QStringLiteral(" ");
}

QString RecordLine::spaceAfterSeparator() const {
    return fields_.size() > 1 ? leadingSpace(fields_[1]) : QStringLiteral(" ");
}

void RecordLine::setField(int index, const QString& value) {
    QString& raw = fields_[index];
    if (!raw.trimmed().isEmpty()) {
        raw = respaced(raw, value);
        return;
    }
    // An empty field takes the line's spacing.
    const bool first = index == 0, last = index == size() - 1;
    raw = (first ? QString() : spaceAfterSeparator()) + value +
          (last ? QString() : spaceBeforeSeparator());
}

void RecordLine::appendField(const QString& value) {
    const QString before = spaceBeforeSeparator(), after = spaceAfterSeparator();
    QString& last = fields_.last();
    const QString tail = trailingSpace(last);
    last = last.left(last.size() - tail.size()) + before;
    fields_.append(after + value + tail);
}

void RecordLine::removeLastField() {
    if (fields_.size() < 2) return;
    const QString tail = trailingSpace(fields_.takeLast());
    QString& last = fields_.last();
    last = last.left(last.size() - trailingSpace(last).size()) + tail;
}

QString withNamedValue(const QString& field, const QString& name, const QString& value) {
    const qsizetype colon = field.indexOf(QLatin1Char(':'));
    if (colon < 0 || field.left(colon).trimmed() != name)
        return name + QStringLiteral(": ") + value;
    const QString afterColon = leadingSpace(field.mid(colon + 1));
    return field.left(colon + 1) + afterColon + value;
}

QString joinNumbers(const QList<int>& numbers, const QString& original) {
    const QString comma =
        original.contains(QLatin1String(", ")) ? QStringLiteral(", ") : QStringLiteral(",");
    QStringList parts;
    for (int n : numbers) parts.append(QString::number(n));
    return parts.join(comma);
}

namespace {

QString optionName(const QString& option) {
    return option.section(QLatin1Char(':'), 0, 0).trimmed();
}

}  // namespace

QString optionValue(const QString& options, const QString& name) {
    for (const QString& option : options.split(QLatin1Char(';'))) {
        if (optionName(option) == name && option.contains(QLatin1Char(':')))
            return option.section(QLatin1Char(':'), 1).trimmed();
    }
    return {};
}

QString withOption(const QString& options, const QString& name, const QString& value) {
    QStringList items =
        options.trimmed().isEmpty() ? QStringList() : options.split(QLatin1Char(';'));
    const QString written = name + QStringLiteral(": ") + value;
    qsizetype found = -1;
    for (qsizetype i = 0; i < items.size() && found < 0; ++i) {
        if (optionName(items[i]) == name) found = i;
    }
    if (found >= 0 && value.isEmpty()) {
        items.removeAt(found);
    } else if (found >= 0) {
        const QString& raw = items[found];
        items[found] = raw.contains(QLatin1Char(':'))
                           ? respaced(raw, withNamedValue(raw.trimmed(), name, value))
                           : respaced(raw, written);
    } else if (!value.isEmpty()) {
        const QString space = items.size() > 1 ? leadingSpace(items[1]) : QStringLiteral(" ");
        items.append(items.isEmpty() ? written : space + written);
    }
    return items.join(QLatin1Char(';')).trimmed();
}

}  // namespace studio

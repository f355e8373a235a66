#pragma once

// The writing side of one record line (`a | b | c`). A line is split at its `|` separators and
// each field keeps the spaces around it, so that a field given a new value sits where the old
// one sat, and every other field, the indentation and the line ending come back as they were.

#include <QList>
#include <QString>
#include <QStringList>

namespace studio {

class RecordLine {
  public:
    explicit RecordLine(const QString& line);

    int size() const { return int(fields_.size()); }
    QString field(int index) const { return fields_.value(index).trimmed(); }
    void setField(int index, const QString& value);
    // Adds a last field, spaced like the line's other separators.
    void appendField(const QString& value);
    void removeLastField();
    // The line with the ending it had.
    QString line() const { return fields_.join(QLatin1Char('|')) + ending_; }
    void setEnding(const QString& ending) { ending_ = ending; }

  private:
    QString spaceBeforeSeparator() const;
    QString spaceAfterSeparator() const;

    QStringList fields_;
    QString ending_;
};

// `NAME: VALUE` fields (`title:`, `section:`, `audio:`, `image:`): the field with a new value,
// keeping how it wrote the name and the space after the colon; `NAME: VALUE` when it had none.
QString withNamedValue(const QString& field, const QString& name, const QString& value);

// Comma-separated numbers (`x,y,w,h`, `x,y`) written as `original` wrote its commas.
QString joinNumbers(const QList<int>& numbers, const QString& original);

// The `;`-separated options of an entry (`say: ...; by: 2`): an option's value (empty when it
// has none) and the options field with an option given a new value (in its own place, or added
// last), or taken out when `value` is empty. The other options stay as they were written.
QString optionValue(const QString& options, const QString& name);
QString withOption(const QString& options, const QString& name, const QString& value);

}  // namespace studio

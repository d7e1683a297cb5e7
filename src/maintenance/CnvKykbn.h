// The telephone prefix conversion of the current book and the sender records.
#pragma once

#include "maintenance/TableTools.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class Table;

// The number rules over the characters of an already trimmed text, hyphens included; nothing is removed.
// Old mobile prefixes 010/020/030/040/080 become 090 and 050/060 become 070, each followed by the second
// character and the rest (texts of 4 to 10 characters); a 06 number shorter than 10 characters gets "066".
QString ConvertPrefix(const QString& text);
// From 2000 on, a text longer than 4 characters beginning with "0720" gets "0728" instead.
QString ConvertArea0720(const QString& text, const QDate& today);
// The new text of a field, trimmed, when the rules change it; nothing when they do not (blanks alone never
// count) or when the trimmed text does not begin with "0".
std::optional<QString> ConvertPhoneNumber(const QString& text, const QDate& today);

struct TKykbnCounts
{
    int processed = 0;
    int converted = 0;
};

// Puts fields of every record of table (primary order) through ConvertPhoneNumber. A record with a change is
// posted, with stamp (when not empty) set to now, and counted; one that cannot take its new values keeps its
// old ones and is not counted. Posts are committed every 1,000 records and at the end; step is called once
// per record. A table error other than a refused value rolls back the open batch and goes on to the caller.
int ConvertPhoneFields(Table& table, const QStringList& fields, const QString& stamp, const QDateTime& now,
                       const std::function<void()>& step);

class TConvertKykbn : public TConvertToolDialog
{
public:
    TConvertKykbn(QWidget* owner, std::function<bool()> closeChildren);

    void btnConvertClick() override;
    // The counts of the last run.
    TKykbnCounts Counts() const { return m_counts; }

private:
    bool Convert();

    TKykbnCounts m_counts;
};

// The text export writer.
#include "dataexchange/ExportWriter.h"

#include "core/AppSub.h"

#include <QFile>

namespace {

QString Trimmed(const TAdrsRow& row, const char* name)
{
    return ToWide(TrimAnsiText(row.FieldBytes(name)));
}

QByteArray Numbered(const char* base, int n)
{
    return QByteArray(base) + QByteArray::number(n);
}

QString Phone(const TAdrsRow& row, const char* name, bool hyphenate, const TExportContext& context)
{
    const AnsiString digits = TrimAnsiText(row.FieldBytes(name));
    if (digits.isEmpty() || !hyphenate || !context.Options.EditHyphen || !context.Hyphenate)
        return ToWide(digits);
    return ToWide(TrimAnsiText(context.Hyphenate(digits)));
}

QString Name(const TAdrsRow& row, const char* name)
{
    try {
        return TrimBlanks(HexTextToWide(row.FieldBytes(name)));
    } catch (const EConvertError&) {
        return ToWide(TrimAnsiText(row.FieldBytes(name))); // not in the Unicode form after all
    }
}

QString Protected(const TAdrsRow& row, const char* name)
{
    try {
        return ToWide(DecryptFieldText(row.FieldBytes(name), FieldCipherKey));
    } catch (const std::exception&) {
        throw EExportDecipherError(row.FieldInt("RecNo"));
    }
}

QString Memo(const TAdrsRow& row, const char* name)
{
    AnsiString text = row.FieldBytes(name);
    text.replace("\r\n", "\t");
    return ToWide(text);
}

// A null date-time is the zero date 1899/12/30 00:00:00.
QDateTime DateTimeOf(const TAdrsRow& row, const char* name)
{
    const QDateTime value = row.FieldDateTime(name);
    return value.isValid() ? value : QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

} // namespace

QString ExportValue(int item, const TAdrsRow& row, const TExportContext& context)
{
    const TExportOptions& o = context.Options;
    switch (item) {
    case 0:
        return QString::number(row.FieldInt("RecNo"));
    case 1: {
        const qint32 group = row.FieldInt("Group");
        return group >= 1 && group <= 10 ? context.GroupNames.value(group) : QString();
    }
    case 2:
        return Trimmed(row, "CustomCode");
    case 3:
        return Phone(row, "Tel", o.EditTel, context);
    case 4:
        return row.FieldInt("TelDiv") == 3 ? QStringLiteral("代表") : QString();
    case 5:
        return Phone(row, "Fax", o.EditFax, context);
    case 6: {
        const QString date = Trimmed(row, "PubDate");
        return date.isEmpty() ? date : date.left(4) + QLatin1Char('/') + date.mid(4, 2);
    }
    case 7:
        return Phone(row, "Portable1", o.EditPortable1, context);
    case 8:
        return Phone(row, "Portable2", o.EditPortable2, context);
    case 9: {
        const QString pos = Trimmed(row, "Pos");
        if (o.EditHyphen && o.EditPos && (pos.size() == 5 || pos.size() == 7))
            return pos.left(3) + QLatin1Char('-') + pos.mid(3);
        return pos;
    }
    case 10:
        return Trimmed(row, "Tdfkn");
    case 11:
    case 12:
    case 13:
        return Trimmed(row, Numbered("Adrs", item - 10).constData());
    case 14:
        return Trimmed(row, "AdrsKana");
    case 15:
        return Trimmed(row, "JisCode");
    case 16:
        return row.FieldBool("PrivCorp") ? QStringLiteral("個人") : QStringLiteral("会社");
    case 17:
        return Protected(row, "MyNumber");
    case 18:
        return Trimmed(row, "CorpKanji");
    case 19:
        return Trimmed(row, "CorpKana");
    case 20:
        return Trimmed(row, "Dptmnt");
    case 21:
        return Trimmed(row, "Post");
    case 22:
        return Trimmed(row, "EmployeeNo");
    case 23:
        return Name(row, "NameKanji");
    case 24:
        return Trimmed(row, "NameKana");
    case 25:
        return Trimmed(row, "Honor");
    case 26:
        return row.FieldBool("IgnoreName") ? QStringLiteral("印刷しない") : QStringLiteral("印刷する");
    case 27:
        return Trimmed(row, "URL");
    case 28:
    case 29:
        return Trimmed(row, Numbered("EMail", item - 27).constData());
    case 30:
    case 31:
    case 32:
    case 33:
    case 34:
        return Name(row, Numbered("Joint", item - 29).constData());
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
        return Trimmed(row, Numbered("JointHonor", item - 34).constData());
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
        return Protected(row, Numbered("JointMyNumber", item - 39).constData());
    case 45: {
        const qint32 owner = row.FieldInt("JointOwner");
        if (owner == 0)
            return Name(row, "NameKanji");
        return owner >= 1 && owner <= 5 ? Name(row, Numbered("Joint", owner).constData()) : QString();
    }
    case 46:
        return row.FieldBool("JointPrint") ? QStringLiteral("印刷") : QString();
    case 47:
    case 48:
    case 49:
    case 50:
    case 51:
        return row.FieldBool(Numbered("JointPrint", item - 46).constData()) ? QStringLiteral("印刷")
                                                                            : QString();
    case 52:
        switch (row.FieldInt("PrintTarget")) {
        case 0:
            return QStringLiteral("指定なし");
        case 1:
            return QStringLiteral("印刷対象");
        case 2:
            return QStringLiteral("印刷除外");
        default:
            return {};
        }
    case 53: {
        const qint32 sender = row.FieldInt("Sender");
        return sender >= 1 && context.SenderTitle ? context.SenderTitle(sender) : QString();
    }
    case 54:
    case 55:
    case 56:
    case 57:
    case 58:
    case 59:
    case 60:
    case 61:
        return Trimmed(row, Numbered("Keyword", item - 53).constData());
    case 62:
        return Memo(row, "Note");
    case 63:
    case 64:
    case 65:
    case 66:
    case 67:
    case 68:
    case 69:
    case 70:
    case 71:
    case 72:
        return Protected(row, Numbered("ProtectMemo", item - 62).constData());
    case 73:
        return Memo(row, "ProtectNote");
    case 74:
        return Memo(row, "ExtLink");
    case 75:
        return Trimmed(row, "SymbolMark");
    case 76:
        return QStringLiteral("%1")
            .arg(quint32(row.FieldInt("SymbolColor")), 8, 16, QLatin1Char('0'))
            .toUpper();
    case 77:
        return DateTimeOf(row, "AddDateTime").toString(QStringLiteral("yyyy/MM/dd"));
    case 78:
        return DateTimeOf(row, "AddDateTime").toString(QStringLiteral("HH:mm:ss"));
    case 79:
        return DateTimeOf(row, "UpdDateTime").toString(QStringLiteral("yyyy/MM/dd"));
    case 80:
        return DateTimeOf(row, "UpdDateTime").toString(QStringLiteral("HH:mm:ss"));
    case 81:
        return context.MajorCategoryName ? TrimBlanks(context.MajorCategoryName(row.FieldInt("CodeMain")))
                                         : QString();
    case 82:
        return QString::asprintf("%.2d", row.FieldInt("CodeMain"));
    case 83:
        return context.MinorCategoryName
                   ? TrimBlanks(context.MinorCategoryName(row.FieldInt("CodeMain"), row.FieldInt("CodeSub")))
                   : QString();
    case 84:
        return QString::asprintf("%.2d", row.FieldInt("CodeSub"));
    default:
        return {};
    }
}

AnsiString BuildHeaderLine(const TExportLayout& layout, const TExportContext& context)
{
    AnsiString line;
    const AnsiString plus = ToAnsi(QStringLiteral("＋"));
    bool first = true;
    for (const TExportEntry& e : layout.Entries()) {
        if (!first)
            line += e.Column != 0 ? AnsiString(",") : plus;
        first = false;
        line += StripSpaces(ExportItemCaption(e.Item, context.KeywordNames, context.ProtectMemoNames));
    }
    return line;
}

AnsiString BuildRecordLine(const TExportLayout& layout, const TAdrsRow& row, const TExportContext& context)
{
    const bool quote = context.Options.BindDblQuote;
    QString line;
    QString pending;
    const auto close = [&] {
        if (quote)
            line += QLatin1Char('"') + pending + QLatin1Char('"');
        else
            line += pending;
        pending.clear();
    };
    bool first = true;
    for (const TExportEntry& e : layout.Entries()) {
        if (!first && e.Column != 0) {
            close();
            line += QLatin1Char(',');
        }
        first = false;
        pending += ExportValue(e.Item, row, context);
    }
    if (!first)
        close();
    return Cp932::fromUnicode(line);
}

int WriteRecords(const TExportLayout& layout, const TExportContext& context, const TRecordRange& range,
                 const TAddressListRows& rows, TAdrsTableCursor& cursor,
                 const std::function<void(const AnsiString&)>& writeLine, const std::function<void()>& step)
{
    if (context.Options.OutHeader)
        writeLine(BuildHeaderLine(layout, context));
    int written = 0;
    WalkRecordRange(range, rows, cursor, [&] {
        writeLine(BuildRecordLine(layout, cursor, context));
        ++written;
        if (step)
            step();
        return true;
    });
    return written;
}

// ---- the output file ----

bool TExportTextFile::Open(bool append, QString* error)
{
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    if (!append)
        return true;
    QFile old(m_file.fileName());
    if (!old.open(QIODevice::ReadOnly)) {
        if (error)
            *error = old.errorString();
        m_file.cancelWriting();
        return false;
    }
    while (!old.atEnd()) {
        const QByteArray chunk = old.read(1 << 20);
        if (chunk.isEmpty() || m_file.write(chunk) != chunk.size()) {
            if (error)
                *error = chunk.isEmpty() ? old.errorString() : m_file.errorString();
            m_file.cancelWriting();
            return false;
        }
    }
    return true;
}

void TExportTextFile::WriteLine(const AnsiString& line)
{
    if (m_file.write(line) != line.size() || m_file.write("\r\n", 2) != 2)
        throw EExportWriteError(m_file.errorString().toStdString());
}

bool TExportTextFile::Commit(QString* error)
{
    if (m_file.commit())
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}

// The telephone prefix conversion of the current book and the sender records.
#include "maintenance/CnvKykbn.h"

#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "maintenance/TableTools.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

QString ConvertPrefix(const QString& text)
{
    if (text.size() < 4 || text.size() > 10)
        return text;
    const QStringView head = QStringView(text).left(3);
    for (const char* old : {"010", "020", "030", "040", "080"})
        if (head == QLatin1String(old))
            return QStringLiteral("090") + text[1] + text.mid(3);
    if (head == QLatin1String("050") || head == QLatin1String("060"))
        return QStringLiteral("070") + text[1] + text.mid(3);
    if (text.startsWith(QLatin1String("06")) && text.size() < 10)
        return QStringLiteral("066") + text.mid(2);
    return text;
}

QString ConvertArea0720(const QString& text, const QDate& today)
{
    if (today >= QDate(2000, 1, 1) && text.size() > 4 && text.startsWith(QLatin1String("0720")))
        return QStringLiteral("0728") + text.mid(4);
    return text;
}

std::optional<QString> ConvertPhoneNumber(const QString& text, const QDate& today)
{
    const QString trimmed = TrimBlanks(text);
    if (!trimmed.startsWith(QLatin1Char('0')))
        return std::nullopt;
    const QString result = TrimBlanks(ConvertArea0720(ConvertPrefix(trimmed), today));
    if (result == trimmed)
        return std::nullopt;
    return result;
}

namespace {

// Sets the changed fields of the current record; false when none changed or a value was refused.
bool convertRecord(Table& table, const QStringList& fields, const QString& stamp, const QDateTime& now)
{
    bool changed = false;
    table.edit();
    try {
        for (const QString& name : fields) {
            TableField field = table.fieldByName(name);
            if (const auto value = ConvertPhoneNumber(field.asString(), now.date())) {
                field.setString(*value);
                changed = true;
            }
        }
        if (changed) {
            if (!stamp.isEmpty())
                table.fieldByName(stamp).setDateTime(now);
            table.post();
            return true;
        }
    } catch (const FieldTooLongError&) {
        changed = false;
    } catch (const KeyViolationError&) {
        changed = false;
    }
    table.cancel();
    return false;
}

} // namespace

int ConvertPhoneFields(Table& table, const QStringList& fields, const QString& stamp, const QDateTime& now,
                       const std::function<void()>& step)
{
    return ConvertInBatches(
        table, [&] { return convertRecord(table, fields, stamp, now); }, step);
}

TConvertKykbn::TConvertKykbn(QWidget* owner, std::function<bool()> closeChildren)
    : TConvertToolDialog(
          owner, std::move(closeChildren), QStringLiteral("ConvertKykbn"), QStringLiteral("局番変換"), 143,
          {QStringLiteral("アドレス帳データの局番変換を行います"),
           QStringLiteral("１．大阪府の 「06」 地域の電話番号を 9 桁から 10 桁に変換します"),
           QStringLiteral("２．携帯電話やPHSの電話番号を 10 桁から 11 桁に変換します"),
           QStringLiteral("３．大阪府と京都府の 「0720-xx」 局番を 「072-8xx」 局番に変換します"),
           QStringLiteral("開かれている画面はすべて閉じて作業を行います"),
           QStringLiteral("変換対象データは 「backup.kyk」 というフォルダー下にバックアップが作成されます")})
{
}

void TConvertKykbn::btnConvertClick()
{
    if (!ConfirmToolRun(
            this,
            QStringLiteral("アドレス帳に登録してあるデータの局番変換を行います  \r\nよろしいですか？  "),
            m_closeChildren))
        return;
    bool done = false;
    {
        const TBusyCursor busy;
        done = MakeSafetyCopy(this, TBackupWork::ConvertKykbn, {CurrentAdrsIndex}, true) && Convert();
    }
    if (!done)
        return;
    ShowConvertDone(QStringLiteral("局番変換"), m_counts.processed, m_counts.converted);
}

bool TConvertKykbn::Convert()
{
    TDMQuenrid215* dm = DMQuenrid215;
    m_counts = {};
    if (!dm || !dm->OpenAdrs())
        return false;
    Table& book = *dm->AdrsTable();
    const QString index = book.indexName();
    const QString failure = QStringLiteral("局番変換ができませんでした");
    bool ok = true;
    try {
        book.setIndexName(QString());
        m_counts.processed = book.recordCount();
        int senderCount = 0;
        if (dm->OpenSender()) {
            senderCount = dm->SenderTable()->recordCount();
            dm->CloseSender();
            m_counts.processed += senderCount;
        }
        StartProgress(m_counts.processed);
        const auto step = [this] { StepProgress(); };
        const QDateTime now = QDateTime::currentDateTime();
        m_counts.converted = ConvertPhoneFields(book,
                                                {QStringLiteral("Tel"), QStringLiteral("Fax"),
                                                 QStringLiteral("Portable1"), QStringLiteral("Portable2")},
                                                QStringLiteral("UpdDateTime"), now, step);
        if (senderCount > 0 && !dm->OpenSender()) {
            m_counts.processed -= senderCount; // left out of both counts
        } else if (senderCount > 0) {
            try {
                Table& sender = *dm->SenderTable();
                sender.setIndexName(QString());
                m_counts.converted += ConvertPhoneFields(
                    sender, {QStringLiteral("Tel"), QStringLiteral("Fax")}, QString(), now, step);
            } catch (...) {
                dm->CloseSender();
                throw;
            }
            dm->CloseSender();
        }
    } catch (const TableError& e) {
        ShowToolError(this, failure, e.message());
        ok = false;
    }
    try {
        book.setIndexName(index);
    } catch (const TableError&) {
        // the list reloads its order itself
    }
    dm->CloseAdrs();
    return ok;
}

#include "dataexchange/ImportRun.h"

#include "core/HisInfo.h"

#include <QFile>

namespace {

constexpr int CommitEvery = 1000;

bool allowedCodeChar(char c)
{
    return c == ' ' || c == '-' || c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

// Items feeding each history list, in the order they are fed.
struct THistoryFeed
{
    int item;
    int list;
};
constexpr std::array<THistoryFeed, 11> HistoryFeeds{{
    {21, 0}, {22, 1}, {26, 2}, {36, 2}, {37, 2}, {38, 2}, {39, 2}, {40, 2}, {60, 3}, {61, 4}, {62, 5}}};

} // namespace

QString ImportErrorReason(int code)
{
    switch (code) {
    case ImportError::ColumnCount:
        return QStringLiteral("１件目と項目数が不一致");
    case ImportError::AppendBadCode:
    case ImportError::UpdateBadCode:
        return QStringLiteral("顧客コードに使用不可な文字が含まれていた");
    case ImportError::AppendCodeUsed:
    case ImportError::UpdateCodeUsed:
        return QStringLiteral("同じ顧客コードのデータが登録済み");
    case ImportError::AppendRefused:
        return QStringLiteral("アドレス帳登録失敗");
    case ImportError::UpdateSame:
        return QStringLiteral("内容が同じなので更新の必要が無い");
    case ImportError::UpdateNoMatch:
        return QStringLiteral("突き合わす項目と一致するデータが無い");
    case ImportError::UpdateRefused:
        return QStringLiteral("アドレス帳更新失敗");
    default:
        return QStringLiteral("その他のエラー");
    }
}

void TImportHistories::put(int list, const AnsiString& text)
{
    THistoryData* history = m_lists[std::size_t(list)];
    if (!history || TrimAnsiText(text).isEmpty())
        return;
    const int at = history->IndexOf(text);
    if (at == 0)
        return;
    if (at > 0)
        history->Delete(at);
    history->Insert(0, text, 0);
    m_changed[std::size_t(list)] = true;
}

void TImportHistories::Add(const TImportLine& line)
{
    for (const THistoryFeed& feed : HistoryFeeds)
        put(feed.list, line.Item(feed.item));
}

bool TImportHistories::Save()
{
    bool ok = true;
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        if (!m_changed[i])
            continue;
        try {
            ok = m_lists[i]->Save() && ok;
        } catch (const std::exception&) {
            ok = false;
        }
        m_changed[i] = false;
    }
    return ok;
}

void TImportErrorFile::Write(qint64 lineNumber, int code, const AnsiString& line)
{
    QFile file(m_path);
    const QIODevice::OpenMode mode = m_written ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!file.open(mode | QIODevice::Unbuffered))
        throw EImportReadError(file.errorString().toStdString());
    if (!m_written)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_written = true;
    const AnsiString out = AnsiString::number(lineNumber) + ',' + ToAnsi(ImportErrorReason(code)) + ',' + line +
                           "\r\n";
    if (file.write(out) != out.size())
        throw EImportReadError(file.errorString().toStdString());
}

int CheckCustomCode(const AnsiString& item2, std::optional<qint32> ownRecNo, TImportTable& table)
{
    const AnsiString code = TrimAnsiText(item2);
    if (code.isEmpty())
        return 0;
    if (!std::all_of(code.cbegin(), code.cend(), allowedCodeChar))
        return -1;
    const std::optional<qint32> found = table.FindCustomCode(code);
    if (!found || (ownRecNo && *found == *ownRecNo))
        return 0;
    return -2;
}

int TImportRun::AppendRecord(const TImportLine& line)
{
    if (m_tableCount >= ImportRecordLimit)
        return ImportError::Stop;
    try {
        switch (CheckCustomCode(line.Item(ImportItem::CustomCode), std::nullopt, m_table)) {
        case -1:
            return ImportError::AppendBadCode;
        case -2:
            return ImportError::AppendCodeUsed;
        default:
            break;
        }
        const TAdrsDataRec rec = BuildAppendRecord(line.itemTexts, m_settings.options, m_lookups);
        if (!m_table.Append(rec))
            return ImportError::AppendRefused;
        ++m_tableCount;
        m_histories.Add(line);
        return ImportError::Stored;
    } catch (const EImportReadError&) {
        throw;
    } catch (const std::exception&) {
        return ImportError::Other;
    }
}

int TImportRun::UpdateRecord(const TImportLine& line)
{
    try {
        std::optional<qint32> recNo;
        if (m_settings.matchByRecNo) {
            bool ok = false;
            const qint32 key = line.matchKey.toInt(&ok);
            if (!ok)
                return ImportError::UpdateNoMatch;
            if (m_table.ReadRecord(key))
                recNo = key;
        } else if (!line.matchKey.isEmpty()) {
            recNo = m_table.FindCustomCode(line.matchKey);
        }
        if (!recNo)
            return ImportError::UpdateNoMatch;
        if (m_settings.matchByRecNo) {
            switch (CheckCustomCode(line.Item(ImportItem::CustomCode), recNo, m_table)) {
            case -1:
                return ImportError::UpdateBadCode;
            case -2:
                return ImportError::UpdateCodeUsed;
            default:
                break;
            }
        }
        std::optional<TAdrsDataRec> rec = m_table.ReadRecord(*recNo);
        if (!rec)
            return ImportError::Other;
        if (!ApplyUpdateFields(line.itemTexts, m_mapping, m_lookups, *rec))
            return ImportError::UpdateSame;
        if (!m_table.Update(*rec))
            return ImportError::UpdateRefused;
        m_histories.Add(line);
        return ImportError::Stored;
    } catch (const EImportReadError&) {
        throw;
    } catch (const std::exception&) {
        return ImportError::Other;
    }
}

TImportRunResult TImportRun::Run(QIODevice& file, const std::function<void(qint64)>& progress)
{
    TImportRunResult result;
    TImportLineReader reader(file);
    TImportLine line;
    AnsiString text;
    m_tableCount = m_table.RecordCount();
    m_table.Begin();
    qint64 committed = 0;
    try {
        if (m_settings.skipFirst)
            reader.ReadLine(text);
        while (reader.ReadLine(text)) {
            ++result.readCount;
            PrepareImportLine(text, m_settings.columnCount, m_settings.matchColumn, m_mapping, line);
            int code = line.errorCode;
            if (code == 0)
                code = m_settings.update ? UpdateRecord(line) : AppendRecord(line);
            if (code == ImportError::Stop) {
                result.limitReached = true;
                break;
            }
            if (code == ImportError::Stored)
                ++result.doneCount;
            else
                m_errors.Write(result.readCount, code, line.line);
            if (result.readCount % CommitEvery == 0) {
                m_table.Commit();
                committed = result.doneCount;
                m_table.Begin();
            }
            if (progress)
                progress(result.readCount);
        }
    } catch (const std::exception& e) {
        result.failure = QString::fromLocal8Bit(e.what());
    }
    try {
        m_table.Commit();
    } catch (const std::exception& e) {
        // What the last commit did not take is lost: report only what is stored.
        result.doneCount = committed;
        if (result.failure.isEmpty())
            result.failure = QString::fromLocal8Bit(e.what());
    }
    if (!m_histories.Save() && result.failure.isEmpty())
        result.failure = tr("入力履歴を保存できませんでした");
    return result;
}

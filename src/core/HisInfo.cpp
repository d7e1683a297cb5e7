// Input history lists: entry editing, the history file reader and writer, and the handling of damaged files.
#include "core/HisInfo.h"

#include "core/AppSub.h"

#include "platform/MessageSeam.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

constexpr int EntryHeaderSize = 1 + 8;

QString WithFile(const QString& fileName, const QString& text)
{
    return fileName + QStringLiteral("\r\n") + text;
}


AnsiString Complemented(const char* data, int size)
{
    AnsiString text(data, size);
    for (char& c : text)
        c = char(~uchar(c));
    return text;
}

void ShowDamaged(const QString& text)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = text;
    request.caption = QStringLiteral("Tovarel");
    request.flags = MsgSeam::MbIconExclamation;
    MsgSeam::Show(request);
}

} // namespace

EHistoryDataError::EHistoryDataError(const QString& message) : m_message(message), m_utf8(message.toUtf8()) {}

double HistoryNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    static const QDate epoch(1899, 12, 30);
    return double(epoch.daysTo(now.date())) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

namespace MtdHistoryFile {

QByteArray Encode(const std::vector<THistoryStruct>& entries)
{
    QByteArray data;
    const qint32 count = qToLittleEndian(qint32(entries.size()));
    data.append(reinterpret_cast<const char*>(&count), 4);
    for (const THistoryStruct& entry : entries) {
        data.append(char((entry.Text.size() + 8) % 256));
        quint64 bits;
        std::memcpy(&bits, &entry.Date, 8);
        bits = qToLittleEndian(bits);
        data.append(reinterpret_cast<const char*>(&bits), 8);
        data.append(Complemented(entry.Text.constData(), int(entry.Text.size())));
    }
    return data;
}

bool Decode(const QByteArray& data, std::vector<THistoryStruct>* entries)
{
    entries->clear();
    if (data.isEmpty())
        return true;
    const int size = int(data.size());
    if (size < 4)
        return false;
    const qint32 count = qFromLittleEndian<qint32>(data.constData());
    int pos = 4;
    // Every entry takes at least its header, so a count the remaining bytes cannot hold is refused up front.
    if (count < 0 || qint64(count) * EntryHeaderSize > size - pos)
        return false;
    entries->reserve(size_t(count));
    for (qint32 i = 0; i < count; ++i) {
        if (size - pos < EntryHeaderSize)
            return false;
        const int textSize = (uchar(data.at(pos)) + 256 - 8) % 256;
        quint64 bits = qFromLittleEndian<quint64>(data.constData() + pos + 1);
        pos += EntryHeaderSize;
        if (size - pos < textSize)
            return false;
        THistoryStruct entry;
        std::memcpy(&entry.Date, &bits, 8);
        entry.Text = Complemented(data.constData() + pos, textSize);
        pos += textSize;
        entries->push_back(std::move(entry));
    }
    return true;
}

} // namespace MtdHistoryFile

THistoryData::THistoryData(const QString& fileName, bool allowMissing, int itemSize)
    : m_fileName(fileName), m_itemSize(itemSize)
{
    if (!allowMissing && !QFileInfo::exists(fileName))
        throw EHistoryDataError(WithFile(fileName, QStringLiteral("ファイルが見つかりません")));
    if (itemSize < 1 || itemSize > 255)
        throw EHistoryDataError(
            WithFile(fileName, QStringLiteral("項目サイズには1～255の値を指定してください")));
}

THistoryData::~THistoryData()
{
    Unload();
}

bool THistoryData::Load()
{
    m_items = std::make_unique<std::vector<THistoryStruct>>();
    m_saveBlocked = false;
    QFile file(m_fileName);
    if (!file.exists())
        return true;

    std::vector<THistoryStruct> entries;
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        const QByteArray data = file.readAll();
        ok = file.error() == QFileDevice::NoError && MtdHistoryFile::Decode(data, &entries);
        file.close();
    }
    if (ok) {
        for (THistoryStruct& entry : entries)
            entry.Text = TrimAnsiText(entry.Text);
        *m_items = std::move(entries);
        return true;
    }

    // The program goes on with an empty list; the old file is kept aside, never overwritten.
    QString movedTo;
    QString text = WithFile(m_fileName, QStringLiteral("データが読み込めませんでした"));
    if (MoveAside(&movedTo)) {
        text += QStringLiteral("\r\nこのファイルを %1 に移し、空の履歴で続けます").arg(movedTo);
    } else {
        m_saveBlocked = true;
        text += QStringLiteral("\r\nこのファイルを移せないため、この履歴は保存されません");
    }
    ShowDamaged(text);
    return true;
}

bool THistoryData::MoveAside(QString* movedTo)
{
    QString target = m_fileName + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = m_fileName + QStringLiteral(".bad.%1").arg(n);
    if (!QFile::rename(m_fileName, target))
        return false;
    *movedTo = target;
    return true;
}

bool THistoryData::Save()
{
    CheckLoaded();
    if (m_saveBlocked)
        return false;
    const QFileInfo info(m_fileName);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = MtdHistoryFile::Encode(*m_items);
    if (file.write(data) != data.size() || !file.commit())
        throw EHistoryDataError(WithFile(m_fileName, QStringLiteral("データが書き込めませんでした")));
    return true;
}

void THistoryData::Unload()
{
    m_items.reset();
}

int THistoryData::Add(const AnsiString& text, double date)
{
    const int index = Count();
    Insert(index, text, date);
    return index;
}

void THistoryData::Insert(int index, const AnsiString& text, double date)
{
    CheckIndex(index, Count() + 1);
    THistoryStruct entry;
    entry.Date = date == 0 ? HistoryNow() : date;
    entry.Text = Cp932::cutAtBoundary(text, m_itemSize);
    m_items->insert(m_items->begin() + index, std::move(entry));
}

void THistoryData::Delete(int index)
{
    CheckIndex(index, Count());
    m_items->erase(m_items->begin() + index);
}

void THistoryData::Clear()
{
    CheckLoaded();
    while (!m_items->empty())
        m_items->pop_back();
}

int THistoryData::IndexOf(const AnsiString& text) const
{
    CheckLoaded();
    for (size_t i = 0; i < m_items->size(); ++i)
        if ((*m_items)[i].Text == text)
            return int(i);
    return -1;
}

AnsiString THistoryData::GetText(int index) const
{
    CheckIndex(index, Count());
    return (*m_items)[size_t(index)].Text;
}

double THistoryData::GetDate(int index) const
{
    CheckIndex(index, Count());
    return (*m_items)[size_t(index)].Date;
}

int THistoryData::Count() const
{
    CheckLoaded();
    return int(m_items->size());
}

void THistoryData::PutFirst(const AnsiString& text, int maxCount)
{
    // Compared as it will be stored, so a text longer than the item size does not pile up copies.
    const AnsiString stored = Cp932::cutAtBoundary(text, m_itemSize);
    const int found = IndexOf(stored);
    if (found >= 0)
        Delete(found);
    Insert(0, stored, 0);
    while (Count() > maxCount && Count() > 0)
        Delete(Count() - 1);
}

void THistoryData::CheckLoaded() const
{
    if (!m_items)
        throw EHistoryDataError(WithFile(m_fileName, QStringLiteral("履歴が読み込まれていません")));
}

void THistoryData::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        throw EHistoryDataError(QStringLiteral("Indexが範囲外です"));
}

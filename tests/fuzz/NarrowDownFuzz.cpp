// Fuzz target: the "Search.lst" condition reader; a condition it reads and can write back reads back the
// same.
#include "FuzzSupport.h"

#include "addressbook/NarrowDown.h"

#include <QDataStream>

namespace {

// A row whose every text field holds the same bytes and whose numbers are one value.
class UniformRow : public TAdrsRow
{
public:
    UniformRow(AnsiString text, qint32 number) : m_text(std::move(text)), m_number(number) {}
    AnsiString FieldBytes(const char*) const override { return m_text; }
    qint32 FieldInt(const char*) const override { return m_number; }
    bool FieldBool(const char*) const override { return m_number & 1; }
    QDateTime FieldDateTime(const char*) const override
    {
        return QDateTime(QDate(2000 + m_number % 40, 1 + m_number % 12, 1), QTime(0, 0));
    }

private:
    AnsiString m_text;
    qint32 m_number;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    TNarrowDownCondition condition;
    if (!ReadNarrowDownCondition(in, condition))
        return 0;

    // Every item read is tested against rows made of the input itself; a test may fail, never crash.
    TNarrowDownContext context;
    context.decipher = [](const AnsiString& cipher) { return cipher; };
    for (const TNarrowDownItem& item : condition.items)
        MatchesNarrowDown(condition, UniformRow(item.text, item.value1), context);
    MatchesNarrowDown(condition, UniformRow(bytes, qint32(size)), context);

    QByteArray written;
    {
        QDataStream out(&written, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        if (!WriteNarrowDownCondition(out, condition))
            return 0;
    }
    QDataStream back(written);
    back.setByteOrder(QDataStream::LittleEndian);
    TNarrowDownCondition again;
    Fuzz::Check(ReadNarrowDownCondition(back, again));
    Fuzz::Check(again == condition);
    return 0;
}

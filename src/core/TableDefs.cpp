// Field and index definitions of the six tables, in the order the files keep them.
#include "core/TableDefs.h"

namespace {

FieldDef autoInc(const char* name)
{
    return {QLatin1String(name), FieldType::AutoInc, 0};
}
FieldDef longInt(const char* name)
{
    return {QLatin1String(name), FieldType::LongInt, 0};
}
FieldDef alpha(const char* name, int size)
{
    return {QLatin1String(name), FieldType::Alpha, size};
}
FieldDef logical(const char* name)
{
    return {QLatin1String(name), FieldType::Logical, 0};
}
FieldDef memo(const char* name, int size)
{
    return {QLatin1String(name), FieldType::Memo, size};
}
FieldDef timestamp(const char* name)
{
    return {QLatin1String(name), FieldType::Timestamp, 0};
}

QString numbered(const char* stem, int n)
{
    return QLatin1String(stem) + QString::number(n);
}

IndexDef primaryKey()
{
    return {QString(), {QStringLiteral("RecNo")}, true, false};
}
// A secondary index named after its one field.
IndexDef fieldIndex(const QString& field, bool caseInsensitive)
{
    return {field, {field}, false, caseInsensitive};
}

// Target.DB, Exception.DB and Original.DB share their indexes.
QList<IndexDef> nameListIndexes()
{
    return {primaryKey(), fieldIndex(QStringLiteral("Name"), true),
            fieldIndex(QStringLiteral("Category"), true), fieldIndex(QStringLiteral("CategoryKana"), true)};
}

TableDef nameListDef(const char* fileName, bool withFlag)
{
    TableDef def;
    def.fileName = QLatin1String(fileName);
    def.fields = {longInt("RecNo"), alpha("Name", 60), alpha("Category", 50), alpha("CategoryKana", 30)};
    if (withFlag)
        def.fields.append(longInt("Flag"));
    def.fields.append(logical("Show"));
    def.indexes = nameListIndexes();
    return def;
}

} // namespace

TableDef AdrsTableDef()
{
    TableDef def;
    def.fileName = QStringLiteral("Adrs.DB");
    QList<FieldDef>& f = def.fields;
    f = {autoInc("RecNo"),       longInt("Group"),        alpha("CustomCode", 20), alpha("Tel", 11),
         longInt("TelDiv"),      alpha("Fax", 11),        alpha("PubDate", 6),     alpha("Portable1", 11),
         alpha("Portable2", 11), alpha("Pos", 7),         alpha("Tdfkn", 8),       alpha("Adrs1", 32),
         alpha("Adrs2", 100),    alpha("Adrs3", 116),     alpha("AdrsKana", 100),  alpha("JisCode", 5),
         alpha("KajoCode", 6),   longInt("Latitude"),     longInt("Longitude"),    logical("PrivCorp"),
         alpha("MyNumber", 34),  alpha("CorpKanji", 120), alpha("CorpKana", 80),   alpha("Dptmnt", 100),
         alpha("Post", 50),      alpha("EmployeeNo", 15), alpha("NameKanji", 75),  alpha("NameKana", 25),
         alpha("Honor", 10),     logical("IgnoreName"),   alpha("URL", 128),       alpha("EMail1", 64),
         alpha("EMail2", 64)};
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("Joint", i), FieldType::Alpha, 55});
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("JointHonor", i), FieldType::Alpha, 10});
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("JointMyNumber", i), FieldType::Alpha, 34});
    f.append(longInt("JointOwner"));
    f.append(logical("JointPrint"));
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("JointPrint", i), FieldType::Logical, 0});
    f.append(longInt("PrintTarget"));
    f.append(longInt("Sender"));
    for (int i = 1; i <= 8; ++i)
        f.append({numbered("Keyword", i), FieldType::Alpha, 100});
    f.append(memo("Note", 100));
    for (int i = 1; i <= 10; ++i)
        f.append({numbered("ProtectMemo", i), FieldType::Alpha, 130});
    f.append({memo("ProtectNote", 100), memo("ExtLink", 100), alpha("SymbolMark", 10), longInt("SymbolColor"),
              timestamp("AddDateTime"), timestamp("UpdDateTime"), longInt("CodeMain"), longInt("CodeSub"),
              longInt("CodeGenre")});

    QList<IndexDef>& x = def.indexes;
    x.append(primaryKey());
    for (const char* name : {"Group", "CustomCode", "Tel", "Fax", "Portable1", "Portable2", "Pos"})
        x.append(fieldIndex(QLatin1String(name), false));
    x.append({QStringLiteral("Adrs"),
              {QStringLiteral("JisCode"), QStringLiteral("Adrs2"), QStringLiteral("Adrs3")},
              false,
              true});
    x.append(fieldIndex(QStringLiteral("MyNumber"), false));
    x.append(fieldIndex(QStringLiteral("CorpKana"), true));
    x.append(fieldIndex(QStringLiteral("EmployeeNo"), false));
    x.append(fieldIndex(QStringLiteral("NameKana"), true));
    for (int i = 1; i <= 8; ++i)
        x.append(fieldIndex(numbered("Keyword", i), true));
    x.append({QStringLiteral("Category"),
              {QStringLiteral("CodeMain"), QStringLiteral("CodeSub"), QStringLiteral("CodeGenre")},
              false,
              true});
    return def;
}

TableDef SenderTableDef()
{
    TableDef def;
    def.fileName = QStringLiteral("Sender.DB");
    QList<FieldDef>& f = def.fields;
    f = {longInt("RecNo"),    alpha("Title", 30),  alpha("Name", 75),    alpha("Tel", 11),
         alpha("Fax", 11),    alpha("Pos", 7),     alpha("Tdfkn", 8),    alpha("Adrs1", 32),
         alpha("Adrs2", 100), alpha("Adrs3", 116), longInt("SelectInfo")};
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("Joint", i), FieldType::Alpha, 55});
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("Note", i), FieldType::Alpha, 20});
    f.append(logical("NamePrint"));
    for (int i = 1; i <= 5; ++i)
        f.append({numbered("JointPrint", i), FieldType::Logical, 0});
    f.append({alpha("Corp", 100), alpha("Dptmnt", 100), alpha("Post", 50)});
    for (int i = 1; i <= 4; ++i)
        f.append({numbered("Head", i), FieldType::Alpha, 10});
    for (int i = 1; i <= 4; ++i)
        f.append({numbered("Addition", i), FieldType::Alpha, 128});
    for (int i = 1; i <= 4; ++i)
        f.append({numbered("AdditionPrint", i), FieldType::Logical, 0});
    def.indexes = {primaryKey()};
    return def;
}

TableDef CategoryTableDef()
{
    TableDef def;
    def.fileName = QStringLiteral("Category.DB");
    def.fields = {longInt("RecNo"), timestamp("AxsDateTime"), logical("Original"), alpha("Kana", 30),
                  alpha("Kanji", 50)};
    def.indexes = {primaryKey(), fieldIndex(QStringLiteral("AxsDateTime"), false),
                   fieldIndex(QStringLiteral("Kana"), true)};
    return def;
}

TableDef TargetTableDef()
{
    return nameListDef("Target.DB", false);
}
TableDef ExceptionTableDef()
{
    return nameListDef("Exception.DB", false);
}
TableDef OriginalTableDef()
{
    return nameListDef("Original.DB", true);
}

std::optional<TableDef> TableDefByFileName(const QString& fileName)
{
    for (TableDef (*make)() : {AdrsTableDef, SenderTableDef, CategoryTableDef, TargetTableDef,
                               ExceptionTableDef, OriginalTableDef}) {
        TableDef def = make();
        if (def.fileName.compare(fileName, Qt::CaseInsensitive) == 0)
            return def;
    }
    return std::nullopt;
}

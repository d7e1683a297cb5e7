// The window "マークファイルの出力": the records of the range that carry map coordinates become named marks of
// a mark file, written through the mesh map program's adaptor; the section [MARK EXPORT].
#pragma once

#include "addressbook/AdrsListServices.h"
#include "dataexchange/RecordRange.h"
#include "platform/Cp932.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QProgressBar;
class QPushButton;
class TAddressList;

inline const QString MarkExportSection = QStringLiteral("MARK EXPORT");

// One mark of a run: its name (CP932) and position (milliseconds of arc as stored).
struct TMarkEntry
{
    AnsiString Name;
    qint32 Latitude = 0;
    qint32 Longitude = 0;
};

// The mark of the current row: none without both coordinates above 0. A person's mark carries the decoded
// name, a company's the company name as stored.
std::optional<TMarkEntry> MarkOfRow(const TAdrsRow& row);

// What the window reads of the address list.
struct TMarkExportSource
{
    const TAddressListRows* Rows = nullptr;
    std::function<TAdrsTableCursor*()> Cursor; // null while no book is open
    std::function<void(TAddressListFollower*)> Detach;
};

class TMarkExport : public QWidget, public TAddressListFollower
{
    Q_OBJECT
public:
    TMarkExport(QWidget* owner, TMarkExportSource source);
    ~TMarkExport() override;

    void UpdateDataRange() override;

    void CollectMarks();
    int ChooseTarget();
    // Writes every mark into file; the count written.
    int WriteMarks(class TAtlasMateView& view, const QString& file);
    void btnExportClick();

    QString MarkFile() const { return m_markFile; }
    const QList<TMarkEntry>& Marks() const { return m_marks; }

private:
    bool ShowSaveDialog(QString& name);
    // Writes the marks into a copy of the target (of the old file when appending) and puts it in place;
    // the count written, or -1 when nothing changed (the reason was shown).
    int WriteTarget(int choice);

    TMarkExportSource m_source;
    QString m_markFile;
    QList<TMarkEntry> m_marks;
    TRecordRangeGroup* m_range = nullptr;
    QProgressBar* m_pgbarExport = nullptr;
    QPushButton* m_btnExport = nullptr;
    QPushButton* m_btnClose = nullptr;
};

// The one mark export window; null while none exists.
extern QPointer<TMarkExport> MarkExport;
// actMarkExportExecute: creates the window over the list on first use, else shows it again.
TMarkExport* ShowMarkExport(TAddressList& list);
// Registers the mark export's command and child window with the address list.
void RegisterMarkExport();

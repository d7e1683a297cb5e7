// The window "テキストファイルの出力": column layout, record range, output type and options; the choice of
// the target file, the run with its progress and report, and the section [FILE EXPORT].
#pragma once

#include "addressbook/AdrsListServices.h"
#include "dataexchange/ExportWriter.h"
#include "dataexchange/TargetChoice.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;
class TAddressList;
class TMemIniFile;

inline const QString FileExportSection = QStringLiteral("FILE EXPORT");

enum TExportType { etEncrypt = 0, etNormal = 1 };

// The target's name after the save dialog: the enciphered type always ends in ".exe"; a plain name without
// extension gets ".txt", or ".csv" when the second filter (filterIndex 1) was chosen.
QString ApplyTargetExtension(const QString& name, int type, int filterIndex);

// What the window reads of the address list.
struct TFileExportSource
{
    const TAddressListRows* Rows = nullptr;
    std::function<TAdrsTableCursor*()> Cursor; // the shared Adrs.DB row; null while no book is open
    std::function<QString(qint32)> SenderTitle;
    std::function<void(TAddressListFollower*)> Detach; // run when the window goes
};

class TFileExport : public QWidget, public TAddressListFollower
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 71;

    TFileExport(QWidget* owner, TFileExportSource source);
    ~TFileExport() override;

    // ---- the address list's calls ----
    void UpdateDataRange() override;
    void UpdateKeywordNames() override;
    void UpdateProtectMemoNames() override;

    void LoadSettings(const TMemIniFile& ini);
    void SaveSettings();
    int ChooseTarget(int type);
    void btnExportClick();

    const TExportLayout& Layout() const { return m_layout; }
    int Type() const { return m_type; }
    QString FileEncrypt() const { return m_fileEncrypt; }
    QString FileNormal() const { return m_fileNormal; }
    int TargetCount() const;
    int WrittenCount() const { return m_written; }

    // Runs before every line goes to the file; a throw stands for a failed write.
    std::function<void()> BeforeWriteLine;

private:
    void BuildWindow();
    void FillSrcGrid();
    void FillDestGrid();
    void SelectDestRow(int row);
    int DestRow() const;
    int SrcItem() const;
    void UpdateButtons();
    void UpdateUpDown(int row);
    bool RefuseWhenFull(bool setAll = false);
    void SetItem(int row, bool moveSource);
    void JoinItem();
    void SetAllItems();
    void DeleteItem();
    void DeleteAllItems();
    void MoveUp();
    void MoveDown();
    void ChooseType(int type);
    bool ShowSaveDialog(int type, QString& name);
    TExportContext Context() const;
    bool CheckProtectedItems();
    bool RunPlain(int choice);
    bool RunEncrypted();
    bool WriteTo(TExportTextFile& file, const QString& shownName);
    void Report();
    bool eventFilter(QObject* watched, QEvent* event) override;

    TFileExportSource m_source;
    TExportLayout m_layout;
    int m_type = -1;
    QString m_fileEncrypt;
    QString m_fileNormal;
    int m_written = 0;

    TRecordRangeGroup* m_range = nullptr;
    QTableWidget* m_sgDest = nullptr;
    QTableWidget* m_sgSrc = nullptr;
    QToolButton* m_bbtnSet = nullptr;
    QToolButton* m_bbtnAdd = nullptr;
    QToolButton* m_bbtnAllSet = nullptr;
    QToolButton* m_bbtnDelete = nullptr;
    QToolButton* m_bbtnAllDelete = nullptr;
    QToolButton* m_bbtnUp = nullptr;
    QToolButton* m_bbtnDown = nullptr;
    QRadioButton* m_rbEncrypt = nullptr;
    QRadioButton* m_rbNormal = nullptr;
    QCheckBox* m_chkOutHeader = nullptr;
    QCheckBox* m_chkBindDblQuote = nullptr;
    QCheckBox* m_chkEditHyphen = nullptr;
    QCheckBox* m_chkEditTel = nullptr;
    QCheckBox* m_chkEditFax = nullptr;
    QCheckBox* m_chkEditPos = nullptr;
    QCheckBox* m_chkEditPortable1 = nullptr;
    QCheckBox* m_chkEditPortable2 = nullptr;
    QProgressBar* m_pgbarExport = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnExport = nullptr;
    QPushButton* m_btnClose = nullptr;
};

// The one export window; null while none exists.
extern QPointer<TFileExport> FileExport;
// actExportFileExecute: creates the window over the list on first use, else shows it again.
TFileExport* ShowFileExport(TAddressList& list);
// Registers the export's command and child window with the address list.
void RegisterFileExport();

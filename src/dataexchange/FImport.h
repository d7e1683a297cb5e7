// The window "テキストファイルの取り込み": the file and its preview, the column mapping, the options, the
// checks before a run, the safety copy, the run with its progress and report, and the section [FILE IMPORT].
#pragma once

#include "dataexchange/ImportRun.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;
class Table;
class TAddressList;
class TMemIniFile;

inline const QString FileImportSection = QStringLiteral("FILE IMPORT");
// What a file column dragged from sgSrc carries.
inline const QString ImportColumnMime = QStringLiteral("application/x-tovarel-import-column");

// What the window works on: the open book's Adrs.DB, the look-up lists of the book and the history lists.
struct TFileImportSource
{
    Table* Adrs = nullptr;
    TImportLookups Lookups; // group names, senders and categories (the run adds the converter and the clock)
    std::array<THistoryData*, 6> Histories{};
    int BookIndex = -1; // the open book in AdrsFolderList, for the safety copy
};

// The group, sender and category look-ups of the open book.
TImportLookups OpenBookLookups(const TAddressList& list);

class TFileImport : public QDialog
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 67;

    TFileImport(QWidget* owner, TFileImportSource source);
    ~TFileImport() override;

    // True when the file was accepted for the preview.
    bool LoadFilePreview(const QString& fileName);
    void btnImportClick();

    const TImportMapping& Mapping() const { return m_mapping; }
    bool FileLoaded() const { return m_fileLoaded; }
    qint64 ReadCount() const { return m_result.readCount; }
    qint64 DoneCount() const { return m_result.doneCount; }
    // Records were stored, also by a run that failed.
    bool Stored() const { return m_stored; }
    // The item selected in sgDest (1..81).
    int SelectedItem() const;
    void SelectItem(int item);

private:
    void BuildWindow();
    void LoadPosition();
    void SavePosition();
    void LoadSettings();
    void SaveSettings();
    void ResetMatchingControls();
    void InitDestGrid();
    void FillItemNames();
    void InitSrcGrid();
    void SelectDefaultMatchColumn();
    void ApplyEnabling();
    void ShowMapping();
    void UpdatePartButtons();

    void edtFileEnter();
    void bbtnBrowseFileClick();
    void SetOrAdd();
    void bbtnSetClick();
    void bbtnAddClick();
    void bbtnConstClick();
    void bbtnDeleteClick();
    void bbtnRowClearClick();
    void bbtnAllClearClick();
    void bbtnUpClick();
    void bbtnDownClick();
    void bbtnAllSetClick();
    void pmiSetViewClick();
    void ShowDestMenu(const QPoint& pos);

    bool CheckBeforeRun(qint64& lineCount);
    bool RunImport(qint64 lineCount);
    void SetGroupsEnabled(bool enabled);
    int SrcColumn() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    TFileImportSource m_source;
    TImportMapping m_mapping;
    QString m_loadedFileName;
    bool m_fileLoaded = false;
    bool m_srcDoubleClicked = false;
    QList<AnsiString> m_firstLine;
    TImportRunResult m_result;
    bool m_stored = false;
    QPoint m_pressPos;

    QLineEdit* m_edtFile = nullptr;
    QRadioButton* m_rbImportAdd = nullptr;
    QRadioButton* m_rbImportUpdate = nullptr;
    QRadioButton* m_rbRecNo = nullptr;
    QRadioButton* m_rbCustomCode = nullptr;
    QComboBox* m_cbxMatchingFileItem = nullptr;
    QTableWidget* m_sgDest = nullptr;
    QTableWidget* m_sgSrc = nullptr;
    QToolButton* m_bbtnSet = nullptr;
    QToolButton* m_bbtnAdd = nullptr;
    QToolButton* m_bbtnConst = nullptr;
    QToolButton* m_bbtnDelete = nullptr;
    QToolButton* m_bbtnRowClear = nullptr;
    QToolButton* m_bbtnAllClear = nullptr;
    QToolButton* m_bbtnUp = nullptr;
    QToolButton* m_bbtnDown = nullptr;
    QToolButton* m_bbtnAllSet = nullptr;
    QCheckBox* m_chkSkipRecord = nullptr;
    QCheckBox* m_chkNotAutoSupplement = nullptr;
    QCheckBox* m_chkSetCorp = nullptr;
    QRadioButton* m_rbAll = nullptr;
    QRadioButton* m_rbNoName = nullptr;
    QCheckBox* m_chkPriorityClass = nullptr;
    QWidget* m_gbxFile = nullptr;
    QWidget* m_gbxItem = nullptr;
    QWidget* m_gbxOption = nullptr;
    QProgressBar* m_pgbarImport = nullptr;
    QPushButton* m_btnImport = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QMenu* m_pmDest = nullptr;
};

// actImportFileExecute's window: modal over the list, released afterwards; ok when records were stored.
bool RunFileImport(TAddressList& list);
// Registers the import's command with the address list.
void RegisterFileImport();

// The address copy: records of the open address book copied row by row into another book, and its window.
#pragma once

#include "addressbook/AdrsListEngine.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class Table;
class TAddressListRows;
class TMemIniFile;

// The most rows an address book holds.
inline constexpr int MaxAdrsRecordCount = 100000;

// The choices of the window, kept in [ADRS COPY] of the main settings file.
struct TAddressCopySettings
{
    int DataSelect = 0; // 0 selected rows, 1 a range of list positions, 2 every shown row
    int BeginPos = 0;   // 1-based list positions of the range
    int EndPos = 0;
    bool Tel = false;
    bool Fax = false;
    bool Portable1 = false;
    bool Portable2 = false;
    int BothType = 0;        // 0 every checked number equal, 1 any of them
    int SameNumCheck = 0;    // 0 add as new, 1 do not add
    int SameCustomCheck = 1; // 0 overwrite the target's record, 1 do not copy
    bool SameAddDateTime = true;
    bool SameUpdDateTime = true;

    void Read(const TMemIniFile& ini);
    void Write(TMemIniFile& ini) const;
    int NumberBoxCount() const;
};

enum class TCopyResult { Added, Overwritten, Skipped, Failed, Limit };

struct TAddressCopyCounts
{
    int DataCount = 0; // rows to copy
    int Added = 0;
    int Overwritten = 0;
    int Skipped = 0;
    int Failed = 0; // rows that could not be read or written
    bool LimitReached = false;
};

// The closing message of a copy.
QString AddressCopySummary(const TAddressCopyCounts& counts);
// How many rows the choice takes from the list.
int AddressCopyDataCount(const TAddressCopySettings& settings, const TAddressListRows& rows);
// The list indexes the choice visits, in list order.
QList<int> AddressCopyIndexes(const TAddressCopySettings& settings, const TAddressListRows& rows);

// One copy from the open book's table into another book's table opened exclusively.
class TAddressCopyJob
{
public:
    TAddressCopyJob(Table& source, Table& target, const TAddressCopySettings& settings,
                    QWidget* messageOwner = nullptr);

    // Copies the rows the settings choose; Counts() tells the outcome. Writes are committed in batches,
    // each row whole; a batch the engine gives up is written again row by row.
    void CopyRecords(const TAddressListRows& rows);
    // Copies the source's current record.
    TCopyResult CopyRecord();
    bool FindSameNumberAny();
    bool FindSameNumbersAll();

    const TAddressCopyCounts& Counts() const { return m_counts; }
    int TargetCount() const { return m_targetCount; }

    // Rows done so far, after each visited row.
    std::function<void(int)> OnProgress;
    // The current time of a record; the clock when unset.
    std::function<QDateTime()> Now;
    // Called just before a row is written; a throw stands for a failed write.
    std::function<void()> BeforePost;
    // Rows per commit; 1 commits every row on its own.
    int BatchSize = 500;

private:
    struct TNumberItem
    {
        int sourceField;
        QString name;
    };

    TCopyResult CopyRecNo(int recNo);
    void CopyFields();
    void SetDateStamps();
    void Count(TCopyResult result);
    QList<TNumberItem> CheckedNumbers();
    bool BeginBatch();
    bool CommitBatch();
    void ReplayBatch();

    Table& m_source;
    Table& m_target;
    TAddressCopySettings m_settings;
    QWidget* m_messageOwner;
    TAddressCopyCounts m_counts;
    int m_targetCount = 0;
    // Field positions in source and target, in copy order; the stamps and the customer code apart.
    std::vector<std::pair<int, int>> m_fields;
    int m_srcAdd, m_dstAdd, m_srcUpd, m_dstUpd, m_srcCustomCode;
    int m_srcNumbers[4];

    bool m_batching = true;
    bool m_inBatch = false;
    QList<int> m_batchRecNos;
    TAddressCopyCounts m_batchStartCounts;
    int m_batchStartTargetCount = 0;
    bool m_limitShown = false;
};

// The window "他のアドレス帳にコピー": a modeless singleton owned by the address list.
class TAddressCopy : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 64;

    TAddressCopy(QWidget* owner, TAddressListRows& rows);
    ~TAddressCopy() override;

    // The list's shown rows or selection changed.
    void UpdateDataRange();
    // "コピー".
    void Copy();

    TAddressCopySettings Settings() const;
    int DataCount() const { return m_dataCount; }
    int BeginPos() const { return m_beginPos; }
    int EndPos() const { return m_endPos; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void FillTargets();
    void InitRange(int savedBegin, int savedEnd);
    void ApplySettings(const TAddressCopySettings& settings);
    void UpdateControls();
    void UpdateDataCount();
    void ShowRange();
    void SetBeginPos(int value);
    void SetEndPos(int value);
    bool ApplyRangeEdit(QLineEdit* edit);
    void StepRange(QLineEdit* edit, int delta);
    int RangeValue(QLineEdit* edit) const;
    QString TargetFolder() const;

    TAddressListRows& m_rows;
    int m_lowerBound = 0;
    int m_upperBound = 0;
    int m_beginPos = 0;
    int m_endPos = 0;
    int m_dataCount = 0;
    int m_enteredBegin = 0;
    int m_enteredEnd = 0;

    QListWidget* m_lvAdrs = nullptr;
    QRadioButton* m_rbtnSelectData = nullptr;
    QRadioButton* m_rbtnRangeData = nullptr;
    QRadioButton* m_rbtnAllData = nullptr;
    QLabel* m_lblBeginPos = nullptr;
    QLabel* m_lblEndPos = nullptr;
    QLineEdit* m_edtBeginPos = nullptr;
    QLineEdit* m_edtEndPos = nullptr;
    QToolButton* m_udBeginPosUp = nullptr;
    QToolButton* m_udBeginPosDown = nullptr;
    QToolButton* m_udEndPosUp = nullptr;
    QToolButton* m_udEndPosDown = nullptr;
    QLabel* m_lblDataCount = nullptr;
    QCheckBox* m_chkTel = nullptr;
    QCheckBox* m_chkFax = nullptr;
    QCheckBox* m_chkPortable1 = nullptr;
    QCheckBox* m_chkPortable2 = nullptr;
    QRadioButton* m_rbtnBothAll = nullptr;
    QRadioButton* m_rbtnBothAny = nullptr;
    QRadioButton* m_rbtnSameNumAdd = nullptr;
    QRadioButton* m_rbtnSameNumSkip = nullptr;
    QRadioButton* m_rbtnCustomOverwrite = nullptr;
    QRadioButton* m_rbtnCustomSkip = nullptr;
    QCheckBox* m_chkSameAddDateTime = nullptr;
    QCheckBox* m_chkSameUpdDateTime = nullptr;
    QProgressBar* m_pbCopy = nullptr;
    QPushButton* m_btnCopy = nullptr;
    QPushButton* m_btnCancel = nullptr;
};

// Registered once with the list engine: passes its range changes on to the window while it exists.
class TAddressCopyObserver : public TAdrsListObserver
{
public:
    void UpdateDataRange() override;
};

// The one address copy window; null while none exists.
extern QPointer<TAddressCopy> AddressCopy;
// Creates the window on first use, else brings it back; returns it.
TAddressCopy* ShowAddressCopy(QWidget* owner, TAddressListRows& rows);

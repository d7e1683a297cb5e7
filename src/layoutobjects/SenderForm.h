// The sender records editor: the modal window over the rows of "Sender.DB", with the default sender and the
// highest sender number kept in "Sender.ini".
#pragma once

#include "search/DicSchLogic.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class Table;
class TTntNMDEdit;

// The RecNo of the default sender, shared with the designers; the editor reads it from "Sender.ini" when it
// opens and writes it back when it closes.
extern qint32 DefaultSenderNo;

// The designers' entry point. Opens the shared sender table, runs the editor modally on the sender senderNo
// (0 or a missing one: the default sender) and closes the table again. Answers true after "選択", with
// senderNo set to the sender shown; false after "閉じる" or when the table cannot be opened. The shown
// record is saved either way, and "Sender.ini" then holds "Default" (DefaultSenderNo) and "LastNo", so the
// caller reloads its sender list and default sender afterwards.
bool ExecuteSenderForm(QWidget* owner, qint32& senderNo);

// One dictionary lookup as the editor runs it. StartSearch answers 0 (show the dialog), 1 (decided without
// it) or anything else (abandon); Exec shows the dialog and answers whether it closed with OK.
class TSenderLookup
{
public:
    virtual ~TSenderLookup() = default;
    virtual int StartSearch(int kind, const QString& text) = 0;
    virtual bool Exec() = 0;
    virtual TDicResultRec GetResult() const = 0;
};
using TSenderLookupFactory = std::function<std::unique_ptr<TSenderLookup>(QWidget* owner)>;
// Replaces the lookup (tests); an empty factory restores the dictionary lookup dialog.
void SetSenderLookupFactory(TSenderLookupFactory factory);

class TSenderForm : public QDialog
{
    Q_OBJECT
public:
    // The heading items of the contact combos.
    static const QStringList HeadItems;

    // The caller has opened the shared sender table (OpenSender) and keeps it open while the editor lives.
    explicit TSenderForm(QWidget* owner = nullptr);
    ~TSenderForm() override;

    // Set before showing, read back after "選択".
    qint32 SenderNo = 0;
    qint32 LastNo() const { return m_lastNo; }
    bool Modified() const { return m_modified; }

    // Handlers and steps, reachable for tests.
    bool SaveRecord();
    void ShowRecord();
    void bbtnNewClick();
    void bbtnDeleteClick();
    void btnChoiceClick();
    void bbtnSearchClick(int tag);
    void bbtnEditListClick(int tag);
    void sbtnMoveClick(int direction); // 0 first, 1 prior, 2 next, 3 last
    bool edTitleExit();

    // Components, named as the form names them.
    QLineEdit* edTitle = nullptr;
    QCheckBox* ckbDefault = nullptr;
    TTntNMDEdit* edName = nullptr;
    QLineEdit* edPos = nullptr;
    QLineEdit* edTdfkn = nullptr;
    QLineEdit* edAdrs1 = nullptr;
    QLineEdit* edAdrs2 = nullptr;
    QLineEdit* edAdrs3 = nullptr;
    QLineEdit* edTel = nullptr;
    QLineEdit* edFax = nullptr;
    QTabWidget* pgctlSender = nullptr;
    QWidget* tbsJoint = nullptr;
    QWidget* tbsCorp = nullptr;
    QWidget* tbsContact = nullptr;
    QCheckBox* ckbHome = nullptr;
    QCheckBox* ckbCorp = nullptr;
    std::array<TTntNMDEdit*, 5> edJoint{};
    std::array<QLineEdit*, 5> edNote{};
    std::array<QToolButton*, 6> sbtnPrint{}; // 0 the name, 1 to 5 the joint names
    QLineEdit* edCorp = nullptr;
    QComboBox* cbxDptmnt = nullptr;
    QComboBox* cbxPost = nullptr;
    std::array<QComboBox*, 4> cbxHead{};
    std::array<QLineEdit*, 4> edAddition{};
    std::array<QToolButton*, 4> sbtnAdditionPrint{};
    std::array<QToolButton*, 3> bbtnSearch{}; // telephone, postal code, address
    std::array<QToolButton*, 2> bbtnEditList{}; // department, post
    QToolButton* sbtnFirst = nullptr;
    QToolButton* sbtnPrior = nullptr;
    QToolButton* sbtnNext = nullptr;
    QToolButton* sbtnLast = nullptr;
    QLabel* lblRecord = nullptr;
    QLabel* lblCount = nullptr;
    QToolButton* bbtnNew = nullptr;
    QToolButton* bbtnDelete = nullptr;
    QPushButton* btnChoice = nullptr;
    QPushButton* btnClose = nullptr;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildControls();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void LoadSettings();
    void SaveSettings();
    // Whether another record has the trimmed title; shows the message on a match and relocates SenderNo.
    bool TitleExists();
    bool StopOnDuplicateTitle(bool focus);
    bool LocateSender(qint32 recNo);
    void ShowCount();
    void UpdateHistory(QComboBox* combo, class THistoryData* history);
    void DataChange(QObject* sender);
    void cbxHeadClick(int index);
    void sbtnAdditionPrintClick(int index);
    void ckbSelInfoClick(QCheckBox* box);
    void ckbDefaultClick();
    void SetPrintGlyph(QToolButton* button);
    void ApplyLookup(int tag, const TDicResultRec& r);
    void NameConvertNeed(int tag, int kind, bool show, const QString& value);
    TTntNMDEdit* NameEditByTag(int tag) const;
    bool AppendSender(qint32 recNo, const QString& title);

    Table* m_table = nullptr;
    qint32 m_lastNo = 0;
    bool m_modified = false;
    bool m_titleChanged = false;
    bool m_loading = false;
    bool m_checkingTitle = false;
    bool m_shown = false;
    int m_additionPressed = 0;
};

// The record card: the window that shows one record of the address book or one directory entry and
// registers, changes or deletes it.
#pragma once

#include "core/PrivateMessages.h"

#include "addressbook/CardServices.h"
#include "addressbook/DtInqiryLogic.h"
#include "core/NMDEdit.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <array>
#include <bitset>
#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QProxyStyle;
class TNMDEdit;
class TTntNMDEdit;

// The external links a record holds at most.
inline constexpr int MaxExtLinks = 10;

class TDataInquiry : public QWidget
{
    Q_OBJECT
public:
    // data: the run's data module unless a caller gives another.
    explicit TDataInquiry(TCardAddressBook* addressList, TCardDataModule& data = ModuleCardData(),
                          QWidget* parent = nullptr);
    ~TDataInquiry() override;

    // ---- Services of the list windows ----
    void ShowAddressRecord(const TAdrsDataRec& rec);
    void ShowDirectoryRecord(const TDirDetailRec& detail);
    void NewRecord();
    // 0 a save was attempted, 1 nothing saved, 9 the caller must stay where it is.
    int ConfirmPendingChanges(int onClose, int refreshList);
    void SetListSource(int source);
    int ListSource() const { return m_listSource; }
    void SetShowingItem(int mark);
    int ShowingItem() const { return m_showingItem; }
    void SetSkipConfirm(quint8 flag) { m_skipConfirm = flag; }
    qint32 GetLoadedRecNo() const { return m_loaded ? m_loaded->RecNo : -1; }
    void UpdateNavigation();
    void DisableNavigation();
    void SetRecordSender(int senderRecNo);
    void ApplyBatchChange(const TAdrsDataRec& rec, const std::bitset<17>& flags);
    void RefreshGroups();
    void RefreshSenders();
    void ApplyProtection();
    void ShowOwnNumber();
    void UpdateLinkHints();
    void ApplyKeywordNames();
    void ApplyKeywordInputModes();
    void ApplyProtectMemoNames();
    void ApplyProtectMemoInputModes();

    // ---- The card's own steps ----
    void ClearForm();
    void RecordToForm(TAdrsDataRec& rec);
    void DirectoryRecordToForm(const TDirDetailRec& detail);
    void KeepRecordCopy(const TAdrsDataRec& rec);
    void FormToRecord(bool takeSnapshot);
    bool HasUnsavedInput() const;
    bool IsModified(const TAdrsDataRec& baseline) const;
    bool ValidateInput(bool isNew);
    int WriteRecord(bool update, qint32* newRecNo = nullptr);
    void UpdateInputHistories();
    void UpdateMyNumberStatus(const QList<int>& edits);
    void UpdatePrivCorpControls();
    void FillGroupList();
    void FillCategoryMainList(int code);
    void FillCategorySubList(int minorCode);
    void FillDptmntList();
    void FillPostList();
    void FillHonorLists();
    void FillKeywordList(int k);
    void FillSenderList();
    void FillSymbolMarkList();
    void RefillInputLists(unsigned changed);

    // What the controls hold, and putting values on them.
    TCardValues FormValues() const;
    void SetFormValues(const TCardValues& values);

    const std::optional<TAdrsDataRec>& LoadedRecord() const { return m_loaded; }
    // The address list that owns the card (null without one) and the data module it writes through.
    TCardAddressBook* AddressBook() const { return m_book; }
    TCardDataModule& DataModule() const { return m_data; }
    const std::optional<TAdrsDataRec>& SnapshotRecord() const { return m_snapshot; }
    bool IsProtected() const;

    // The clock of the writes (tests fix it).
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Button handlers.
    void btnAddClick();
    void btnUpdateClick();
    void btnDeleteClick();
    void bbtnNewClick();
    void sbtnMoveRecordClick(int tag);
    void bbtnEditListClick(int tag);

    // Item copy: the copied line of the controls as they stand, and its setting.
    void btnCopyClick();
    void bbtnCopySettingClick();
    QString CopyText() const;
    const TCopyItemEntries& CopyItems() const { return m_copyItems; }
    bool CopyLastReturn() const { return m_lastReturn; }
    void SaveCopySettings();

    // External links, symbol colour and web search.
    void AddExtLink(const QString& text);
    void bbtnAddExtLinkClick();
    void pmiExtFileClick();
    void pmiExtURLClick();
    void bbtnDelExtLinkClick();
    void bbtnOpenExtLinkClick();
    void bbtnSymbolColorClick();
    void bbtnWebSearchClick();
    // The word the web search starts with: the company name while it applies.
    QString WebSearchWord() const;

    // The card's position in milliseconds of arc (0 = none), and taking over one a map handed back: it
    // becomes the card's and the loaded record's, and is written with UpdDateTime into the loaded row (a
    // failed write shows the update error; the card keeps the position). An equal position changes nothing.
    qint32 Latitude() const { return m_latitude; }
    qint32 Longitude() const { return m_longitude; }
    void TakeMapPosition(quint32 latitude, quint32 longitude);

    // Keyboard, pages and the name-reading popup.
    void pgctlDataChange(int index);
    void nmedtNameConvertNeed(int tag, TNameDicKind kind, bool show, const QString& value);
    // The name edit of a popup Tag: 0 nmedtNameKanji, 1 nmedtNameKana, 2 to 6 nmedtJoint1 to 5.
    TTntNMDEdit* NameEdit(int tag) const;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    // Where Enter in a control sends the focus: target() names the control (null: the next tab stop), and
    // caretAtEnd puts the caret at the end of an edit it reaches.
    struct TEnterRoute
    {
        std::function<QWidget*()> target;
        bool caretAtEnd = false;
    };
    void BuildEnterRoutes();
    bool EnterPressed(QWidget* control);
    QWidget* SaveButton() const;
    void SelectPage(int index);
    void PlaceDialog(QWidget* dialog) const;
    void UpdateExtLinkButtons();
    void WireNameEdits();
    void ReadCopySettings();

    void BuildControls();
    QWidget* BuildMainPage();
    QWidget* BuildSubPage();
    QWidget* BuildMemoPage();
    QWidget* BuildProtectPage();
    QWidget* BuildOtherPage();
    void ConnectServiceButton(QAbstractButton* button, TCardService service, int argument = 0);
    void ReadSettings();
    void WriteSettings();
    TCardListSource* SourceWindow(int kind) const;
    void ResetListCurrents();
    void OpenNumberSearch();
    void FocusField(TCardField field);
    void ChooseSender(int recNo, int from);
    void RebuildJointOwnerList();
    void nmedtJointChange(int k);
    void sbtnJointPrintClick(int k);
    void UpdateJointPrintGlyph(int k);
    // The button pictures of the card, and one button's picture by its name.
    void LoadButtonPictures();
    void SetPicture(QToolButton* button, const QString& name);
    void SetProtectedEdit(QLineEdit* edit, bool on);
    void ShowExtLinks(const QStringList& links);
    void SetSymbolColor(qint32 color);
    void CloseCard();

    TCardAddressBook* m_book;
    TCardDataModule& m_data;

    int m_listSource = -1;
    int m_showingItem = -1;
    std::optional<TAdrsDataRec> m_snapshot;
    std::optional<TAdrsDataRec> m_loaded;
    int m_group = 0;
    int m_catMain = 0;
    int m_jointOwner = 0;
    int m_sender = 0;
    quint8 m_skipConfirm = 0;
    qint32 m_latitude = 0;
    qint32 m_longitude = 0;
    qint32 m_symbolColor = DefaultSymbolColor;
    bool m_continualAdd = false;
    std::function<QDateTime()> m_clock;
    QProxyStyle* m_maskStyle = nullptr;
    QHash<QObject*, TEnterRoute> m_enterRoutes;
    bool m_pageByProgram = false;
    class TPopupEscapeWatch* m_popupEscape = nullptr;
    TCopyItemEntries m_copyItems = DefaultCopyItems();
    bool m_lastReturn = true;

public:
    // Controls, named as the form names them.
    QTabWidget* pgctlData = nullptr;
    QWidget* tabstMain = nullptr;
    QWidget* tabstSub = nullptr;
    QWidget* tabstMemo = nullptr;
    QWidget* tabstProtectMemo = nullptr;
    QWidget* tabstOther = nullptr;
    QComboBox* cbxGroup = nullptr;
    QToolButton* bbtnEditGroup = nullptr;
    QLineEdit* edtCustomCode = nullptr;
    QLabel* lblEnvMyNumber = nullptr;
    QLineEdit* edtEnvMyNumber = nullptr;
    QLineEdit* edtTel = nullptr;
    QCheckBox* chkMainNumber = nullptr;
    QToolButton* bbtnTelSch = nullptr;
    QLineEdit* edtFax = nullptr;
    QLineEdit* edtPubDate = nullptr;
    QLineEdit* edtPortable1 = nullptr;
    QLineEdit* edtPortable2 = nullptr;
    QLineEdit* edtPos = nullptr;
    QToolButton* bbtnPosSch = nullptr;
    QLineEdit* edtJisCode = nullptr;
    QLabel* lblKajoCode = nullptr;
    QToolButton* bbtnGetJisCode = nullptr;
    QLineEdit* edtTdfkn = nullptr;
    QLineEdit* edtAdrs1 = nullptr;
    QLineEdit* edtAdrs2 = nullptr;
    QLineEdit* edtAdrs3 = nullptr;
    QLineEdit* edtAdrsKana = nullptr;
    QToolButton* bbtnAdrsSearch = nullptr;
    QToolButton* bbtnMap = nullptr;
    QToolButton* bbtnQRMap = nullptr;
    QToolButton* bbtnRoot = nullptr;
    QToolButton* sbtnPriv = nullptr;
    QToolButton* sbtnCorp = nullptr;
    QLineEdit* edtMyNumber = nullptr;
    QLabel* imgMyNumberStatus = nullptr;
    QLabel* lblMyNumberCount = nullptr;
    TNMDEdit* nmedtCorpKanji = nullptr;
    QToolButton* bbtnWebSearch = nullptr;
    QLineEdit* edtCorpKana = nullptr;
    QComboBox* cbxDptmnt = nullptr;
    QToolButton* bbtnDptmnt = nullptr;
    QComboBox* cbxPost = nullptr;
    QToolButton* bbtnPost = nullptr;
    QLineEdit* edtEmployeeNo = nullptr;
    TTntNMDEdit* nmedtNameKanji = nullptr;
    TTntNMDEdit* nmedtNameKana = nullptr;
    QComboBox* cbxHonor = nullptr;
    QToolButton* bbtnHonor = nullptr;
    QCheckBox* chkIgnoreName = nullptr;
    QComboBox* cbxCatMain = nullptr;
    QComboBox* cbxCatSub = nullptr;
    QList<QWidget*> m_corpLabels;

    QLineEdit* edtURL = nullptr;
    QToolButton* bbtnGetURL = nullptr;
    QToolButton* bbtnOpenURL = nullptr;
    QLineEdit* edtEMail1 = nullptr;
    QLineEdit* edtEMail2 = nullptr;
    QToolButton* bbtnEMail1 = nullptr;
    QToolButton* bbtnEMail2 = nullptr;
    std::array<TTntNMDEdit*, 5> nmedtJoint{};
    std::array<QComboBox*, 5> cbxJointHonor{};
    QToolButton* bbtnJointHonor = nullptr;
    std::array<QLineEdit*, 5> edtJointMyNumber{};
    std::array<QLabel*, 5> imgJointMyNumberStatus{};
    std::array<QLabel*, 5> lblJointMyNumberCount{};
    QComboBox* cbxJointOwner = nullptr;
    QToolButton* sbtnJointPrintM = nullptr;
    std::array<QToolButton*, 5> sbtnJointPrint{};
    QComboBox* cbxSender = nullptr;
    QToolButton* sbtnPrintTarget = nullptr;
    QToolButton* sbtnPrintException = nullptr;

    std::array<QLabel*, 8> lblKeyword{};
    std::array<QLineEdit*, 5> edtKeyword{};
    std::array<QComboBox*, 3> cbxKeyword{};
    std::array<QToolButton*, 3> bbtnKeyword{};
    QPlainTextEdit* mmoNote = nullptr;

    std::array<QLabel*, 10> lblProtectMemo{};
    std::array<QLineEdit*, 10> edtProtectMemo{};
    QPlainTextEdit* mmoProtectNote = nullptr;
    QLabel* pnlProtectNoteMask = nullptr;

    QTreeWidget* lvExtLink = nullptr;
    QToolButton* bbtnAddExtLink = nullptr;
    QToolButton* bbtnDelExtLink = nullptr;
    QToolButton* bbtnOpenExtLink = nullptr;
    QMenu* pmAddExtLink = nullptr;
    QAction* pmiCancel = nullptr;
    QAction* pmiExtFile = nullptr;
    QAction* pmiExtURL = nullptr;
    QComboBox* cbxSymbolMark = nullptr;
    QFrame* pnlSymbolColor = nullptr;
    QToolButton* bbtnSymbolColor = nullptr;
    QLineEdit* edtAddDateTime = nullptr;
    QLineEdit* edtUpdDateTime = nullptr;

    QToolButton* sbtnFirst = nullptr;
    QToolButton* sbtnPrior = nullptr;
    QToolButton* sbtnNext = nullptr;
    QToolButton* sbtnLast = nullptr;
    QLabel* lblNowRec = nullptr;
    QLabel* lblTotalRec = nullptr;
    QToolButton* bbtnNew = nullptr;
    QCheckBox* chkContinualAdd = nullptr;
    QPushButton* btnCopy = nullptr;
    QToolButton* bbtnCopySetting = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnClose = nullptr;
};

// The one record card, null while none exists.
extern QPointer<TDataInquiry> DataInquiry;

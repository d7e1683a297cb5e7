// The lookup dialog: a telephone number (address book, directory, exchange codes), a postal code or an
// address text to an address, a directory entry or an address-book row.
#pragma once

#include "search/DicSchLogic.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class Table;
class TKykbnSearch;
class TPosSearch;
class TAdrsSearch;

// One address-book hit.
struct TAdrsSchInfo
{
    bool isPerson = false;
    AnsiString name;    // a person's stored NameKanji, or the company name
    AnsiString contact; // a company's stored NameKanji
};

class TDicSearch : public QDialog
{
    Q_OBJECT
public:
    // Configure flags.
    enum : int { dsTelWithDirectory = 1, dsTelOnly = 2, dsPostal = 4, dsAddress = 8 };
    // ResultKind values besides the tabs 0, 1, 2.
    enum : int { rkAddressBook = 8, rkDirectory = 9 };

    explicit TDicSearch(QWidget* owner = nullptr);
    ~TDicSearch() override;

    void SetOwnerWindow(QWidget* window) { m_ownerWindow = window; }
    void Configure(int flags, bool addressBookFirst, bool showSaveBox);
    // The shared Adrs.DB table object of the open book; the search reads the same file through a table
    // object of its own. Null: there is no address book to search.
    void SetAddressBook(const Table* shared) { m_book = shared; }
    void SetListHelpContext(int context) { m_listHelpContext = context; }
    // 0 show the dialog, 1 decided without showing it, other values: abandon.
    int StartSearch(int kind, const QString& text);
    TDicResultRec GetResult() const { return m_result; }
    int GetChosenRecNo() const;
    int ResultKind = 0;

    // Handlers and steps, reachable for tests.
    int RunPhoneSearch();
    void bbtnSchClick(int tab);
    void btnDecisionClick();
    void btnPriorClick();
    void rbViewTypeClick(int tab);
    bool Decided() const { return m_decided; }

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct TTab
    {
        QWidget* page = nullptr;
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QToolButton* button = nullptr;
        QTreeWidget* city = nullptr;
        QTreeWidget* town = nullptr;
        QComboBox* kana = nullptr;
        QRadioButton* viewTown = nullptr;
        QRadioButton* viewOhguchi = nullptr;
        QString prompt;
        int loaded = -1;
    };

    QWidget* BuildTab(int tab, const QString& prompt, int maxLength);
    QWidget* BuildListPage();
    void TabChange();
    int CurrentTab() const;
    QWidget* MessageOwner();
    void SetStatus(int tab, const QString& text, bool maroon);
    int CheckInput(int tab);
    int SearchAddressBook();
    int SearchDirectoryPhone();
    int SearchExchangeCode();
    int SearchPostalCode();
    int SearchAddress();
    void ClearLists(int tab);
    void CityChanged(int tab);
    void FillTownList(int tab);
    void ChooseOrListHits();
    void FillHitList();
    bool BuildResult();
    void LoadSavedAreaCode();
    void SaveAreaCode();
    void ShowError(const QString& message);
    bool SaveBoxShown() const;

    std::array<TTab, 3> m_tabs;
    std::unique_ptr<TKykbnSearch> m_kykbn;
    std::unique_ptr<TPosSearch> m_pos;
    std::unique_ptr<TAdrsSearch> m_adrs;
    QPointer<QWidget> m_ownerWindow;
    const Table* m_book = nullptr;
    int m_tabHelpContext = 0;
    int m_listHelpContext = 0;
    bool m_addressBookFirst = true;
    bool m_directoryAllowed = true;
    bool m_showSaveBox = false;
    bool m_decided = false;
    bool m_notDisplayable = false;
    TDicResultRec m_result;
    QList<TAdrsSchInfo> m_adrsHits;
    QList<qint32> m_adrsRecNos;
    bool m_haveAdrsHits = false;
    QString m_matchedField;
    std::array<TDirDetailRec, DirTelBlockSize> m_dirHits{};
    int m_hitCount = 0;
    int m_chosen = -1;

public:
    // Components, named as the form names them.
    QStackedWidget* pgctlDicSch = nullptr;
    QWidget* tabstSearch = nullptr;
    QWidget* tabstTelList = nullptr;
    QTabWidget* pgctlDicType = nullptr;
    QWidget* tabstTelSch = nullptr;
    QWidget* tabstPosSch = nullptr;
    QWidget* tabstAdrsSch = nullptr;
    QLineEdit* edtTelSch = nullptr;
    QLineEdit* edtPosSch = nullptr;
    QLineEdit* edtAdrsSch = nullptr;
    QToolButton* bbtnTelSch = nullptr;
    QToolButton* bbtnPosSch = nullptr;
    QToolButton* bbtnAdrsSch = nullptr;
    QCheckBox* chkSaveTel = nullptr;
    QLabel* lblTelSch = nullptr;
    QLabel* lblPosSch = nullptr;
    QLabel* lblAdrsSch = nullptr;
    QTreeWidget* lvTelCity = nullptr;
    QTreeWidget* lvPosCity = nullptr;
    QTreeWidget* lvAdrsCity = nullptr;
    QTreeWidget* lvTelTown = nullptr;
    QTreeWidget* lvPosTown = nullptr;
    QTreeWidget* lvAdrsTown = nullptr;
    QComboBox* cbxTelViewKana = nullptr;
    QComboBox* cbxPosViewKana = nullptr;
    QComboBox* cbxAdrsViewKana = nullptr;
    QRadioButton* rbPosViewTown = nullptr;
    QRadioButton* rbPosViewOhguchi = nullptr;
    QRadioButton* rbAdrsViewTown = nullptr;
    QRadioButton* rbAdrsViewOhguchi = nullptr;
    QLabel* lblTelList1 = nullptr;
    QLabel* lblTelList2 = nullptr;
    QLabel* pnlSchTel = nullptr;
    QLabel* pnlSchKey = nullptr;
    QTreeWidget* lvTelList = nullptr;
    QPushButton* btnPrior = nullptr;
    QPushButton* btnDecision = nullptr;
    QPushButton* btnCancel = nullptr;
};

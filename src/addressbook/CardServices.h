// What the record card needs of the program around it: the data module, the address list's services and
// the windows of other parts of the program that its buttons open.
#pragma once

#include "addressbook/CardListSource.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Table;
class THistoryData;
class TDataInquiry;

// The six input lists, in the order of the list editor's tabs and of the card's list buttons.
enum TInputListKind {
    ilDptmnt = 0,
    ilPost = 1,
    ilHonor = 2,
    ilKeyword1 = 3,
    ilKeyword2 = 4,
    ilKeyword3 = 5,
};
inline constexpr int InputListCount = 6;

// The data module as the card and the list editor use it: the shared Adrs.DB table object and the input
// histories.
class TCardDataModule
{
public:
    virtual ~TCardDataModule() = default;
    virtual Table& AdrsTable() = 0;
    // Null when that list is not loaded.
    virtual THistoryData* InputHistory(TInputListKind kind) = 0;
};

// The data module of the run (DMQuenrid215) seen as the card's data module.
TCardDataModule& ModuleCardData();

struct TCardSender
{
    QString title;
    qint32 recNo = 0;
};

// The address list as the card's owner: reloading and selecting rows after a save, telling the designer
// windows, and the sender list.
class TCardAddressBook : public TCardListSource
{
public:
    virtual void RefreshList(bool rebuildColumns, bool reload, bool keepScroll) = 0;
    virtual int IndexOfRecNo(qint32 recNo) const = 0; // -1 when the list does not show it
    virtual void SelectIndex(int index, bool scroll) = 0;
    virtual bool ReadRecordAt(int index, TAdrsDataRec& rec) = 0;
    // A row by its RecNo, also one the list does not show.
    virtual bool ReadAddressRecord(qint32 recNo, TAdrsDataRec& rec) = 0;
    virtual void NotifyRecordsEdited(const QList<qint32>& recNos) = 0;
    virtual void NotifyRecordsDeleted(const QList<qint32>& recNos) = 0;
    virtual QList<TCardSender> Senders() const = 0;
    // The list's group-name action; false when it is not available.
    virtual bool EditGroupNames() { return false; }
};

// Windows of other parts of the program that the card's buttons open. A button whose service is not
// registered stays disabled.
enum class TCardService {
    TelLookup,     // bbtnTelSch and the lookup of a new record
    PosLookup,     // bbtnPosSch
    AdrsLookup,    // bbtnAdrsSearch
    JisCodeLookup, // bbtnGetJisCode
    Map,           // bbtnMap
    QRMap,         // bbtnQRMap
    Route,         // bbtnRoot
    WebSearch,     // bbtnWebSearch: the web search window, given TDataInquiry::WebSearchWord()
    GetURL,        // bbtnGetURL
    OpenURL,       // bbtnOpenURL
    Mail,          // bbtnEMail1, bbtnEMail2 (argument: 1 or 2)
    AddExtLink, // "URLを登録" of bbtnAddExtLink: the URL entry window; hands an accepted URL, trimmed, to
                // TDataInquiry::AddExtLink
};
inline constexpr int CardServiceCount = int(TCardService::AddExtLink) + 1;

using TCardServiceFactory = std::function<void(TDataInquiry& card, int argument)>;

// Registers (or with an empty function removes) the opener of a service.
void RegisterCardService(TCardService service, TCardServiceFactory factory);
bool HasCardService(TCardService service);
// Runs the registered opener; false when none is registered.
bool RunCardService(TCardService service, TDataInquiry& card, int argument = 0);

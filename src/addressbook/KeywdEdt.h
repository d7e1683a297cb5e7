// Keyword item names and input modes ("AdrsList.ini" [KEYWORD]) and their dialog; the shared twin dialog of
// the named items.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class QComboBox;
class QLineEdit;
class QPushButton;
class TMemIniFile;

inline constexpr int KeywordCount = 8;

// Captions and input-method modes of Keyword1 to Keyword8, shared by every window that shows them.
extern QStringList KeywordNames;
extern QList<uint8_t> KeywordInputModes;

// "AdrsList.ini" in DataFolder: one file for every address book.
QString AdrsListIniPath();

// The five input-method modes the dialogs offer, in the order of their drop-downs.
struct TInputModeChoice
{
    QString text;
    uint8_t code;
};
const QList<TInputModeChoice>& InputModeChoices();
// A stored mode that is not one of the five reads as hiragana (6).
uint8_t ValidInputMode(int value);

// One family of user-named items: the keywords or the protected memos.
struct TNamedItemKind
{
    QString section;       // INI section
    QString defaultWord;   // default name: this word and the item number in full-width digits
    QString messageWord;   // word of the "not entered" message
    QString componentWord; // edtXxxN, cbxXxxN
    QString caption;
    int helpContext;
    int count;
    QStringList* names;
    QList<uint8_t>* modes;
};
const TNamedItemKind& KeywordItemKind();

QString FullWidthNumber(int number);
QString DefaultItemName(const TNamedItemKind& kind, int number);
// Fills the kind's globals from ini: an empty name takes the default, a bad mode reads as 6.
void ReadNamedItems(const TNamedItemKind& kind, const TMemIniFile& ini);
// Writes every name and mode of the kind's globals into ini.
void WriteNamedItems(const TNamedItemKind& kind, TMemIniFile& ini);
// Both families at once, as the address list's view settings reader does.
void ReadItemNameSettings(const TMemIniFile& ini);

// What OK of a named-item dialog does with the typed names and chosen modes.
struct TNamedItemsResult
{
    int emptyItem = 0; // 1-based number of the first empty name; 0 when none
    QString error;     // the settings file could not be written: nothing was changed
    bool namesChanged = false;
    bool modesChanged = false;
};
// Trims the names; when none is empty, replaces the globals and writes all of them into iniPath.
TNamedItemsResult StoreNamedItems(const TNamedItemKind& kind, const QStringList& names,
                                  const QList<uint8_t>& modes, const QString& iniPath);

// The dialog shared by the keyword and protected-memo names.
class TNamedItemsEdit : public QDialog
{
    Q_OBJECT
public:
    TNamedItemsEdit(QWidget* owner, const TNamedItemKind& kind);

    bool NamesChanged = false;
    bool ModesChanged = false;

    void btnOkClick();

    QLineEdit* NameEdit(int item) const { return m_edits[item]; }
    QComboBox* ModeCombo(int item) const { return m_combos[item]; }

private:
    const TNamedItemKind& m_kind;
    QList<QLineEdit*> m_edits;
    QList<QComboBox*> m_combos;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};

class TKeywordEdit : public TNamedItemsEdit
{
    Q_OBJECT
public:
    explicit TKeywordEdit(QWidget* owner) : TNamedItemsEdit(owner, KeywordItemKind()) {}
};

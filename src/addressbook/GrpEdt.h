// The ten group names of the open address book, their file "Group.dat" and the dialog that edits them.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class QLineEdit;
class QPushButton;

inline constexpr int GroupCount = 10;
inline constexpr int GroupNameBytes = 20;
inline const QString GroupFileName = QStringLiteral("Group.dat");

// Entry 0 "指定なし", entries 1 to 10 the names of the open book's groups.
extern QStringList GroupNames;

QString DefaultGroupName(int number);
// The open book's "Group.dat" (the book at CurrentAdrsIndex); empty when no book is open.
QString CurrentGroupFilePath();
// Fills GroupNames from fileName: a missing or empty key takes its default, every name is cut to 20 bytes.
void LoadGroupFile(const QString& fileName);
// Writes GroupNames 1 to 10 into fileName (all ten keys); false with the reason in *error on failure.
bool WriteGroupFile(const QString& fileName, QString* error = nullptr);

// What OK of the group dialog does with the typed names.
struct TGroupNamesResult
{
    int emptyItem = 0; // 1-based number of the first empty name
    int sameItem = 0;  // 1-based number of the later name of the first equal pair
    QString error;     // "Group.dat" could not be written: nothing was changed
    bool changed = false;
};
TGroupNamesResult StoreGroupNames(const QStringList& names, const QString& fileName);

class TGruopEdit : public QDialog
{
    Q_OBJECT
public:
    // Centred over other: the address list or the record card, whichever is active.
    explicit TGruopEdit(QWidget* owner, QWidget* other = nullptr);

    uint8_t GroupsChanged = 0;

    void btnOkClick();
    // Writes GroupNames 1 to 10 into the open book's "Group.dat".
    bool SaveGroupFile(QString* error = nullptr);

    QLineEdit* GroupEdit(int index) const { return m_edits[index]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<QLineEdit*> m_edits;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};

// Protected-memo item names and input modes ("AdrsList.ini" [PROTECT MEMO]) and their dialog.
#pragma once

#include "addressbook/KeywdEdt.h"

inline constexpr int ProtectMemoCount = 10;

// Captions and input-method modes of ProtectMemo1 to ProtectMemo10.
extern QStringList ProtectMemoNames;
extern QList<uint8_t> ProtectMemoInputModes;

const TNamedItemKind& ProtectMemoItemKind();

class TProtectMemoEdit : public TNamedItemsEdit
{
    Q_OBJECT
public:
    explicit TProtectMemoEdit(QWidget* owner) : TNamedItemsEdit(owner, ProtectMemoItemKind()) {}
};

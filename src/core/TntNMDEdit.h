// Unicode name edit that copies the reading typed through the input method into a reading edit.
#pragma once

#include "core/NMDEdit.h"

class TTntNMDEdit : public QLineEdit, public TNMDBehaviour
{
    Q_OBJECT
public:
    explicit TTntNMDEdit(QWidget* parent = nullptr);
    ~TTntNMDEdit() override;

    // Puts a name chosen from the candidate popup into the edit and its reading into the associate
    // (the other way round for a kana edit).
    void InsertWordAndReading(const QString& word, const QString& reading, TNameDicKind kind);

    // A limit in CP932 bytes besides maxLength() (0: none), for an edit whose text is stored in a byte
    // field: typing, pasting and the copied reading stop at it. Input-method text may run past it; the
    // owner checks the length before storing.
    int ByteLimit() const;
    void SetByteLimit(int bytes);

protected:
    QWidget* NMDWidget() override { return this; }
    QLineEdit* NMDEditPart() const override { return const_cast<TTntNMDEdit*>(this); }
    QString NMDKindText() const override;
    bool NMDReadingUsable(int bytes) const override { return bytes > 0 && bytes < 30; }
    bool NMDShow(const QInputMethodEvent& e) const override;
    bool NMDAnsiAssociate() const override { return false; }

    bool event(QEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

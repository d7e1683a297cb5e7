// Name edits that copy the reading typed through the input method into a reading edit (CP932 text).
#pragma once

#include "core/PrivateMessages.h"

#include "platform/Cp932.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

#include <functional>

class QInputMethodEvent;
class QKeyEvent;


enum TInputKind { itKana, itKanji };

// Dynamic property of a line edit: a limit of its text in CP932 bytes that holds besides maxLength().
inline constexpr const char* NMDByteLimitProperty = "byteLimit";
enum TNameDicKind { nkLineage, nkFirst };

using TConvertNeedEvent =
    std::function<void(QWidget* Sender, TNameDicKind Kind, bool Show, const QString& Value)>;
// Key is a Qt::Key code; setting Result tells the edit that the owner has used the key.
using TConvertKeyDownEvent = std::function<void(QWidget* Sender, int& Key, bool& Result)>;

namespace NMDReading {

// A reading from the input method as half-width katakana in CP932: hiragana and full-width forms become
// half-width; for the reading of a finished conversion every remaining double-byte character is dropped.
// Characters CP932 cannot hold are dropped.
AnsiString ConvertReading(const QString& reading, bool finished);

// Whether the converted composition reading R warrants telling the owner now. With romaji input a reading
// that ends in a Latin letter is still being typed; romajiPending carries that across readings.
bool NeedPost(const AnsiString& R, bool& romajiPending);

// Whether every character of the preedit is input the user has not converted yet: no kanji and no
// highlighted (conversion target) segment.
bool IsUnconverted(const QInputMethodEvent& e, int position);

// Characters of text that fit in the first `bytes` CP932 bytes (a character cut in two is not counted).
int CharsForBytes(const QString& text, int bytes);

} // namespace NMDReading

// The input-method watching shared by the three reading-copy edits. The widget forwards its events here;
// the hooks tell the differences between the controls.
class TNMDBehaviour
{
public:
    virtual ~TNMDBehaviour() = default;

    TInputKind InputType() const { return m_inputType; }
    void SetInputType(TInputKind kind) { m_inputType = kind; }
    QLineEdit* Associate() const { return m_associate; }
    void SetAssociate(QLineEdit* edit);

    TConvertNeedEvent OnConvertNeed;
    TConvertKeyDownEvent OnConvertKeyDown;

    // Read-only view of the state, for the owner's tests and diagnostics.
    TNameDicKind NameKind() const { return m_nameKind; }
    bool RomajiPending() const { return m_romajiPending; }
    bool Composing() const { return m_composing; }
    AnsiString Reading() const { return m_reading; }

protected:
    // Hooks.
    virtual QWidget* NMDWidget() = 0;
    virtual QLineEdit* NMDEditPart() const = 0;
    // Whether the behaviour is on (the combo box only in its editable style).
    virtual bool NMDActive() const { return true; }
    // The text before the caret that decides between surname and given name.
    virtual QString NMDKindText() const = 0;
    virtual bool NMDReadingUsable(int bytes) const { return bytes < 30; }
    virtual bool NMDShow(const QInputMethodEvent& e) const;
    // Whether the copy emptied the associate first when a blank separates names (the edits only).
    virtual bool NMDSpaceNeedsEnded() const { return true; }
    // Whether the associate's maximum length counts CP932 bytes (else characters).
    virtual bool NMDAnsiAssociate() const { return true; }

    // Entry points for the widget. The input-method event is passed to base, the widget's own handling.
    void NMDInputMethodEvent(QInputMethodEvent* e, const std::function<void(QInputMethodEvent*)>& base);
    // True when the key was used and must not be dispatched.
    bool NMDKeyPress(QKeyEvent* e);
    void NMDFocusOut(const std::function<void(QInputMethodEvent*)>& base);
    void NMDTextChanged(const QString& text);
    void NMDConvertNeedArrived();
    void NMDDestroying();

    void CancelComposition(const std::function<void(QInputMethodEvent*)>& base);
    void RaiseConvertNeed(bool show, const QString& value);
    bool ReplacesWholeText() const;
    void CutToMaxLength(QLineEdit* edit, bool ansi) const;

private:
    void compositionStart();
    void compositionChange(const QInputMethodEvent& e);
    void compositionEnd(const QString& resultReading, bool replaceAll);
    void appendToAssociate(const QString& text, bool replaceAll);

    QPointer<QLineEdit> m_associate;
    TInputKind m_inputType = itKanji;
    TNameDicKind m_nameKind = nkLineage;
    bool m_romajiPending = false;
    bool m_show = false;
    AnsiString m_reading;
    bool m_spacePressed = false;
    bool m_compositionEnded = true;
    bool m_composing = false;
    // The last preedit that was still unconverted: the reading of the composition.
    QString m_kanaPreedit;
    bool m_sawPreedit = false;
};

// Single-line name edit over CP932 text. Its maxLength() counts CP932 bytes: typing and pasting stop at it;
// input-method text may go beyond it and is cut when the edit loses the focus.
class TNMDEdit : public QLineEdit, public TNMDBehaviour
{
    Q_OBJECT
public:
    explicit TNMDEdit(QWidget* parent = nullptr);
    ~TNMDEdit() override;

    // Byte positions of the selection in the CP932 text.
    int XPSelStart() const;
    void SetXPSelStart(int bytes);
    int XPSelLength() const;
    void SetXPSelLength(int bytes);

    AnsiString AnsiText() const { return ToAnsi(text()); }

protected:
    QWidget* NMDWidget() override { return this; }
    QLineEdit* NMDEditPart() const override { return const_cast<TNMDEdit*>(this); }
    QString NMDKindText() const override;

    bool event(QEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

// Drop-down name combo box over CP932 text; it watches the input method only while editable.
class TNMDComboBox : public QComboBox, public TNMDBehaviour
{
    Q_OBJECT
public:
    explicit TNMDComboBox(QWidget* parent = nullptr);
    ~TNMDComboBox() override;

    int XPSelStart() const;
    void SetXPSelStart(int bytes);
    int XPSelLength() const;
    void SetXPSelLength(int bytes);
    // Byte limit of the edit part (0: none).
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int bytes);

protected:
    QWidget* NMDWidget() override { return this; }
    QLineEdit* NMDEditPart() const override { return lineEdit(); }
    bool NMDActive() const override { return isEditable() && lineEdit(); }
    QString NMDKindText() const override;
    bool NMDReadingUsable(int bytes) const override { return bytes < 20; }
    bool NMDSpaceNeedsEnded() const override { return false; }

    bool event(QEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void attachEdit();
    int m_maxLength = 0;
};

// Byte positions and byte limits over any line edit holding CP932 text.
namespace NMDPositions {
int SelStartBytes(const QLineEdit* edit);
int SelLengthBytes(const QLineEdit* edit);
void SetSelStartBytes(QLineEdit* edit, int bytes);
void SetSelLengthBytes(QLineEdit* edit, int bytes);
// True when a typed key's text would take the edit beyond maxBytes (0: no limit).
bool KeyExceedsLimit(const QLineEdit* edit, int maxBytes, const QKeyEvent* e);
// Replaces the selection by as much of text as fits in maxBytes; false when nothing fitted.
bool InsertLimited(QLineEdit* edit, int maxBytes, const QString& text);
// Cuts the text to maxBytes on a character boundary.
void CutToBytes(QLineEdit* edit, int maxBytes);
} // namespace NMDPositions

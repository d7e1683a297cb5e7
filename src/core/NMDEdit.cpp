// Reading-copy edits: the input method's reading goes, as half-width katakana, into a reading edit.
#include "core/NMDEdit.h"

#include "core/KanaConv.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextFormat>

namespace {

constexpr int NoLimit = 32767; // QLineEdit's default maximum length

// Removes the control characters and blanks at both ends, as the byte-string trim does (a full-width
// blank is kept: it separates surname and given name).
QString trimLow(const QString& s)
{
    int b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= ' ')
        --e;
    return s.mid(b, e - b);
}

bool isBlanks(const QString& s)
{
    for (QChar c : s)
        if (c != QLatin1Char(' ') && c != QChar(0x3000))
            return false;
    return !s.isEmpty();
}

bool isLatin(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int selStartChars(const QLineEdit* edit)
{
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

namespace NMDReading {

AnsiString ConvertReading(const QString& reading, bool finished)
{
    const QString half = KanaConv::ToHalfWidth(KanaConv::HiraganaToHalfKatakana(reading));
    AnsiString out;
    for (int i = 0; i < half.size();) {
        const int len = (half[i].isHighSurrogate() && i + 1 < half.size()) ? 2 : 1;
        const QString ch = half.mid(i, len);
        i += len;
        if (!Cp932::canEncode(ch))
            continue;
        const QByteArray bytes = Cp932::fromUnicode(ch);
        if (finished && bytes.size() > 1)
            continue;
        out += bytes;
    }
    return out;
}

bool NeedPost(const AnsiString& R, bool& romajiPending)
{
    const int n = int(R.size());
    if (n == 0)
        return false;
    // A double-byte character at the end is no letter, whatever its trail byte looks like.
    if (Cp932::isTrailByteAt(R, n - 1)) {
        romajiPending = false;
        return true;
    }
    const auto c = static_cast<unsigned char>(R[n - 1]);
    const unsigned char p = n >= 2 ? static_cast<unsigned char>(R[n - 2]) : 0;
    const unsigned char q = n >= 3 ? static_cast<unsigned char>(R[n - 3]) : 0;
    const auto isOneOf = [](unsigned char ch, const char* set) { return ch && std::strchr(set, ch); };

    bool post;
    if (romajiPending && n > 1) {
        if (c == 'h') {
            if (isOneOf(p, "cstw"))
                post = false;
            else if (p == 'h')
                post = q == 'h';
            else
                post = true;
        } else if (c == 't') {
            if (p == 'l')
                post = false;
            else if (p == 't')
                post = q == 't';
            else
                post = true;
        } else if (c == 'y') {
            if (isOneOf(p, "aeiouvw"))
                post = true;
            else if (p == 'y')
                post = q == 'y';
            else
                post = false;
        } else if (c >= 0xAC && c <= 0xDF) {
            post = true;
        } else {
            post = c != p || q == c;
        }
    } else {
        if (isLatin(c)) {
            romajiPending = true;
            return false;
        }
        post = true;
    }
    if (post)
        romajiPending = false;
    return post;
}

bool IsUnconverted(const QInputMethodEvent& e, int position)
{
    const QString preedit = e.preeditString();
    if (position < 0 || position >= preedit.size())
        return false;
    if (preedit[position].script() == QChar::Script_Han)
        return false;
    // The segment being converted is the highlighted one.
    for (const QInputMethodEvent::Attribute& a : e.attributes()) {
        if (a.type != QInputMethodEvent::TextFormat || position < a.start || position >= a.start + a.length)
            continue;
        const QTextFormat format = a.value.value<QTextFormat>();
        if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
            return false;
    }
    return true;
}

int CharsForBytes(const QString& text, int bytes)
{
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        const int len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const int size = Cp932::byteLength(text.mid(i, len));
        if (used + size > bytes)
            break;
        used += size;
        i += len;
    }
    return i;
}

} // namespace NMDReading

// ---------------------------------------------------------------------------------------------------------

namespace NMDPositions {

int SelStartBytes(const QLineEdit* edit)
{
    return Cp932::byteLength(edit->text().left(selStartChars(edit)));
}

int SelLengthBytes(const QLineEdit* edit)
{
    return Cp932::byteLength(edit->selectedText());
}

void SetSelStartBytes(QLineEdit* edit, int bytes)
{
    edit->setCursorPosition(NMDReading::CharsForBytes(edit->text(), std::max(0, bytes)));
}

void SetSelLengthBytes(QLineEdit* edit, int bytes)
{
    const int start = selStartChars(edit);
    const int count = NMDReading::CharsForBytes(edit->text().mid(start), std::max(0, bytes));
    edit->setSelection(start, count);
}

bool KeyExceedsLimit(const QLineEdit* edit, int maxBytes, const QKeyEvent* e)
{
    if (maxBytes <= 0 || maxBytes >= NoLimit || edit->isReadOnly())
        return false;
    const QString typed = e->text();
    if (typed.isEmpty() || typed[0].unicode() < ' ' || typed[0].unicode() == 0x7F)
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const int kept = Cp932::byteLength(edit->text()) - Cp932::byteLength(edit->selectedText());
    return kept + Cp932::byteLength(typed) > maxBytes;
}

bool InsertLimited(QLineEdit* edit, int maxBytes, const QString& text)
{
    QString piece = text;
    piece.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    if (maxBytes > 0 && maxBytes < NoLimit) {
        const int kept = Cp932::byteLength(edit->text()) - Cp932::byteLength(edit->selectedText());
        piece = Cp932::cutToBytes(piece, std::max(0, maxBytes - kept));
    }
    if (piece.isEmpty())
        return false;
    edit->insert(piece);
    return true;
}

void CutToBytes(QLineEdit* edit, int maxBytes)
{
    if (maxBytes <= 0 || maxBytes >= NoLimit)
        return;
    if (Cp932::byteLength(edit->text()) > maxBytes)
        edit->setText(Cp932::cutToBytes(edit->text(), maxBytes));
}

} // namespace NMDPositions

// ---------------------------------------------------------------------------------------------------------
// TNMDBehaviour

void TNMDBehaviour::SetAssociate(QLineEdit* edit)
{
    if (edit && edit == NMDEditPart())
        return;
    if (edit && static_cast<QWidget*>(edit) == NMDWidget())
        return;
    m_associate = edit;
}

bool TNMDBehaviour::NMDShow(const QInputMethodEvent& e) const
{
    return NMDReading::IsUnconverted(e, 0);
}

bool TNMDBehaviour::ReplacesWholeText() const
{
    const QLineEdit* edit = NMDEditPart();
    if (!edit)
        return false;
    const QString text = edit->text();
    return text.isEmpty() || (edit->hasSelectedText() && edit->selectedText().size() == text.size());
}

void TNMDBehaviour::CutToMaxLength(QLineEdit* edit, bool ansi) const
{
    if (!edit)
        return;
    if (const int bytes = edit->property(NMDByteLimitProperty).toInt(); bytes > 0)
        NMDPositions::CutToBytes(edit, bytes);
    if (edit->maxLength() >= NoLimit)
        return;
    if (ansi)
        NMDPositions::CutToBytes(edit, edit->maxLength());
    else if (edit->text().size() > edit->maxLength())
        edit->setText(edit->text().left(edit->maxLength()));
}

void TNMDBehaviour::RaiseConvertNeed(bool show, const QString& value)
{
    if (OnConvertNeed)
        OnConvertNeed(NMDWidget(), m_nameKind, show, value);
}

void TNMDBehaviour::NMDInputMethodEvent(QInputMethodEvent* e,
                                        const std::function<void(QInputMethodEvent*)>& base)
{
    if (!NMDActive()) {
        base(e);
        return;
    }
    const QString preedit = e->preeditString();
    const QString commit = e->commitString();

    if (!m_composing) {
        if (preedit.isEmpty()) {
            if (commit.isEmpty()) {
                base(e);
                return;
            }
            if (isBlanks(commit)) {
                // A blank typed outside a composition separates the names in the reading as well.
                base(e);
                m_spacePressed = true;
                compositionChange(*e);
                return;
            }
            // Text committed without a preedit: a whole composition in one step.
            compositionStart();
            const bool replaceAll = ReplacesWholeText();
            base(e);
            compositionEnd(commit, replaceAll);
            return;
        }
        // The kind and the whole-text test look at the text before the preedit replaces the selection.
        compositionStart();
        base(e);
        compositionChange(*e);
        return;
    }

    if (!commit.isEmpty() || preedit.isEmpty()) {
        const bool replaceAll = ReplacesWholeText();
        QString reading;
        if (!commit.isEmpty())
            reading = m_sawPreedit ? m_kanaPreedit : commit;
        base(e);
        compositionEnd(reading, replaceAll);
        if (!preedit.isEmpty()) {
            compositionStart();
            compositionChange(*e);
        }
        return;
    }
    base(e);
    compositionChange(*e);
}

void TNMDBehaviour::compositionStart()
{
    m_nameKind = trimLow(NMDKindText()).isEmpty() ? nkLineage : nkFirst;
    m_romajiPending = false;
    m_compositionEnded = false;
    m_composing = true;
    m_kanaPreedit.clear();
    m_sawPreedit = false;
}

void TNMDBehaviour::compositionChange(const QInputMethodEvent& e)
{
    const QString preedit = e.preeditString();
    bool unconverted = !preedit.isEmpty();
    for (int i = 0; unconverted && i < preedit.size(); ++i)
        unconverted = NMDReading::IsUnconverted(e, i);
    // While the preedit is still kana it is the reading; once converted, the last kana preedit is.
    if (unconverted) {
        m_kanaPreedit = preedit;
        m_sawPreedit = true;
    }
    const QString reading = m_composing ? m_kanaPreedit : QString();
    const int bytes = Cp932::byteLength(reading);
    if (bytes > 0) {
        if (NMDReadingUsable(bytes)) {
            m_show = NMDShow(e);
            m_reading = NMDReading::ConvertReading(reading, false);
            if (!m_reading.isEmpty() && NMDReading::NeedPost(m_reading, m_romajiPending))
                QCoreApplication::postEvent(NMDWidget(), new QEvent(MsgConvertNeed));
        }
    } else if (m_spacePressed && (!NMDSpaceNeedsEnded() || m_compositionEnded) && m_inputType == itKanji &&
               m_associate) {
        appendToAssociate(QStringLiteral(" "), false);
    }
    m_spacePressed = false;
}

void TNMDBehaviour::compositionEnd(const QString& resultReading, bool replaceAll)
{
    RaiseConvertNeed(false, QString());
    if (m_inputType == itKanji && m_associate)
        appendToAssociate(ToWide(NMDReading::ConvertReading(resultReading, true)), replaceAll);
    m_compositionEnded = true;
    m_composing = false;
    m_kanaPreedit.clear();
    m_sawPreedit = false;
}

void TNMDBehaviour::appendToAssociate(const QString& text, bool replaceAll)
{
    QLineEdit* associate = m_associate;
    if (!associate)
        return;
    associate->setText((replaceAll ? QString() : associate->text()) + text);
    CutToMaxLength(associate, NMDAnsiAssociate());
}

bool TNMDBehaviour::NMDKeyPress(QKeyEvent* e)
{
    if (!NMDActive() || !m_composing)
        return false;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        int key = e->key();
        bool result = false;
        if (OnConvertKeyDown)
            OnConvertKeyDown(NMDWidget(), key, result);
        if (result) {
            e->accept();
            return true;
        }
        return false;
    }
    case Qt::Key_Space:
        m_spacePressed = true;
        return false;
    default:
        return false;
    }
}

void TNMDBehaviour::CancelComposition(const std::function<void(QInputMethodEvent*)>& base)
{
    if (!m_composing)
        return;
    QGuiApplication::inputMethod()->reset();
    if (!m_composing)
        return;
    // The input method may not tell us; drop the preedit ourselves.
    const bool replaceAll = ReplacesWholeText();
    QInputMethodEvent clear;
    base(&clear);
    compositionEnd(QString(), replaceAll);
}

void TNMDBehaviour::NMDFocusOut(const std::function<void(QInputMethodEvent*)>& base)
{
    if (!NMDActive())
        return;
    RaiseConvertNeed(false, QString());
    CancelComposition(base);
}

void TNMDBehaviour::NMDTextChanged(const QString& text)
{
    if (NMDActive() && text.isEmpty() && m_inputType == itKanji && m_associate)
        m_associate->clear();
}

void TNMDBehaviour::NMDConvertNeedArrived()
{
    RaiseConvertNeed(m_show, ToWide(m_reading));
}

void TNMDBehaviour::NMDDestroying()
{
    // A parent deleting its children has already taken each child out of its list: the owner window is
    // going away and its handler must not be called any more.
    const QObject* parent = NMDWidget()->parent();
    if (parent && !parent->children().contains(NMDWidget()))
        return;
    RaiseConvertNeed(false, QString());
}

// ---------------------------------------------------------------------------------------------------------
// TNMDEdit

TNMDEdit::TNMDEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { NMDTextChanged(t); });
}

TNMDEdit::~TNMDEdit()
{
    NMDDestroying();
}

int TNMDEdit::XPSelStart() const
{
    return NMDPositions::SelStartBytes(this);
}

void TNMDEdit::SetXPSelStart(int bytes)
{
    NMDPositions::SetSelStartBytes(this, bytes);
}

int TNMDEdit::XPSelLength() const
{
    return NMDPositions::SelLengthBytes(this);
}

void TNMDEdit::SetXPSelLength(int bytes)
{
    NMDPositions::SetSelLengthBytes(this, bytes);
}

QString TNMDEdit::NMDKindText() const
{
    return ToWide(AnsiText().left(XPSelStart()));
}

bool TNMDEdit::event(QEvent* e)
{
    if (e->type() == MsgConvertNeed) {
        NMDConvertNeedArrived();
        return true;
    }
    return QLineEdit::event(e);
}

void TNMDEdit::inputMethodEvent(QInputMethodEvent* e)
{
    NMDInputMethodEvent(e, [this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
}

void TNMDEdit::keyPressEvent(QKeyEvent* e)
{
    if (NMDKeyPress(e))
        return;
    if (e->matches(QKeySequence::Paste) && !isReadOnly()) {
        if (!NMDPositions::InsertLimited(this, maxLength(), QGuiApplication::clipboard()->text()))
            QApplication::beep();
        return;
    }
    if (NMDPositions::KeyExceedsLimit(this, maxLength(), e)) {
        QApplication::beep();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TNMDEdit::focusOutEvent(QFocusEvent* e)
{
    NMDFocusOut([this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
    NMDPositions::CutToBytes(this, maxLength());
    QLineEdit::focusOutEvent(e);
}

void TNMDEdit::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    // Pasting through the menu keeps to the byte limit as typing does.
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] {
            NMDPositions::InsertLimited(this, maxLength(), QGuiApplication::clipboard()->text());
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TNMDEdit::dropEvent(QDropEvent* e)
{
    if (!e->mimeData()->hasText() || isReadOnly()) {
        QLineEdit::dropEvent(e);
        return;
    }
    const int position = cursorPositionAt(e->position().toPoint());
    deselect();
    setCursorPosition(position);
    NMDPositions::InsertLimited(this, maxLength(), e->mimeData()->text());
    e->acceptProposedAction();
}

// ---------------------------------------------------------------------------------------------------------
// TNMDComboBox

TNMDComboBox::TNMDComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    connect(this, &QComboBox::editTextChanged, this, [this](const QString& t) { NMDTextChanged(t); });
}

TNMDComboBox::~TNMDComboBox()
{
    NMDDestroying();
}

int TNMDComboBox::XPSelStart() const
{
    return lineEdit() ? NMDPositions::SelStartBytes(lineEdit()) : 0;
}

void TNMDComboBox::SetXPSelStart(int bytes)
{
    if (lineEdit())
        NMDPositions::SetSelStartBytes(lineEdit(), bytes);
}

int TNMDComboBox::XPSelLength() const
{
    return lineEdit() ? NMDPositions::SelLengthBytes(lineEdit()) : 0;
}

void TNMDComboBox::SetXPSelLength(int bytes)
{
    if (lineEdit())
        NMDPositions::SetSelLengthBytes(lineEdit(), bytes);
}

void TNMDComboBox::SetMaxLength(int bytes)
{
    m_maxLength = std::max(0, bytes);
    attachEdit();
}

void TNMDComboBox::attachEdit()
{
    if (lineEdit() && m_maxLength > 0)
        lineEdit()->setMaxLength(m_maxLength);
}

QString TNMDComboBox::NMDKindText() const
{
    AnsiString before = ToAnsi(currentText()).left(XPSelStart());
    before.chop(1);
    return ToWide(before);
}

bool TNMDComboBox::event(QEvent* e)
{
    if (e->type() == MsgConvertNeed) {
        NMDConvertNeedArrived();
        return true;
    }
    if (e->type() == QEvent::ChildAdded)
        QMetaObject::invokeMethod(this, &TNMDComboBox::attachEdit, Qt::QueuedConnection);
    return QComboBox::event(e);
}

void TNMDComboBox::inputMethodEvent(QInputMethodEvent* e)
{
    NMDInputMethodEvent(e, [this](QInputMethodEvent* ev) { QComboBox::inputMethodEvent(ev); });
}

void TNMDComboBox::keyPressEvent(QKeyEvent* e)
{
    if (NMDKeyPress(e))
        return;
    if (NMDActive() && !lineEdit()->isReadOnly()) {
        if (e->matches(QKeySequence::Paste)) {
            if (!NMDPositions::InsertLimited(lineEdit(), m_maxLength, QGuiApplication::clipboard()->text()))
                QApplication::beep();
            return;
        }
        if (NMDPositions::KeyExceedsLimit(lineEdit(), m_maxLength, e)) {
            QApplication::beep();
            e->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(e);
}

void TNMDComboBox::focusOutEvent(QFocusEvent* e)
{
    NMDFocusOut([this](QInputMethodEvent* ev) { QComboBox::inputMethodEvent(ev); });
    if (NMDActive())
        NMDPositions::CutToBytes(lineEdit(), m_maxLength);
    QComboBox::focusOutEvent(e);
}

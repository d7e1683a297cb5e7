// Unicode reading-copy edit and the insertion of a name chosen from the candidate popup.
#include "core/TntNMDEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

TTntNMDEdit::TTntNMDEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { NMDTextChanged(t); });
}

TTntNMDEdit::~TTntNMDEdit()
{
    NMDDestroying();
}

QString TTntNMDEdit::NMDKindText() const
{
    return text().left(hasSelectedText() ? selectionStart() : cursorPosition());
}

bool TTntNMDEdit::NMDShow(const QInputMethodEvent& e) const
{
    const int size = int(e.preeditString().size());
    for (int i = 0; i < size; ++i)
        if (!NMDReading::IsUnconverted(e, i))
            return false;
    return size > 0;
}

bool TTntNMDEdit::event(QEvent* e)
{
    if (e->type() == MsgConvertNeed) {
        NMDConvertNeedArrived();
        return true;
    }
    return QLineEdit::event(e);
}

void TTntNMDEdit::inputMethodEvent(QInputMethodEvent* e)
{
    NMDInputMethodEvent(e, [this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
}

int TTntNMDEdit::ByteLimit() const
{
    return property(NMDByteLimitProperty).toInt();
}

void TTntNMDEdit::SetByteLimit(int bytes)
{
    setProperty(NMDByteLimitProperty, bytes > 0 ? bytes : QVariant());
}

void TTntNMDEdit::keyPressEvent(QKeyEvent* e)
{
    if (NMDKeyPress(e))
        return;
    if (const int limit = ByteLimit(); limit > 0 && !isReadOnly()) {
        if (e->matches(QKeySequence::Paste)) {
            if (!NMDPositions::InsertLimited(this, std::min(limit, maxLength()),
                                             QGuiApplication::clipboard()->text()))
                QApplication::beep();
            return;
        }
        if (NMDPositions::KeyExceedsLimit(this, limit, e)) {
            QApplication::beep();
            e->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void TTntNMDEdit::focusOutEvent(QFocusEvent* e)
{
    NMDFocusOut([this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
    QLineEdit::focusOutEvent(e);
}

void TTntNMDEdit::InsertWordAndReading(const QString& word, const QString& reading, TNameDicKind kind)
{
    CancelComposition([this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });

    QString w = word;
    QString r = reading;
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    if (kind == nkLineage && caret == 0) {
        w += QChar(0x3000);
        r += QLatin1Char(' ');
    }
    const bool replaceAll = ReplacesWholeText();
    QLineEdit* associate = Associate();
    if (InputType() == itKanji) {
        if (associate)
            associate->setText((replaceAll ? QString() : associate->text()) + r);
        insert(w);
    } else {
        if (associate) {
            if (replaceAll) {
                associate->clear();
                clear();
            }
            associate->setText(associate->text() + w);
        }
        insert(r);
    }
    CutToMaxLength(this, false);
    CutToMaxLength(associate, false);
    end(false);
}

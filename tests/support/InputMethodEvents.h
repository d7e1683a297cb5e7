// Synthetic input-method events for widget tests: preedit (unconverted or being converted) and commits.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>

namespace TestIme {

// A preedit as input methods send it: underlined while unconverted, highlighted once converted.
inline void Preedit(QWidget* w, const QString& text, bool converted = false)
{
    QTextCharFormat format;
    format.setFontUnderline(true);
    if (converted)
        format.setBackground(QColor(Qt::darkBlue));
    QList<QInputMethodEvent::Attribute> attributes;
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, int(text.size()), format);
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(text.size()), 1, QVariant());
    QInputMethodEvent e(text, attributes);
    QApplication::sendEvent(w, &e);
}

inline void Commit(QWidget* w, const QString& text, const QString& nextPreedit = QString())
{
    QInputMethodEvent e(nextPreedit, {});
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

// Ends the composition without a result.
inline void Cancel(QWidget* w)
{
    QInputMethodEvent e;
    QApplication::sendEvent(w, &e);
}

// Types a reading kana by kana, converts it to word and commits the word.
inline void Convert(QWidget* w, const QString& reading, const QString& word)
{
    for (int i = 1; i <= reading.size(); ++i)
        Preedit(w, reading.left(i));
    Preedit(w, word, true);
    Commit(w, word);
}

} // namespace TestIme

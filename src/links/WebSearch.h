// The web search dialog: a name searched with one of four engines in the browser.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

inline constexpr int WebSearchEngineCount = 4;
// The engines' names, in the order of the engine box.
const QStringList& WebSearchEngineNames();
// The result page of word (trimmed) at engine 0 to 3.
QString WebSearchUrl(int engine, const QString& word);
// [WEB SEARCH] Engine as stored, or 0.
int ReadWebSearchEngine();

class TWebSearch : public QDialog
{
    Q_OBJECT
public:
    explicit TWebSearch(QWidget* owner);

    // Puts word into the search edit with the caret at its end.
    void SetWord(const QString& word);

    // Opens the result page, keeps the engine and closes; an empty word is asked for.
    void bbtnSearchClick();

private:
    QGroupBox* gbxWebSearch;
    QLineEdit* edtWord;
    QComboBox* cbxEngine;
    QPushButton* bbtnSearch;
    QPushButton* btnClose;
};

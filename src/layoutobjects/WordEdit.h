// The text editing dialog of a free text frame: the text, its writing direction, and the example-sentence
// library to append or copy from.
#pragma once

#include "core/FontSub.h"
#include "layoutobjects/ExampleFiles.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

inline constexpr int WordEditHelp = 126;

class TWordEditDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TWordEditDialog(QWidget* owner = nullptr);
    ~TWordEditDialog() override;

    QStringList GetLines() const;
    void SetLines(const QStringList& lines);
    // 0 vertical, 1 horizontal; any other value changes nothing.
    void SetDirection(int direction);
    int GetDirection() const;
    // The frame's font in its horizontal form at 11 points.
    void SetEditFont(const TFontSpec& font);

    bool ExamplesShown() const { return m_example == 1; }
    // The desktop work area the form keeps inside; the screen's by default.
    std::function<QRect()> WorkArea;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildWindow();
    void LoadSettings();
    void SaveSettings();
    void LoadExampleIndex();
    void LoadExampleFile(int index);
    void ShowExample(int row);
    void ShowExamples(bool show);
    void bbtnAppendClick();
    void bbtnRewriteClick();
    int minimumClientHeight() const;
    void stopMessage(const QString& text);

    int m_example = 0;
    QStringList m_exampleFiles;
    QList<TExample> m_examples;

    QWidget* pnlWords = nullptr;
    QPlainTextEdit* memWords = nullptr;
    QRadioButton* rbVertical = nullptr;
    QRadioButton* rbHorizontal = nullptr;
    QWidget* pnlExample = nullptr;
    QListWidget* lbClass = nullptr;
    QListWidget* lbIndex = nullptr;
    QPlainTextEdit* memExample = nullptr;
    QPushButton* bbtnExample = nullptr;
    QPushButton* bbtnAppend = nullptr;
    QPushButton* bbtnRewrite = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

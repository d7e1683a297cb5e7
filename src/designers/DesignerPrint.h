// The print commands the designer windows share: the wizard with its refusals, the print job and the printer
// setup, each over the window's document and print client; and the preview mode with its tool bar.
#pragma once

#include "designers/LayoutPrint.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QComboBox;
class QMainWindow;
class QShortcut;
class QToolBar;
class QToolButton;
class QWidget;
class TDesignerViewActions;
class TPaperView;
class TAddressListRows;
class TAddressListSource;

// What the wizard chose: nothing (refused or cancelled), a print or a preview.
enum class TWizardChoice { None, Print, Preview };

// Tells a refusal, else runs the wizard over the rows; settings are filled when it is accepted. repaint runs
// after a printer change in the wizard.
TWizardChoice RunDesignerPrintWizard(QWidget* window, TLayoutDocument& document, const TAddressListRows* rows,
                                     TAddressListSource* source, bool restorePage, TPrintSettings& settings,
                                     const std::function<void()>& repaint);
// The print command of a designer window: the wizard over the rows (null: those of the address list that
// owns the window), reopened on its last page when restorePage is set (it is cleared), and the job under title
// when a print is chosen. The caller starts the preview when that is the choice.
TWizardChoice RunDesignerPrintCommand(QWidget* window, TLayoutDocument& document, const TAddressListRows* rows,
                                      TAddressListSource* source, bool& restorePage, TPrintSettings& settings,
                                      const QString& title, const std::function<void()>& repaint);
// Prints on the current printer with the other windows disabled; a failure is told.
void RunDesignerPrintJob(QWidget* window, TPrintClient& client, const TPrintSettings& settings,
                         const QString& title);
// The printer setup command; true when the paper is to be repainted.
bool RunDesignerPrintSetup(QWidget* window, TLayoutDocument& document);

// The preview mode of a designer window: its pages on the paper view and the tool bar "PreviewToolBar"
// ("次ページ", "前ページ", the zoom box cbxRatio2 and " 閉じる ") shown in place of the window's tool bars
// and menu.
class TDesignerPreview : public QObject
{
    Q_OBJECT
public:
    // Builds the hidden tool bar. closeKeys leave the preview and ignoredKeys do nothing in it; the window's
    // own short cuts of those keys are off meanwhile.
    TDesignerPreview(QMainWindow& window, TDesignerViewActions& view, const QList<QKeySequence>& closeKeys,
                     const QList<QKeySequence>& ignoredKeys = {});
    ~TDesignerPreview() override;

    bool Shown() const { return m_preview != nullptr; }
    const TPrintPreview* Preview() const { return m_preview.get(); }
    // Switches the bars and shows the client's first page on the paper at the preview's zoom.
    void Start(TPaperView& paper, std::unique_ptr<TPrintClient> client, const TPrintSettings& settings,
               QSize pieceSize, QSize sheetSize);
    void DrawPage(int page);
    void Next();
    void Prior();
    // Lets the page go and brings back the bars and the zoom of the tool bar's zoom box.
    void End();

signals:
    // The close button or a closing key.
    void closeRequested();

private:
    void showPage();
    void setBars(bool preview);

    QMainWindow& m_window;
    TDesignerViewActions& m_view;
    TPaperView* m_paper = nullptr;
    std::unique_ptr<TPrintClient> m_client;
    // Declared after the client: it goes first.
    std::unique_ptr<TPrintPreview> m_preview;
    QToolBar* m_bar;
    QToolButton* m_next;
    QToolButton* m_prior;
    QComboBox* m_ratio;
    QList<QShortcut*> m_keys;
    // Bars and short cuts switched off while the preview shows.
    QList<QPointer<QObject>> m_off;
};

// The window "一覧表の印刷": columns and templates, title, date and page number, font and margins, rule lines
// and colours, the record range, copies and printer; its settings in [LIST PRINT] and [LIST PRINT LAYOUT],
// the print run and the preview.
#pragma once

#include "addressbook/AdrsListServices.h"
#include "dataexchange/ListPrintPage.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QToolButton;
class TAddressList;
class TListNumEdit;
class TListPrintPreview;
class TPrinterInfo;
class TRecordRangeGroup;

inline const QString ListPrintPrinterFile = QStringLiteral("LstPrint.pi");

// What the window reads of the address list.
struct TListPrintSource
{
    const TAddressListRows* Rows = nullptr;
    std::function<TAdrsTableCursor*()> Cursor;  // the shared Adrs.DB row; null while no book is open
    std::function<QList<int>()> ShownColumns;   // the list's column items in shown order
    std::function<void(TAddressListFollower*)> Detach;
};

class TListPrint : public QWidget, public TAddressListFollower
{
    Q_OBJECT
public:
    TListPrint(QWidget* owner, TListPrintSource source);
    ~TListPrint() override;

    // ---- the address list's calls ----
    void UpdateDataRange() override;
    void UpdateKeywordNames() override;
    void UpdateProtectMemoNames() override;
    void RefreshPreview() override;
    void UpdateListLayoutTemplate() override;

    void RecountRows();
    void CollectSettings();
    void SaveSettings();
    // The print button: checks, question, run, settings, message.
    void btnPrintClick();
    // Answers false (and has said why) when nothing was printed.
    bool PrintList();
    void ShowPage(int page);
    void TogglePreview();
    // A data colour dropped onto another: the two change places.
    void ExchangeDataColors(int from, int to);

    const TListPrintLayout& Layout() const { return m_layout; }
    const TListPrintColumns& Columns() const { return m_columns; }
    const TItemCatalogue& Catalogue() const { return m_catalogue; }
    const TListPrintTemplateStore& Templates() const { return m_templates; }
    const TRuleLines& Lines() const { return m_lines; }
    TPrinterInfo& Printer() { return *m_printer; }
    int RowsPerPage() const { return m_rowsPerPage; }
    int PageCount() const { return m_pageCount; }
    int TargetCount() const;
    const TRecordRange& Range() const;
    // The page source for the current settings (the preview draws from it).
    TListPageSource PageSource();
    TListPrintPreview* Preview() const;
    // The preview's button text follows it.
    void PreviewShown(bool shown);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void BuildWindow();
    QWidget* BuildContentPage();
    QWidget* BuildFormatPage();
    QWidget* BuildLinePage();
    QWidget* BuildRangePage();
    void LoadSettings();
    void InitControls();
    void LoadTemplates();
    void HookEnterKeys();
    void FillTemplateNames();
    void ChooseTemplateType(int type);
    void ChooseTemplateName(int index);
    void SaveTemplate();
    void DeleteTemplate();
    void RewriteCustomTemplates();
    void ShowLayout();
    void UpdateColumnControls();
    void UpdateActionButtons();
    void SetColumn();
    void DeleteColumn();
    void DeleteAllColumns();
    void MoveColumn(int delta);
    void PressLine(int k);
    void LinesChanged(const TRuleLines& before);
    void ShowFontSample();
    void ShowPrinter();
    void ChoosePrinter();
    void UpdateTargetCount();
    void ShowSheetCount();
    void AddDataColor();
    void DeleteDataColor();
    void ChooseHeaderColor();
    void SetHeaderColor(bool on, qint32 color);
    void LayoutChanged();
    void OptionChanged(bool recount);
    void UpdateOptionControls();
    TListValueContext ValueContext(bool mask) const;
    // Places a dialog 15 pixels right of and below the window, inside the work area.
    std::function<void(QWidget*)> PlaceDialog() const;
    // False (and says so) when not one record fits a page.
    bool RefuseEmptyPage();
    QString DataRoot() const;

    TListPrintSource m_source;
    TItemCatalogue m_catalogue;
    TListPrintTemplateStore m_templates;
    TListPrintColumns m_columns;
    TListPrintLayout m_layout;
    TRuleLines m_lines;
    std::unique_ptr<TPrinterInfo> m_printer;
    int m_rowsPerPage = 0;
    int m_pageCount = 0;
    int m_templateType = -1;
    int m_templateIndex = -1;
    bool m_filling = false;
    QPointer<TListPrintPreview> m_preview;

    QToolButton* m_pageButtons[4] = {};
    QStackedWidget* m_pages = nullptr;
    // content
    QComboBox* m_cbxTemplateType = nullptr;
    QComboBox* m_cbxTemplateName = nullptr;
    QToolButton* m_bbtnSaveTemplate = nullptr;
    QToolButton* m_bbtnDeleteTemplate = nullptr;
    QListWidget* m_lbxSrc = nullptr;
    QListWidget* m_lbxDest = nullptr;
    QToolButton* m_bbtnSet = nullptr;
    QToolButton* m_bbtnDelete = nullptr;
    QToolButton* m_bbtnAllDelete = nullptr;
    QToolButton* m_bbtnUp = nullptr;
    QToolButton* m_bbtnDown = nullptr;
    TListNumEdit* m_edtSize = nullptr;
    QComboBox* m_cbxAlign = nullptr;
    QCheckBox* m_chkIgnoreTdfkn = nullptr;
    QLineEdit* m_edtTitle = nullptr;
    QComboBox* m_cbxTitlePosX = nullptr;
    QCheckBox* m_chkViewDate = nullptr;
    QDateEdit* m_dtpViewDate = nullptr;
    QComboBox* m_cbxDatePosX = nullptr;
    QComboBox* m_cbxDatePosY = nullptr;
    QCheckBox* m_chkViewPage = nullptr;
    QComboBox* m_cbxPageType = nullptr;
    QComboBox* m_cbxPagePosX = nullptr;
    QComboBox* m_cbxPagePosY = nullptr;
    // format
    QListWidget* m_lbxFontName = nullptr;
    QComboBox* m_cbxFontSize = nullptr;
    QCheckBox* m_chkBold = nullptr;
    QCheckBox* m_chkItalic = nullptr;
    QLabel* m_pnlSample = nullptr;
    QLabel* m_pnlCharset = nullptr;
    QComboBox* m_cbxRows = nullptr;
    TListNumEdit* m_edtOffsetX = nullptr;
    TListNumEdit* m_edtOffsetY = nullptr;
    QLabel* m_lblLineCount = nullptr;
    // rules and colours
    QToolButton* m_sbtnLine[6] = {};
    QListWidget* m_dgLineType = nullptr;
    QWidget* m_pnlLinePreview = nullptr;
    TListNumEdit* m_edtInterval = nullptr;
    QLabel* m_pnlHeaderColor = nullptr;
    QListWidget* m_lbxColor = nullptr;
    QToolButton* m_bbtnDataColor = nullptr;
    QToolButton* m_bbtnDeleteDataColor = nullptr;
    // range and printer
    TRecordRangeGroup* m_range = nullptr;
    TListNumEdit* m_edtCopies = nullptr;
    QLabel* m_lblPaperCount = nullptr;
    QLabel* m_pnlPrinterName = nullptr;
    QLabel* m_pnlPaperSize = nullptr;
    QLabel* m_pnlOrientation = nullptr;
    // buttons
    QPushButton* m_btnPreview = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnPrint = nullptr;
    QPushButton* m_btnClose = nullptr;
};

// The one list-print window; null while none exists.
extern QPointer<TListPrint> ListPrint;
// actListPrintExecute after the printer check: creates the window over the list, else shows it again.
TListPrint* ShowListPrint(TAddressList& list);
void RegisterListPrint();

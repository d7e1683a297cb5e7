// The list-print window.
#include "dataexchange/ListPrint.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListGlue.h"
#include "addressbook/AdrsTableRow.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/PrtctMemoEdt.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/CstmClr.h"
#include "core/DialogSub.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "dataexchange/ListPrintPreview.h"
#include "layoutobjects/PrinterInfo.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<TListPrint> ListPrint;

namespace {

constexpr int MsgListPrintRecount = QEvent::User + 0x300;

const QStringList AlignNames = {QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")};

QString StoredPrinterMessage(int error)
{
    switch (error) {
    case 1:
        return QStringLiteral("用紙の種類数が取得できませんでした  ");
    case 2:
        return QStringLiteral("用紙名が取得できませんでした  ");
    case 3:
        return QStringLiteral("用紙サイズが取得できませんでした  ");
    default:
        return {};
    }
}

QComboBox* Choice(QWidget* parent, const char* name, const QStringList& entries)
{
    auto* box = Named<QComboBox>(parent, name);
    box->addItems(entries);
    return box;
}

QToolButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(false);
    return button;
}

QLabel* Panel(QWidget* parent, const char* name)
{
    auto* label = Named<QLabel>(parent, name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(ScaleByDpi(160, 1));
    return label;
}

QPen RulePen(int type, int scale)
{
    QPen pen(Qt::black, type == 1 || type == 4 ? 2 : type == 2 ? 3 : 1);
    if (type == 3 || type == 4)
        pen.setStyle(Qt::DotLine);
    else if (type == 5)
        pen.setStyle(Qt::DashDotLine);
    (void)scale;
    return pen;
}

// A line type of the grid drawn as its sample.
class TLineTypeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        p->save();
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(r, selected ? QColor(0xCC, 0xE8, 0xFF) : option.palette.base().color());
        if (selected) {
            p->setPen(QPen(Qt::black, 1, Qt::DotLine));
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->setPen(RulePen(index.row(), 1));
        const int y = r.center().y();
        p->drawLine(r.left() + 4, y, r.right() - 4, y);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(ScaleByDpi(90, 1), option.fontMetrics.height() + 4);
    }
};

// A data colour: its number in a 16-pixel field, then its swatch.
// Dropping an entry onto another hands both rows to Dropped instead of moving the entry.
class TExchangeList : public QListWidget
{
public:
    explicit TExchangeList(QWidget* parent) : QListWidget(parent)
    {
        setDragDropMode(QAbstractItemView::InternalMove);
        setDragDropOverwriteMode(true);
    }
    std::function<void(int from, int to)> Dropped;

protected:
    void dropEvent(QDropEvent* event) override
    {
        const QModelIndex onto = indexAt(event->position().toPoint());
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        if (onto.isValid() && Dropped)
            Dropped(currentRow(), onto.row());
    }
};

class TColorDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        p->save();
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        p->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        p->drawText(QRect(r.left(), r.top(), 16, r.height()), Qt::AlignCenter, QString::number(index.row() + 1));
        p->fillRect(r.adjusted(18, 2, -2, -2), ColorFromValue(index.data(Qt::UserRole).toInt()));
        p->setPen(Qt::black);
        p->drawRect(r.adjusted(18, 2, -3, -3));
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(ScaleByDpi(90, 1), option.fontMetrics.height() + 2);
    }
};

// The schematic of the rule lines.
class TLinePreview : public QWidget
{
public:
    TLinePreview(QWidget* parent, const TRuleLines& lines) : QWidget(parent), m_lines(lines)
    {
        setObjectName(QStringLiteral("pnlLinePreview"));
        setFixedSize(ScaleByDpi(120, 1), ScaleByDpi(90, 1));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int m = 8;
        const QRect r = rect().adjusted(m, m, -m - 1, -m - 1);
        p.setPen(QColor(192, 192, 192));
        for (const QPoint c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
            p.drawLine(c.x() - 4, c.y(), c.x() + 4, c.y());
            p.drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
        }
        p.drawLine(r.center().x(), r.top() - 4, r.center().x(), r.top() + 4);
        p.drawLine(r.left() - 4, r.center().y(), r.left() + 4, r.center().y());
        const QLine lines[6] = {{r.topLeft(), r.topRight()},
                                {QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y())},
                                {r.bottomLeft(), r.bottomRight()},
                                {r.topLeft(), r.bottomLeft()},
                                {QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom())},
                                {r.topRight(), r.bottomRight()}};
        for (int k = 0; k < 6; ++k) {
            if (!m_lines.On[size_t(k)])
                continue;
            p.setPen(RulePen(m_lines.Type[size_t(k)], 1));
            p.drawLine(lines[k]);
        }
    }

private:
    const TRuleLines& m_lines;
};

} // namespace

// A number edit with an up-down: a bad entry silently shows the value again; Up/Down step by 1 and
// Page Up/Page Down by 10 within the range.
class TListNumEdit : public QWidget
{
public:
    using Parse = std::function<bool(const QString&, int&)>;
    using Format = std::function<QString(int)>;

    TListNumEdit(QWidget* parent, const char* name, int minimum, int maximum, int maxLength, Parse parse = {},
                 Format format = {})
        : QWidget(parent), m_min(minimum), m_max(maximum), m_parse(std::move(parse)), m_format(std::move(format))
    {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        Edit = Named<QLineEdit>(this, name);
        Edit->setMaxLength(maxLength);
        Edit->setFixedWidth(ScaleByDpi(48, 1));
        SetImeMode(Edit, imClose);
        QByteArray ud = QByteArray(name);
        ud.replace(0, 3, "ud");
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        Up = ArrowButton(this, (ud + "Up").constData(), Qt::UpArrow);
        Down = ArrowButton(this, (ud + "Down").constData(), Qt::DownArrow);
        arrows->addWidget(Up);
        arrows->addWidget(Down);
        row->addWidget(Edit);
        row->addLayout(arrows);
        if (!m_parse)
            m_parse = [](const QString& text, int& value) {
                const QString t = text.trimmed();
                if (t.isEmpty() || t.size() > 4)
                    return false;
                for (QChar c : t)
                    if (c < u'0' || c > u'9')
                        return false;
                value = t.toInt();
                return true;
            };
        if (!m_format)
            m_format = [](int v) { return QString::number(v); };
        QObject::connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
        QObject::connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
        Edit->installEventFilter(this);
        Show();
    }

    int Value() const { return m_value; }
    void SetRange(int minimum, int maximum)
    {
        m_min = minimum;
        m_max = maximum;
        m_value = std::clamp(m_value, m_min, m_max);
        Show();
    }
    // Without telling.
    void SetValue(int value)
    {
        m_value = std::clamp(value, m_min, m_max);
        Show();
    }
    void SetLocked(bool locked, const QString& shown = {})
    {
        SetEditEnabled(Edit, !locked);
        Up->setEnabled(!locked);
        Down->setEnabled(!locked);
        if (locked)
            Edit->setText(shown);
    }
    // The leave step; false when the text was refused.
    bool Commit()
    {
        int value = 0;
        if (!m_parse(Edit->text(), value) || value < m_min || value > m_max) {
            Show();
            return false;
        }
        if (value != m_value)
            Apply(value);
        else
            Show();
        return true;
    }
    void Step(int delta)
    {
        const int value = std::clamp(m_value + delta, m_min, m_max);
        if (value != m_value)
            Apply(value);
    }

    QLineEdit* Edit = nullptr;
    QToolButton* Up = nullptr;
    QToolButton* Down = nullptr;
    std::function<void(int)> Applied;
    std::function<QWidget*()> EnterTarget;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != Edit)
            return false;
        if (event->type() == QEvent::FocusOut) {
            Commit();
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
            case Qt::Key_Up:
                Step(1);
                return true;
            case Qt::Key_Down:
                Step(-1);
                return true;
            case Qt::Key_PageUp:
                Step(10);
                return true;
            case Qt::Key_PageDown:
                Step(-10);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: {
                const int before = m_value;
                Commit();
                if (m_value == before) {
                    QWidget* next = EnterTarget ? EnterTarget() : nullptr;
                    if (!next)
                        next = TEnterMovesFocus::nextInTabOrder(Edit);
                    if (next)
                        next->setFocus(Qt::TabFocusReason);
                }
                return true;
            }
            default:
                break;
            }
        }
        return false;
    }

private:
    void Show()
    {
        Edit->setText(m_format(m_value));
    }
    void Apply(int value)
    {
        m_value = value;
        Show();
        Edit->selectAll();
        if (Applied)
            Applied(value);
    }

    int m_min, m_max;
    int m_value = 0;
    Parse m_parse;
    Format m_format;
};

namespace {

TListNumEdit* MarginEdit(QWidget* parent, const char* name)
{
    auto* edit = new TListNumEdit(parent, name, 0, 500, 4, ParseMarginText,
                                  [](int v) { return QString::asprintf("%.1f", v / 10.0); });
    return edit;
}

} // namespace

// ---- creation ----

TListPrint::TListPrint(QWidget* owner, TListPrintSource source)
    : QWidget(owner, Qt::Window), m_source(std::move(source))
{
    setObjectName(QStringLiteral("ListPrint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("一覧表の印刷"));
    m_catalogue = BuildItemTable(KeywordNames, ProtectMemoNames);
    BuildWindow();
    LoadSettings();
    InitControls();
    LoadTemplates();
    UpdateActionButtons();
    HookEnterKeys();
    ShowPage(0);

    const TMemIniFile ini(DataRoot() + MainSettingsFileName);
    adjustSize();
    if (ini.ValueExists(ListPrintSection, QStringLiteral("Left")) &&
        ini.ValueExists(ListPrintSection, QStringLiteral("Top")))
        move(ScaleByDpi(ini.ReadInteger(ListPrintSection, QStringLiteral("Left"), 0), 1),
             ScaleByDpi(ini.ReadInteger(ListPrintSection, QStringLiteral("Top"), 0), 1));
    else
        CenterForm(this, nullptr);
}

TListPrint::~TListPrint()
{
    if (m_preview)
        delete m_preview.data();
    TMemIniFile ini(DataRoot() + MainSettingsFileName);
    ini.WriteInteger(ListPrintSection, QStringLiteral("Left"), ScaleByDpi(x(), 0));
    ini.WriteInteger(ListPrintSection, QStringLiteral("Top"), ScaleByDpi(y(), 0));
    ini.UpdateFile();
    if (m_source.Detach)
        m_source.Detach(this);
}

QString TListPrint::DataRoot() const
{
    return DataRootFolder;
}

void TListPrint::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    auto* tabs = new QHBoxLayout;
    root->addLayout(tabs);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    const char* names[4] = {"sbtnContent", "sbtnFormat", "sbtnLineColor", "sbtnRangePrinter"};
    const QString captions[4] = {QStringLiteral("印刷内容"), QStringLiteral("書式"), QStringLiteral("罫線・色"),
                                 QStringLiteral("範囲・プリンター")};
    for (int i = 0; i < 4; ++i) {
        m_pageButtons[i] = Button(this, names[i], captions[i]);
        m_pageButtons[i]->setCheckable(true);
        m_pageButtons[i]->setMinimumWidth(ScaleByDpi(110, 1));
        group->addButton(m_pageButtons[i], i);
        tabs->addWidget(m_pageButtons[i]);
        connect(m_pageButtons[i], &QToolButton::clicked, this, [this, i] { ShowPage(i); });
    }
    tabs->addStretch();
    m_pages = Named<QStackedWidget>(this, "pgcMain");
    m_pages->addWidget(BuildContentPage());
    m_pages->addWidget(BuildFormatPage());
    m_pages->addWidget(BuildLinePage());
    m_pages->addWidget(BuildRangePage());
    root->addWidget(m_pages);

    m_btnPreview = MakeButton(this, "btnPreview", QStringLiteral("プレビューを開く"));
    m_btnSave = MakeButton(this, "btnSave", QStringLiteral("設定保存"));
    m_btnPrint = MakeButton(this, "btnPrint", QStringLiteral("印刷"));
    m_btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnPreview);
    buttons->addStretch();
    buttons->addWidget(m_btnSave);
    buttons->addWidget(m_btnPrint);
    buttons->addWidget(m_btnClose);
    root->addLayout(buttons);
    connect(m_btnPreview, &QPushButton::clicked, this, [this] { TogglePreview(); });
    connect(m_btnSave, &QPushButton::clicked, this, [this] {
        TBusyCursor busy;
        CollectSettings();
        SaveSettings();
    });
    connect(m_btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto* esc = new QAction(this);
    esc->setShortcut(Qt::Key_Escape);
    connect(esc, &QAction::triggered, this, &QWidget::close);
    addAction(esc);
}

QWidget* TListPrint::BuildContentPage()
{
    auto* page = new QWidget;
    auto* box = new QHBoxLayout(page);
    auto* grpItems = Named<QGroupBox>(page, "grpItems", QStringLiteral("印刷項目の設定"));
    auto* grid = new QGridLayout(grpItems);
    m_cbxTemplateType = Named<QComboBox>(grpItems, "cbxTemplateType");
    m_cbxTemplateName = Named<QComboBox>(grpItems, "cbxTemplateName");
    m_cbxTemplateName->setEditable(true);
    m_cbxTemplateName->setMaxVisibleItems(11);
    m_cbxTemplateName->lineEdit()->setMaxLength(30);
    m_cbxTemplateName->setMinimumWidth(ScaleByDpi(180, 1));
    m_bbtnSaveTemplate = Button(grpItems, "bbtnSaveTemplate", QStringLiteral("保存"));
    m_bbtnDeleteTemplate = Button(grpItems, "bbtnDeleteTemplate", QStringLiteral("削除"));
    auto* templates = new QHBoxLayout;
    templates->addWidget(new QLabel(QStringLiteral("テンプレート："), grpItems));
    templates->addWidget(m_cbxTemplateType);
    templates->addWidget(m_cbxTemplateName, 1);
    templates->addWidget(m_bbtnSaveTemplate);
    templates->addWidget(m_bbtnDeleteTemplate);
    grid->addLayout(templates, 0, 0, 1, 3);

    m_lbxDest = Named<QListWidget>(grpItems, "lbxDest");
    m_lbxSrc = Named<QListWidget>(grpItems, "lbxSrc");
    for (QListWidget* list : {m_lbxDest, m_lbxSrc}) {
        list->setFixedSize(ScaleByDpi(160, 1), ScaleByDpi(260, 1));
        SetImeMode(list, imClose);
        list->installEventFilter(this);
    }
    grid->addWidget(new QLabel(QStringLiteral("印刷順："), grpItems), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("項目名："), grpItems), 1, 2);
    grid->addWidget(m_lbxDest, 2, 0);
    grid->addWidget(m_lbxSrc, 2, 2);
    auto* buttons = new QVBoxLayout;
    m_bbtnSet = Button(grpItems, "bbtnSet", QStringLiteral("◀ セット"));
    m_bbtnDelete = Button(grpItems, "bbtnDelete", QStringLiteral("削除 ▶"));
    m_bbtnAllDelete = Button(grpItems, "bbtnAllDelete", QStringLiteral("全削除 ▶▶"));
    m_bbtnUp = Button(grpItems, "bbtnUp", QStringLiteral("▲"));
    m_bbtnDown = Button(grpItems, "bbtnDown", QStringLiteral("▼"));
    buttons->addStretch();
    for (QToolButton* b : {m_bbtnSet, m_bbtnDelete, m_bbtnAllDelete, m_bbtnUp, m_bbtnDown}) {
        b->setMinimumWidth(ScaleByDpi(80, 1));
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 2, 1);
    m_edtSize = new TListNumEdit(grpItems, "edtSize", 1, 999, 3);
    m_cbxAlign = Choice(grpItems, "cbxAlign", AlignNames);
    auto* format = new QHBoxLayout;
    format->addWidget(new QLabel(QStringLiteral("項目幅："), grpItems));
    format->addWidget(m_edtSize);
    format->addWidget(new QLabel(QStringLiteral("(半角文字数)"), grpItems));
    format->addSpacing(12);
    format->addWidget(new QLabel(QStringLiteral("横位置："), grpItems));
    format->addWidget(m_cbxAlign);
    format->addStretch();
    grid->addLayout(format, 3, 0, 1, 3);
    box->addWidget(grpItems);

    connect(m_cbxTemplateType, &QComboBox::activated, this, [this](int i) { ChooseTemplateType(i); });
    connect(m_cbxTemplateName, &QComboBox::activated, this, [this](int i) {
        if (i != m_templateIndex)
            ChooseTemplateName(i);
    });
    connect(m_bbtnSaveTemplate, &QToolButton::clicked, this, [this] { SaveTemplate(); });
    connect(m_bbtnDeleteTemplate, &QToolButton::clicked, this, [this] { DeleteTemplate(); });
    connect(m_bbtnSet, &QToolButton::clicked, this, [this] { SetColumn(); });
    connect(m_lbxSrc, &QListWidget::itemDoubleClicked, this, [this] { SetColumn(); });
    connect(m_bbtnDelete, &QToolButton::clicked, this, [this] { DeleteColumn(); });
    connect(m_lbxDest, &QListWidget::itemDoubleClicked, this, [this] { DeleteColumn(); });
    connect(m_bbtnAllDelete, &QToolButton::clicked, this, [this] { DeleteAllColumns(); });
    connect(m_bbtnUp, &QToolButton::clicked, this, [this] { MoveColumn(-1); });
    connect(m_bbtnDown, &QToolButton::clicked, this, [this] { MoveColumn(1); });
    connect(m_lbxDest, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            UpdateColumnControls();
    });
    m_edtSize->Applied = [this](int width) {
        const int row = m_lbxDest->currentRow();
        if (row >= 0 && row < m_columns.size()) {
            m_columns[row].Width = width;
            RefreshPreview();
        }
    };
    connect(m_cbxAlign, &QComboBox::activated, this, [this](int align) {
        const int row = m_lbxDest->currentRow();
        if (row >= 0 && row < m_columns.size() && m_columns[row].Align != align) {
            m_columns[row].Align = align;
            RefreshPreview();
        }
    });

    // Title, date and page number.
    auto* grpTitle = Named<QGroupBox>(page, "grpTitle", QStringLiteral("タイトル・日付・ページ"));
    auto* form = new QGridLayout(grpTitle);
    m_chkIgnoreTdfkn = Named<QCheckBox>(grpTitle, "chkIgnoreTdfkn", QStringLiteral("都道府県名は印刷しない"));
    m_edtTitle = Named<QLineEdit>(grpTitle, "edtTitle");
    LimitAnsiBytes(m_edtTitle, 200);
    m_cbxTitlePosX = Choice(grpTitle, "cbxTitlePosX", AlignNames);
    m_chkViewDate = Named<QCheckBox>(grpTitle, "chkViewDate", QStringLiteral("日付を表示する"));
    m_dtpViewDate = Named<QDateEdit>(grpTitle, "dtpViewDate");
    m_dtpViewDate->setCalendarPopup(true);
    m_dtpViewDate->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    m_cbxDatePosX = Choice(grpTitle, "cbxDatePosX", AlignNames);
    m_cbxDatePosY = Choice(grpTitle, "cbxDatePosY", {QStringLiteral("上"), QStringLiteral("下")});
    m_chkViewPage = Named<QCheckBox>(grpTitle, "chkViewPage", QStringLiteral("ページ数を表示する"));
    m_cbxPageType = Choice(grpTitle, "cbxPageType",
                           {QStringLiteral("Page. ***"), QStringLiteral("- *** -"), QStringLiteral("*** ページ"),
                            QStringLiteral("Page. *** / [total]"), QStringLiteral("- *** / [total] -"),
                            QStringLiteral("*** / [total] ページ")});
    m_cbxPagePosX = Choice(grpTitle, "cbxPagePosX", AlignNames);
    m_cbxPagePosY = Choice(grpTitle, "cbxPagePosY", {QStringLiteral("上"), QStringLiteral("下")});
    int row = 0;
    form->addWidget(m_chkIgnoreTdfkn, row++, 0, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("タイトル："), grpTitle), row, 0);
    form->addWidget(m_edtTitle, row++, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("横位置："), grpTitle), row, 1);
    form->addWidget(m_cbxTitlePosX, row++, 2);
    form->addWidget(m_chkViewDate, row, 0);
    form->addWidget(m_dtpViewDate, row++, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("位置："), grpTitle), row, 0);
    form->addWidget(m_cbxDatePosX, row, 1);
    form->addWidget(m_cbxDatePosY, row++, 2);
    form->addWidget(m_chkViewPage, row, 0);
    form->addWidget(m_cbxPageType, row++, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("位置："), grpTitle), row, 0);
    form->addWidget(m_cbxPagePosX, row, 1);
    form->addWidget(m_cbxPagePosY, row++, 2);
    form->setRowStretch(row, 1);
    box->addWidget(grpTitle);

    for (QCheckBox* check : {m_chkIgnoreTdfkn, m_chkViewDate, m_chkViewPage})
        PaintCheckedBlue(check);
    connect(m_chkIgnoreTdfkn, &QCheckBox::toggled, this, [this] { OptionChanged(false); });
    for (QCheckBox* check : {m_chkViewDate, m_chkViewPage})
        connect(check, &QCheckBox::toggled, this, [this] {
            UpdateOptionControls();
            OptionChanged(true);
        });
    for (QComboBox* c : {m_cbxDatePosX, m_cbxDatePosY, m_cbxPagePosX, m_cbxPagePosY})
        connect(c, &QComboBox::activated, this, [this] { OptionChanged(true); });
    for (QComboBox* c : {m_cbxTitlePosX, m_cbxPageType})
        connect(c, &QComboBox::activated, this, [this] { OptionChanged(false); });
    connect(m_dtpViewDate, &QDateEdit::dateChanged, this, [this] { OptionChanged(false); });
    connect(m_edtTitle, &QLineEdit::textChanged, this, [this] { OptionChanged(false); });
    connect(m_edtTitle, &QLineEdit::editingFinished, this, [this] { RecountRows(); });
    return page;
}

QWidget* TListPrint::BuildFormatPage()
{
    auto* page = new QWidget;
    auto* box = new QHBoxLayout(page);
    auto* grpFont = Named<QGroupBox>(page, "grpFont", QStringLiteral("印刷フォント"));
    auto* grid = new QGridLayout(grpFont);
    m_lbxFontName = Named<QListWidget>(grpFont, "lbxFontName");
    m_lbxFontName->setFixedSize(ScaleByDpi(200, 1), ScaleByDpi(200, 1));
    QStringList sizes;
    for (int s = ListPrintMinFontSize; s <= ListPrintMaxFontSize; ++s)
        sizes << QString::number(s);
    m_cbxFontSize = Choice(grpFont, "cbxFontSize", sizes);
    m_chkBold = Named<QCheckBox>(grpFont, "chkBold", QStringLiteral("太字"));
    m_chkItalic = Named<QCheckBox>(grpFont, "chkItalic", QStringLiteral("斜体"));
    m_pnlSample = Panel(grpFont, "pnlSample");
    m_pnlSample->setFixedHeight(ScaleByDpi(60, 1));
    m_pnlSample->setAlignment(Qt::AlignCenter);
    m_pnlCharset = Panel(grpFont, "pnlCharset");
    grid->addWidget(new QLabel(QStringLiteral("フォント名："), grpFont), 0, 0);
    grid->addWidget(m_lbxFontName, 1, 0, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("サイズ："), grpFont), 0, 1);
    grid->addWidget(m_cbxFontSize, 1, 1);
    grid->addWidget(m_chkBold, 2, 1);
    grid->addWidget(m_chkItalic, 3, 1);
    grid->addWidget(m_pnlCharset, 5, 0, 1, 2);
    grid->addWidget(m_pnlSample, 6, 0, 1, 2);
    box->addWidget(grpFont);

    auto* grpPos = Named<QGroupBox>(page, "grpPosition", QStringLiteral("印刷位置"));
    auto* form = new QGridLayout(grpPos);
    m_cbxRows = Choice(grpPos, "cbxRows", {QStringLiteral("1行"), QStringLiteral("2行"), QStringLiteral("3行")});
    m_edtOffsetX = MarginEdit(grpPos, "edtOffsetX");
    m_edtOffsetY = MarginEdit(grpPos, "edtOffsetY");
    m_lblLineCount = Named<QLabel>(grpPos, "lblLineCount");
    form->addWidget(new QLabel(QStringLiteral("１件の行数："), grpPos), 0, 0);
    form->addWidget(m_cbxRows, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("左余白："), grpPos), 1, 0);
    form->addWidget(m_edtOffsetX, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("mm"), grpPos), 1, 2);
    form->addWidget(new QLabel(QStringLiteral("上余白："), grpPos), 2, 0);
    form->addWidget(m_edtOffsetY, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("mm"), grpPos), 2, 2);
    form->addWidget(new QLabel(QStringLiteral("１ページあたりの件数："), grpPos), 3, 0);
    form->addWidget(m_lblLineCount, 3, 1);
    form->setRowStretch(4, 1);
    box->addWidget(grpPos);

    connect(m_lbxFontName, &QListWidget::currentRowChanged, this, [this] {
        ShowFontSample();
        OptionChanged(false);
    });
    connect(m_cbxFontSize, &QComboBox::activated, this, [this] {
        ShowFontSample();
        OptionChanged(true);
    });
    for (QCheckBox* c : {m_chkBold, m_chkItalic}) {
        PaintCheckedBlue(c);
        connect(c, &QCheckBox::toggled, this, [this] {
            ShowFontSample();
            OptionChanged(false);
        });
    }
    connect(m_cbxRows, &QComboBox::activated, this, [this] { OptionChanged(true); });
    m_edtOffsetX->Applied = [this](int) { OptionChanged(false); };
    // The recount runs once the up-down holds its new position.
    m_edtOffsetY->Applied = [this](int) {
        OptionChanged(false);
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(MsgListPrintRecount)));
    };
    m_edtOffsetY->EnterTarget = [this]() -> QWidget* {
        ShowPage(2);
        return m_dgLineType;
    };
    return page;
}

QWidget* TListPrint::BuildLinePage()
{
    auto* page = new QWidget;
    auto* box = new QHBoxLayout(page);
    auto* grpLine = Named<QGroupBox>(page, "grpLine", QStringLiteral("罫線"));
    auto* grid = new QGridLayout(grpLine);
    const char* names[6] = {"sbtnTop", "sbtnHorzCenter", "sbtnBottom", "sbtnLeft", "sbtnVertCenter", "sbtnRight"};
    const QString captions[6] = {QStringLiteral("上"), QStringLiteral("中横"), QStringLiteral("下"),
                                 QStringLiteral("左"), QStringLiteral("中縦"), QStringLiteral("右")};
    auto* positions = new QGridLayout;
    for (int k = 0; k < 6; ++k) {
        m_sbtnLine[k] = Button(grpLine, names[k], captions[k]);
        m_sbtnLine[k]->setCheckable(true);
        m_sbtnLine[k]->setMinimumWidth(ScaleByDpi(44, 1));
        positions->addWidget(m_sbtnLine[k], k / 3, k % 3);
        connect(m_sbtnLine[k], &QToolButton::clicked, this, [this, k] { PressLine(k); });
    }
    auto* sbtnNone = Button(grpLine, "sbtnNone", QStringLiteral("なし"));
    auto* sbtnOuter = Button(grpLine, "sbtnOuter", QStringLiteral("外枠"));
    auto* sbtnInner = Button(grpLine, "sbtnInner", QStringLiteral("内側"));
    positions->addWidget(sbtnNone, 2, 0);
    positions->addWidget(sbtnOuter, 2, 1);
    positions->addWidget(sbtnInner, 2, 2);
    m_dgLineType = Named<QListWidget>(grpLine, "dgLineType");
    m_dgLineType->setItemDelegate(new TLineTypeDelegate(m_dgLineType));
    for (int t = 0; t < 6; ++t)
        m_dgLineType->addItem(QString());
    m_dgLineType->setCurrentRow(0);
    m_dgLineType->setFixedSize(ScaleByDpi(100, 1), ScaleByDpi(6 * 20 + 6, 1));
    SetImeMode(m_dgLineType, imClose);
    m_pnlLinePreview = new TLinePreview(grpLine, m_lines);
    m_edtInterval = new TListNumEdit(grpLine, "edtInterval", 1, 20, 2);
    grid->addLayout(positions, 0, 0);
    grid->addWidget(m_dgLineType, 0, 1, 2, 1);
    grid->addWidget(m_pnlLinePreview, 1, 0);
    auto* interval = new QHBoxLayout;
    interval->addWidget(new QLabel(QStringLiteral("内側横線の間隔："), grpLine));
    interval->addWidget(m_edtInterval);
    interval->addWidget(new QLabel(QStringLiteral("件ごと"), grpLine));
    interval->addStretch();
    grid->addLayout(interval, 2, 0, 1, 2);
    box->addWidget(grpLine);
    connect(sbtnNone, &QToolButton::clicked, this, [this] {
        const TRuleLines before = m_lines;
        m_lines.None();
        LinesChanged(before);
    });
    connect(sbtnOuter, &QToolButton::clicked, this, [this] {
        const TRuleLines before = m_lines;
        m_lines.Outer(m_dgLineType->currentRow());
        LinesChanged(before);
    });
    connect(sbtnInner, &QToolButton::clicked, this, [this] {
        const TRuleLines before = m_lines;
        m_lines.Inner(m_dgLineType->currentRow());
        LinesChanged(before);
    });
    m_edtInterval->Applied = [this](int) { OptionChanged(false); };

    auto* grpColor = Named<QGroupBox>(page, "grpColor", QStringLiteral("背景色"));
    auto* colors = new QGridLayout(grpColor);
    auto* bbtnHeaderColor = Button(grpColor, "bbtnHeaderColor", QStringLiteral("項目名："));
    auto* bbtnClearHeaderColor = Button(grpColor, "bbtnClearHeaderColor", QStringLiteral("×"));
    m_pnlHeaderColor = Panel(grpColor, "pnlHeaderColor");
    m_pnlHeaderColor->setMinimumWidth(ScaleByDpi(60, 1));
    m_pnlHeaderColor->setAlignment(Qt::AlignCenter);
    m_pnlHeaderColor->setAutoFillBackground(true);
    m_bbtnDataColor = Button(grpColor, "bbtnDataColor", QStringLiteral("データ："));
    m_bbtnDeleteDataColor = Button(grpColor, "bbtnDeleteDataColor", QStringLiteral("×"));
    auto* lbxColor = new TExchangeList(grpColor);
    lbxColor->setObjectName(QStringLiteral("lbxColor"));
    lbxColor->Dropped = [this](int from, int to) { ExchangeDataColors(from, to); };
    m_lbxColor = lbxColor;
    m_lbxColor->setItemDelegate(new TColorDelegate(m_lbxColor));
    m_lbxColor->setFixedSize(ScaleByDpi(100, 1), ScaleByDpi(180, 1));
    m_lbxColor->installEventFilter(this);
    colors->addWidget(bbtnHeaderColor, 0, 0);
    colors->addWidget(m_pnlHeaderColor, 0, 1);
    colors->addWidget(bbtnClearHeaderColor, 0, 2);
    colors->addWidget(m_bbtnDataColor, 1, 0);
    colors->addWidget(m_lbxColor, 1, 1, 2, 1);
    colors->addWidget(m_bbtnDeleteDataColor, 1, 2);
    colors->setRowStretch(2, 1);
    box->addWidget(grpColor);
    connect(bbtnHeaderColor, &QToolButton::clicked, this, [this] { ChooseHeaderColor(); });
    connect(bbtnClearHeaderColor, &QToolButton::clicked, this, [this] {
        if (m_pnlHeaderColor->text().isEmpty()) {
            SetHeaderColor(false, m_layout.HeaderColor);
            OptionChanged(false);
        }
    });
    connect(m_bbtnDataColor, &QToolButton::clicked, this, [this] { AddDataColor(); });
    connect(m_bbtnDeleteDataColor, &QToolButton::clicked, this, [this] { DeleteDataColor(); });
    return page;
}

QWidget* TListPrint::BuildRangePage()
{
    auto* page = new QWidget;
    auto* box = new QHBoxLayout(page);
    m_range = new TRecordRangeGroup(page, QStringLiteral("印刷データの選択"), QStringLiteral("印刷データ件数："));
    box->addWidget(m_range);
    auto* right = new QVBoxLayout;
    auto* grpCopies = Named<QGroupBox>(page, "grpCopies", QStringLiteral("部数"));
    auto* copies = new QHBoxLayout(grpCopies);
    m_edtCopies = new TListNumEdit(grpCopies, "edtCopies", 1, 100, 3);
    m_lblPaperCount = Named<QLabel>(grpCopies, "lblPaperCount");
    copies->addWidget(m_edtCopies);
    copies->addWidget(new QLabel(QStringLiteral("部"), grpCopies));
    copies->addSpacing(12);
    copies->addWidget(new QLabel(QStringLiteral("用紙枚数："), grpCopies));
    copies->addWidget(m_lblPaperCount);
    copies->addStretch();
    right->addWidget(grpCopies);
    auto* grpPrinter = Named<QGroupBox>(page, "grpPrinter", QStringLiteral("プリンターの設定"));
    auto* printer = new QGridLayout(grpPrinter);
    m_pnlPrinterName = Panel(grpPrinter, "pnlPrinterName");
    m_pnlPaperSize = Panel(grpPrinter, "pnlPaperSize");
    m_pnlOrientation = Panel(grpPrinter, "pnlOrientation");
    auto* bbtnPrinter = Button(grpPrinter, "bbtnPrinter", QStringLiteral("設定"));
    printer->addWidget(new QLabel(QStringLiteral("プリンター："), grpPrinter), 0, 0);
    printer->addWidget(m_pnlPrinterName, 0, 1);
    printer->addWidget(new QLabel(QStringLiteral("用紙："), grpPrinter), 1, 0);
    printer->addWidget(m_pnlPaperSize, 1, 1);
    printer->addWidget(new QLabel(QStringLiteral("向き："), grpPrinter), 2, 0);
    printer->addWidget(m_pnlOrientation, 2, 1);
    printer->addWidget(bbtnPrinter, 3, 1, Qt::AlignRight);
    right->addWidget(grpPrinter);
    right->addStretch();
    box->addLayout(right);
    connect(m_range, &TRecordRangeGroup::targetCountChanged, this, [this] { UpdateTargetCount(); });
    m_edtCopies->Applied = [this](int) { ShowSheetCount(); };
    m_edtCopies->EnterTarget = [this]() -> QWidget* {
        return m_btnPrint->isEnabled() ? static_cast<QWidget*>(m_btnPrint) : m_btnClose;
    };
    connect(bbtnPrinter, &QToolButton::clicked, this, [this] { ChoosePrinter(); });
    return page;
}

void TListPrint::ShowPage(int page)
{
    m_pages->setCurrentIndex(page);
    m_pageButtons[page]->setChecked(true);
    static constexpr int helpTopics[4] = {135, 137, 138, 139};
    setProperty("helpTopic", helpTopics[page]);
    QWidget* focus = page == 0 ? m_lbxSrc : page == 1 ? m_lbxFontName : page == 2 ? m_dgLineType : nullptr;
    if (page == 3)
        for (QRadioButton* choice : m_range->findChildren<QRadioButton*>())
            if (choice->isChecked())
                focus = choice;
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void TListPrint::HookEnterKeys()
{
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_cbxTemplateType, m_chkIgnoreTdfkn, m_edtTitle, m_cbxTitlePosX, m_dtpViewDate, m_cbxDatePosX,
             m_cbxDatePosY, m_cbxPageType, m_cbxPagePosX, m_cbxFontSize, m_chkBold, m_chkItalic, m_cbxRows})
        enter->addNext(w);
    enter->addTarget(m_cbxAlign, m_lbxSrc);
    enter->addTarget(m_chkViewDate, [this]() -> QWidget* {
        return m_chkViewDate->isChecked() ? static_cast<QWidget*>(m_dtpViewDate) : m_chkViewPage;
    });
    const auto formatPage = [this]() -> QWidget* {
        ShowPage(1);
        return m_lbxFontName;
    };
    enter->addTarget(m_chkViewPage, [this, formatPage]() -> QWidget* {
        return m_chkViewPage->isChecked() ? m_cbxPageType : formatPage();
    });
    enter->addTarget(m_cbxPagePosY, formatPage);
    // A typed name that names an entry chooses it; any other text stays for saving.
    enter->addTarget(m_cbxTemplateName, [this]() -> QWidget* {
        const int found = m_cbxTemplateName->findText(m_cbxTemplateName->currentText(), Qt::MatchExactly);
        if (found >= 0 && found != m_templateIndex)
            ChooseTemplateName(found);
        return m_lbxDest;
    });
    if (auto* rbList = m_range->findChild<QRadioButton*>(QStringLiteral("rbList")))
        enter->addTarget(rbList, m_edtCopies->Edit);
}

// ---- settings ----

void TListPrint::LoadSettings()
{
    const TMemIniFile ini(DataRoot() + MainSettingsFileName);
    ReadListPrintLayout(ini, m_layout, m_columns);
    TRecordRange stored;
    stored.ReadSettings(ini, ListPrintSection);
    m_layout.DataSelect = stored.DataSelect;
    m_range->setProperty("storedBegin", stored.BeginPos);
    m_range->setProperty("storedEnd", stored.EndPos);
    m_printer = std::make_unique<TPrinterInfo>(DataRoot() + ListPrintPrinterFile);
}

void TListPrint::InitControls()
{
    m_filling = true;
    const TListPrintLayout& l = m_layout;
    m_chkIgnoreTdfkn->setChecked(l.IgnoreTdfkn);
    m_edtTitle->setText(TrimBlanks(l.Title));
    m_cbxTitlePosX->setCurrentIndex(l.TitlePosX);
    m_chkViewDate->setChecked(l.ViewDate);
    m_dtpViewDate->setDate(QDate::currentDate());
    m_cbxDatePosX->setCurrentIndex(l.DatePosX);
    m_cbxDatePosY->setCurrentIndex(l.DatePosY);
    m_chkViewPage->setChecked(l.ViewPage);
    m_cbxPageType->setCurrentIndex(l.PageType);
    m_cbxPagePosX->setCurrentIndex(l.PagePosX);
    m_cbxPagePosY->setCurrentIndex(l.PagePosY);
    UpdateOptionControls();

    // Fonts of the Shift-JIS set, with the document faces that map onto installed ones.
    QList<TFontNameEntry> fonts;
    EnumFontNames(fonts, false, false);
    QStringList names;
    for (const TFontNameEntry& f : fonts)
        if (f.charset == ShiftJisCharset)
            names << f.name;
    InstallFontSubstitutions();
    for (const QString& face : QFont::substitutions())
        if (!face.startsWith(u'@') && face.front().unicode() > 0x7F && !names.contains(face))
            names << face;
    names.sort();
    m_lbxFontName->clear();
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, m_lbxFontName);
        item->setData(Qt::UserRole, ShiftJisCharset);
    }
    const int font = int(names.indexOf(TrimBlanks(l.FontName)));
    m_lbxFontName->setCurrentRow(font >= 0 ? font : 0);
    m_cbxFontSize->setCurrentIndex(std::max(0, l.FontSize - ListPrintMinFontSize));
    m_chkBold->setChecked(l.FontStyle & FontStyleBold);
    m_chkItalic->setChecked(l.FontStyle & FontStyleItalic);
    m_cbxRows->setCurrentIndex(l.RowCount - 1);
    m_edtOffsetX->SetValue(l.OffsetX);
    m_edtOffsetY->SetValue(l.OffsetY);

    m_lines.On = l.Line;
    m_lines.Type = l.LineType;
    for (int k = 0; k < 6; ++k)
        m_sbtnLine[k]->setChecked(m_lines.On[size_t(k)]);
    m_edtInterval->SetValue(l.HorzInterval);
    SetHeaderColor(l.HeaderColorExists, l.HeaderColor);
    m_lbxColor->clear();
    for (qint32 color : l.Colors) {
        auto* item = new QListWidgetItem(m_lbxColor);
        item->setData(Qt::UserRole, color);
    }
    m_lbxColor->setCurrentRow(0);
    m_filling = false;
    ShowFontSample();

    TRecordRange stored;
    stored.DataSelect = l.DataSelect;
    stored.BeginPos = m_range->property("storedBegin").toInt();
    stored.EndPos = m_range->property("storedEnd").toInt();
    m_edtCopies->SetValue(l.Copies);
    ShowPrinter();
    if (m_source.Rows)
        m_range->InitDataRange(stored, *m_source.Rows);
    RecountRows();
}

void TListPrint::CollectSettings()
{
    TListPrintLayout& l = m_layout;
    l.IgnoreTdfkn = m_chkIgnoreTdfkn->isChecked();
    l.Title = ToWide(TruncateMbcs(ToAnsi(TrimBlanks(m_edtTitle->text())), 200));
    l.TitlePosX = m_cbxTitlePosX->currentIndex();
    l.ViewDate = m_chkViewDate->isChecked();
    l.Date = m_dtpViewDate->date();
    l.DatePosX = m_cbxDatePosX->currentIndex();
    l.DatePosY = m_cbxDatePosY->currentIndex();
    l.ViewPage = m_chkViewPage->isChecked();
    l.PageType = m_cbxPageType->currentIndex();
    l.PagePosX = m_cbxPagePosX->currentIndex();
    l.PagePosY = m_cbxPagePosY->currentIndex();
    if (QListWidgetItem* font = m_lbxFontName->currentItem()) {
        l.FontName = font->text();
        l.FontCharset = font->data(Qt::UserRole).toInt();
    }
    l.FontSize = ListPrintMinFontSize + std::max(0, m_cbxFontSize->currentIndex());
    l.FontStyle = (m_chkBold->isChecked() ? FontStyleBold : 0) | (m_chkItalic->isChecked() ? FontStyleItalic : 0);
    l.RowCount = m_cbxRows->currentIndex() + 1;
    l.OffsetX = m_edtOffsetX->Value();
    l.OffsetY = m_edtOffsetY->Value();
    l.Line = m_lines.On;
    l.LineType = m_lines.Type;
    l.HorzInterval = m_edtInterval->Value();
    l.HeaderColorExists = m_pnlHeaderColor->text().isEmpty();
    l.HeaderColor = m_pnlHeaderColor->property("colorValue").toInt();
    l.Colors.clear();
    for (int i = 0; i < m_lbxColor->count(); ++i)
        l.Colors.append(m_lbxColor->item(i)->data(Qt::UserRole).toInt());
    l.DataSelect = std::max(0, m_range->Range().DataSelect);
    l.Copies = m_edtCopies->Value();
}

void TListPrint::SaveSettings()
{
    if (m_columns.isEmpty())
        return;
    // Read again now, so that keys other windows wrote meanwhile stay.
    TMemIniFile ini(DataRoot() + MainSettingsFileName);
    WriteListPrintLayout(ini, m_layout, m_columns);
    m_range->Range().WriteSettings(ini, ListPrintSection);
    m_printer->SetCopies(m_layout.Copies);
    QString error;
    if (!m_printer->Save(&error) || !ini.UpdateFile(&error))
        MessageBoxPos(this, QStringLiteral("設定が保存できませんでした  \r\n") + error, ProductTitle,
                      MsgSeam::MbIconStop);
}

// ---- templates and columns ----

void TListPrint::LoadTemplates()
{
    QList<int> shown;
    if (m_source.ShownColumns)
        shown = m_source.ShownColumns();
    m_templates.Load(ProgramFolder + QStringLiteral("Common/LstPrint.tpl"),
                     DataFolder + QStringLiteral("LPCustom.tpl"), ListColumnsLayout(shown, m_catalogue), m_columns);
    m_cbxTemplateType->clear();
    m_cbxTemplateType->addItem(QStringLiteral("オリジナル"));
    if (!m_templates.Custom.isEmpty())
        m_cbxTemplateType->addItem(QStringLiteral("カスタム"));
    m_templateType = -1;
    ChooseTemplateType(m_cbxTemplateType->count() - 1);
}

void TListPrint::ChooseTemplateType(int type)
{
    if (type == m_templateType)
        return;
    m_templateType = type;
    m_cbxTemplateType->setCurrentIndex(type);
    FillTemplateNames();
}

void TListPrint::FillTemplateNames()
{
    const QString typed = m_cbxTemplateName->currentText();
    const TListPrintTemplates& list = m_templateType == 1 ? m_templates.Custom : m_templates.Standard;
    m_cbxTemplateName->clear();
    for (const TListPrintTemplate& t : list)
        m_cbxTemplateName->addItem(t.Name);
    int index = 0;
    for (int i = 0; i < list.size(); ++i)
        if (list[i].Name == typed)
            index = i;
    if (list.isEmpty()) {
        m_cbxTemplateName->setEditText(typed);
        m_templateIndex = -1;
        UpdateActionButtons();
        return;
    }
    ChooseTemplateName(index);
}

void TListPrint::ChooseTemplateName(int index)
{
    const TListPrintTemplates& list = m_templateType == 1 ? m_templates.Custom : m_templates.Standard;
    if (index < 0 || index >= list.size())
        return;
    m_templateIndex = index;
    m_cbxTemplateName->setCurrentIndex(index);
    m_columns = list[index].Columns;
    ShowLayout();
    UpdateActionButtons();
    RefreshPreview();
}

void TListPrint::SaveTemplate()
{
    const QString name = TrimBlanks(m_cbxTemplateName->currentText());
    const int selected = m_templateType == 1 ? m_templateIndex : -1;
    const auto result = m_templates.Save(name, selected, m_columns);
    switch (result) {
    case TListPrintTemplateStore::SaveNoName:
        MessageBoxPos(this, QStringLiteral("保存するにはテンプレート名をつけてください  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        m_cbxTemplateName->setFocus();
        return;
    case TListPrintTemplateStore::SaveReservedName:
        MessageBoxPos(this,
                      QStringLiteral("その名称はアプリケーションで使われています  \r\n別の名称で保存してください  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(m_cbxTemplateName);
        return;
    case TListPrintTemplateStore::SaveOtherExists:
        MessageBoxPos(
            this,
            QStringLiteral("同じ名称のカスタムテンプレートが保存されています  \r\n別の名称で保存してください  "),
            ProductTitle, MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(m_cbxTemplateName);
        return;
    case TListPrintTemplateStore::SaveFull:
        return;
    case TListPrintTemplateStore::SaveAdded:
        if (m_cbxTemplateType->count() < 2)
            m_cbxTemplateType->addItem(QStringLiteral("カスタム"));
        m_templateType = 1;
        m_cbxTemplateType->setCurrentIndex(1);
        break;
    case TListPrintTemplateStore::SaveReplaced:
        break;
    }
    RewriteCustomTemplates();
    m_cbxTemplateName->setEditText(name);
    FillTemplateNames();
    m_cbxTemplateName->setFocus();
}

void TListPrint::DeleteTemplate()
{
    const QString name = TrimBlanks(m_cbxTemplateName->currentText());
    int index = -1;
    switch (m_templates.FindForDelete(name, index)) {
    case TListPrintTemplateStore::DeleteReservedName:
        MessageBoxPos(this, QStringLiteral("その名称はアプリケーションで使われているため  \r\n削除できません  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        return;
    case TListPrintTemplateStore::DeleteNotFound:
        MessageBoxPos(this, QStringLiteral("指定したテンプレート名が見つかりません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        return;
    case TListPrintTemplateStore::Deleted:
        break;
    }
    if (MessageBoxPos(this,
                      QStringLiteral("「") + name + QStringLiteral("」  \r\n\r\n") +
                          QStringLiteral("このテンプレートを削除してもよろしいですか？  "),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdNo)
        return;
    m_templates.Custom.removeAt(index);
    RewriteCustomTemplates();
    FillTemplateNames();
}

void TListPrint::RewriteCustomTemplates()
{
    QString error;
    if (!m_templates.WriteCustomFile(DataFolder + QStringLiteral("LPCustom.tpl"), &error))
        MessageBoxPos(this, QStringLiteral("テンプレートが保存できませんでした  \r\n") + error, ProductTitle,
                      MsgSeam::MbIconStop);
}

void TListPrint::ShowLayout()
{
    m_filling = true;
    m_lbxSrc->clear();
    for (int item = 0; item < m_catalogue.size(); ++item) {
        auto* entry = new QListWidgetItem(m_catalogue[item].Caption, m_lbxSrc);
        entry->setData(Qt::UserRole, item);
    }
    m_lbxDest->clear();
    for (const ListPrintColumn& c : m_columns) {
        m_lbxDest->addItem(m_catalogue.value(c.ItemNo).Caption);
        if (c.ItemNo == 0)
            continue;
        for (int i = 0; i < m_lbxSrc->count(); ++i)
            if (m_lbxSrc->item(i)->data(Qt::UserRole).toInt() == c.ItemNo) {
                delete m_lbxSrc->takeItem(i);
                break;
            }
    }
    m_lbxDest->addItem(QString()); // the end row
    m_lbxSrc->setCurrentRow(0);
    m_lbxDest->setCurrentRow(0);
    m_filling = false;
    UpdateColumnControls();
}

void TListPrint::UpdateColumnControls()
{
    const int row = m_lbxDest->currentRow();
    const bool column = row >= 0 && row < m_columns.size();
    if (!column) {
        m_edtSize->SetLocked(true, QStringLiteral("0"));
        m_cbxAlign->setCurrentIndex(-1);
        m_cbxAlign->setEnabled(false);
    } else {
        m_edtSize->SetLocked(false);
        m_edtSize->SetValue(m_columns[row].Width);
        m_cbxAlign->setEnabled(true);
        m_cbxAlign->setCurrentIndex(m_columns[row].Align);
    }
    m_bbtnUp->setEnabled(column && row > 0);
    m_bbtnDown->setEnabled(column && row < m_columns.size() - 1);
}

void TListPrint::UpdateActionButtons()
{
    const bool any = !m_columns.isEmpty();
    m_bbtnSaveTemplate->setEnabled(any && m_templates.CanSave());
    m_bbtnDeleteTemplate->setEnabled(m_templateType == 1 && !m_templates.IsBuiltIn(m_templateIndex) &&
                                     m_templates.UserCount() > 0);
    m_bbtnDelete->setEnabled(any);
    m_bbtnAllDelete->setEnabled(any);
    m_btnSave->setEnabled(any);
    m_btnPrint->setEnabled(any && TargetCount() > 0);
}

void TListPrint::SetColumn()
{
    if (m_columns.size() >= MaxListPrintColumns) {
        MessageBoxPos(this,
                      QStringLiteral("設定できる項目数は") + QStringLiteral("100") + QStringLiteral("項目です  ") +
                          QStringLiteral("\r\n") + QStringLiteral("これ以上追加できません  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        return;
    }
    QListWidgetItem* source = m_lbxSrc->currentItem();
    if (!source)
        return;
    TBusyCursor busy;
    const int item = source->data(Qt::UserRole).toInt();
    const int row = std::clamp(m_lbxDest->currentRow(), 0, int(m_columns.size()));
    m_columns.insert(row, {item, m_catalogue[item].Width, m_catalogue[item].Align});
    m_filling = true;
    m_lbxDest->insertItem(row, m_catalogue[item].Caption);
    m_lbxDest->setCurrentRow(row);
    if (item != 0) {
        const int at = m_lbxSrc->currentRow();
        delete m_lbxSrc->takeItem(at);
        m_lbxSrc->setCurrentRow(std::min(at, m_lbxSrc->count() - 1));
    }
    m_filling = false;
    UpdateColumnControls();
    UpdateActionButtons();
    RefreshPreview();
}

void TListPrint::DeleteColumn()
{
    if (m_columns.isEmpty())
        return;
    TBusyCursor busy;
    int row = m_lbxDest->currentRow();
    if (row < 0 || row >= m_columns.size())
        row = int(m_columns.size()) - 1;
    const int item = m_columns[row].ItemNo;
    m_filling = true;
    if (item != 0) {
        int at = m_lbxSrc->count();
        for (int i = 0; i < m_lbxSrc->count(); ++i)
            if (m_lbxSrc->item(i)->data(Qt::UserRole).toInt() > item) {
                at = i;
                break;
            }
        auto* entry = new QListWidgetItem(m_catalogue[item].Caption);
        entry->setData(Qt::UserRole, item);
        m_lbxSrc->insertItem(at, entry);
        m_lbxSrc->setCurrentRow(at);
    }
    m_columns.removeAt(row);
    delete m_lbxDest->takeItem(row);
    m_lbxDest->setCurrentRow(std::min(row, m_lbxDest->count() - 1));
    m_filling = false;
    if (m_columns.isEmpty())
        m_lbxSrc->setFocus();
    UpdateColumnControls();
    UpdateActionButtons();
    RefreshPreview();
}

void TListPrint::DeleteAllColumns()
{
    TBusyCursor busy;
    m_columns.clear();
    ShowLayout();
    UpdateActionButtons();
    m_lbxSrc->setFocus();
    RefreshPreview();
}

void TListPrint::MoveColumn(int delta)
{
    const int row = m_lbxDest->currentRow();
    const int to = row + delta;
    if (row < 0 || row >= m_columns.size() || to < 0 || to >= m_columns.size())
        return;
    m_columns.swapItemsAt(row, to);
    m_filling = true;
    QListWidgetItem* moved = m_lbxDest->takeItem(row);
    m_lbxDest->insertItem(to, moved);
    m_lbxDest->setCurrentRow(to);
    m_filling = false;
    UpdateColumnControls();
    RefreshPreview();
}

// ---- options, fonts, rules, colours ----

void TListPrint::UpdateOptionControls()
{
    for (QWidget* w : {static_cast<QWidget*>(m_dtpViewDate), static_cast<QWidget*>(m_cbxDatePosX),
                       static_cast<QWidget*>(m_cbxDatePosY)})
        w->setEnabled(m_chkViewDate->isChecked());
    for (QWidget* w : {m_cbxPageType, m_cbxPagePosX, m_cbxPagePosY})
        w->setEnabled(m_chkViewPage->isChecked());
}

void TListPrint::OptionChanged(bool recount)
{
    if (m_filling)
        return;
    if (recount)
        RecountRows();
    if (m_preview) {
        CollectSettings();
        RefreshPreview();
    }
}

void TListPrint::ShowFontSample()
{
    if (m_filling)
        return;
    QListWidgetItem* item = m_lbxFontName->currentItem();
    const int charset = item ? item->data(Qt::UserRole).toInt() : ShiftJisCharset;
    TFontSpec spec;
    SetFontAttributes(&spec, charset, item ? item->text() : ListPrintDefaultFont,
                      ListPrintMinFontSize + std::max(0, m_cbxFontSize->currentIndex()),
                      (m_chkBold->isChecked() ? FontStyleBold : 0) | (m_chkItalic->isChecked() ? FontStyleItalic : 0));
    m_pnlSample->setFont(ToQFont(spec));
    if (charset == ShiftJisCharset) {
        m_pnlCharset->setText(QStringLiteral("日本語"));
        m_pnlSample->setText(QStringLiteral("Tovarel"));
    } else {
        m_pnlCharset->setText(QStringLiteral("欧文"));
        m_pnlSample->setText(QStringLiteral("AaBbYyZz"));
    }
}

void TListPrint::PressLine(int k)
{
    const TRuleLines before = m_lines;
    m_lines.Press(k, m_dgLineType->currentRow());
    LinesChanged(before);
}

void TListPrint::LinesChanged(const TRuleLines& before)
{
    for (int k = 0; k < 6; ++k)
        m_sbtnLine[k]->setChecked(m_lines.On[size_t(k)]);
    m_pnlLinePreview->update();
    const bool recount = before.On[lrTop] != m_lines.On[lrTop] || before.Type[lrTop] != m_lines.Type[lrTop] ||
                         before.On[lrBottom] != m_lines.On[lrBottom] ||
                         before.Type[lrBottom] != m_lines.Type[lrBottom];
    OptionChanged(recount);
}

void TListPrint::SetHeaderColor(bool on, qint32 color)
{
    m_pnlHeaderColor->setProperty("colorValue", color);
    QPalette palette = m_pnlHeaderColor->palette();
    palette.setColor(QPalette::Window, on ? ColorFromValue(color) : QApplication::palette().button().color());
    m_pnlHeaderColor->setPalette(palette);
    m_pnlHeaderColor->setText(on ? QString() : QStringLiteral("なし"));
}

std::function<void(QWidget*)> TListPrint::PlaceDialog() const
{
    const QPoint at = frameGeometry().topLeft() + QPoint(15, 15);
    return [at](QWidget* dialog) {
        const QRect work = dialog->screen() ? dialog->screen()->availableGeometry() : QRect();
        QPoint p = at;
        if (work.isValid()) {
            p.setX(std::clamp(p.x(), work.left(), std::max(work.left(), work.right() - dialog->width())));
            p.setY(std::clamp(p.y(), work.top(), std::max(work.top(), work.bottom() - dialog->height())));
        }
        dialog->move(p);
    };
}

void TListPrint::ChooseHeaderColor()
{
    qint32 color = m_pnlHeaderColor->property("colorValue").toInt();
    if (!ExecuteColorDialog(this, color, PlaceDialog()))
        return;
    SetHeaderColor(true, color);
    OptionChanged(false);
}

void TListPrint::AddDataColor()
{
    if (m_lbxColor->count() >= ListPrintMaxColors)
        return;
    const int selected = m_lbxColor->currentRow();
    qint32 color = selected >= 0 ? m_lbxColor->item(selected)->data(Qt::UserRole).toInt() : 0xFFFFFF;
    if (!ExecuteColorDialog(this, color, PlaceDialog()))
        return;
    const int at = selected >= 0 ? selected + 1 : m_lbxColor->count();
    auto* item = new QListWidgetItem;
    item->setData(Qt::UserRole, color);
    m_lbxColor->insertItem(at, item);
    m_lbxColor->setCurrentRow(at);
    OptionChanged(false);
}

void TListPrint::ExchangeDataColors(int from, int to)
{
    const int count = m_lbxColor->count();
    if (from < 0 || to < 0 || from >= count || to >= count || from == to)
        return;
    QListWidgetItem* a = m_lbxColor->item(from);
    QListWidgetItem* b = m_lbxColor->item(to);
    const QVariant colour = a->data(Qt::UserRole);
    a->setData(Qt::UserRole, b->data(Qt::UserRole));
    b->setData(Qt::UserRole, colour);
    m_lbxColor->setCurrentRow(to);
    m_lbxColor->viewport()->update();
    OptionChanged(false);
}

void TListPrint::DeleteDataColor()
{
    const int row = m_lbxColor->currentRow();
    if (row < 0)
        return;
    delete m_lbxColor->takeItem(row);
    m_lbxColor->setCurrentRow(std::min(row, m_lbxColor->count() - 1));
    m_lbxColor->viewport()->update();
    OptionChanged(false);
}

// ---- printer, counts ----

void TListPrint::ShowPrinter()
{
    m_pnlPrinterName->setText(m_printer->DeviceName);
    qint32 error = 0;
    QString paper;
    m_printer->GetPaperName(error, paper);
    if (error != 0)
        MessageBoxPos(this, StoredPrinterMessage(error), ProductTitle, MsgSeam::MbIconStop);
    m_pnlPaperSize->setText(paper);
    m_pnlOrientation->setText(m_printer->GetOrientation() == 2 ? QStringLiteral("横") : QStringLiteral("縦"));
}

void TListPrint::ChoosePrinter()
{
    if (m_printer->GetCopies() != m_edtCopies->Value())
        m_printer->SetCopies(m_edtCopies->Value());
    TPrinterSetupDialog dialog(this);
    dialog.adjustSize();
    PlaceDialog()(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TBusyCursor busy;
    m_printer->TakeCurrentPrinter();
    m_printer->SetCopies(m_edtCopies->Value());
    ShowPrinter();
    RecountRows();
    RefreshPreview();
}

void TListPrint::RecountRows()
{
    if (m_filling)
        return;
    TListPrintLayout current = m_layout;
    std::swap(current, m_layout);
    CollectSettings();
    std::swap(current, m_layout);
    const int pageBottom = m_printer->PhysicalHeight - m_printer->OffsetY - m_printer->BottomMargin;
    const int y0 = m_printer->TenthMmToDevice(QPoint(0, current.OffsetY)).y();
    m_rowsPerPage = m_printer->DpiY > 0 ? CountRowsPerPage(current, m_printer->DpiY, pageBottom, y0) : 0;
    m_lblLineCount->setText(QString::asprintf("%d", std::max(m_rowsPerPage, 0)) + QStringLiteral(" 件"));
    ShowSheetCount();
}

void TListPrint::ShowSheetCount()
{
    m_pageCount = ListPageCount(TargetCount(), m_rowsPerPage);
    m_lblPaperCount->setText(QString::number(m_edtCopies->Value() * m_pageCount) + QStringLiteral(" 枚"));
}

void TListPrint::UpdateTargetCount()
{
    ShowSheetCount();
    RefreshPreview();
    UpdateActionButtons();
}

int TListPrint::TargetCount() const
{
    return m_range ? m_range->TargetCount() : 0;
}

const TRecordRange& TListPrint::Range() const
{
    return m_range->Range();
}

TListValueContext TListPrint::ValueContext(bool mask) const
{
    TListValueContext c;
    c.GroupNames = GroupNames;
    c.Hyphenate = AdrsHyphenateFunc();
    c.MajorCategoryName = [](int major) { return GetMajorCategoryName(major); };
    c.MinorCategoryName = [](int major, int minor) { return GetMinorCategoryName(major, minor); };
    c.IgnoreTdfkn = m_layout.IgnoreTdfkn;
    c.MaskProtected = mask && !AdminPassword.isEmpty() && !AdminMode;
    return c;
}

TListPageSource TListPrint::PageSource()
{
    TListPageSource s;
    s.Layout = &m_layout;
    s.Columns = &m_columns;
    s.Catalogue = &m_catalogue;
    s.Values = ValueContext(true);
    s.Range = m_range->Range();
    s.Rows = m_source.Rows;
    s.Cursor = m_source.Cursor ? m_source.Cursor() : nullptr;
    s.RowsPerPage = m_rowsPerPage;
    return s;
}

// ---- print and preview ----

bool TListPrint::RefuseEmptyPage()
{
    if (m_rowsPerPage > 0)
        return true;
    // Not even one record fits: nothing to divide the records by.
    MessageBoxPos(this,
                  QStringLiteral("１ページに印刷できるデータがありません  \r\n"
                                 "余白やフォントサイズなどの設定を見直してください  "),
                  ProductTitle, MsgSeam::MbIconExclamation);
    return false;
}

bool TListPrint::PrintList()
{
    TPrinter* printer = TPrinterList::Instance().Current();
    if (!printer) {
        MessageBoxPos(this, QStringLiteral("プリンターがインストールされていません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        return false;
    }
    if (!RefuseEmptyPage())
        return false;
    TListPageSource source = PageSource();
    source.Values.MaskProtected = false;
    try {
        if (PrintListPages(source, *printer, m_pageCount) != lpOk) {
            MessageBoxPos(this, QStringLiteral("印刷できませんでした  "), ProductTitle, MsgSeam::MbIconStop);
            return false;
        }
    } catch (const EFieldCipherError&) {
        MessageBoxPos(this, QStringLiteral("保護項目が復号できなかったため印刷を中止しました  "), ProductTitle,
                      MsgSeam::MbIconStop);
        return false;
    }
    return true;
}

void TListPrint::btnPrintClick()
{
    if (m_columns.isEmpty()) {
        MessageBoxPos(this, QStringLiteral("印刷する項目をセットしてください  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        m_lbxSrc->setFocus();
        return;
    }
    if (HasProtectedColumn(m_columns) && !AdminPassword.isEmpty() && !AdminMode) {
        MessageBoxPos(this,
                      QStringLiteral("管理者モードでなければマイナンバー項目や  \r\n保護メモ項目などを印刷できません  "),
                      ProductTitle, MsgSeam::MbIconExclamation);
        return;
    }
    if (MessageBoxPos(this, QStringLiteral("アドレス帳の一覧表を印刷します  \r\nよろしいですか？  "), ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdNo)
        return;
    bool printed = false;
    {
        TBusyCursor busy;
        repaint();
        CollectSettings();
        RecountRows();
        printed = PrintList();
        if (printed)
            SaveSettings();
    }
    if (printed)
        MessageBoxPos(this, QStringLiteral("一覧表の印刷が完了しました  "), ProductTitle,
                      MsgSeam::MbIconInformation);
    m_btnClose->setFocus();
}

void TListPrint::TogglePreview()
{
    if (m_preview) {
        m_preview->close();
        return;
    }
    if (!RefuseEmptyPage())
        return;
    TBusyCursor busy;
    CollectSettings();
    m_preview = new TListPrintPreview(this);
    m_preview->show();
}

TListPrintPreview* TListPrint::Preview() const
{
    return m_preview;
}

void TListPrint::PreviewShown(bool shown)
{
    m_btnPreview->setText(shown ? QStringLiteral("プレビューを閉じる") : QStringLiteral("プレビューを開く"));
}

void TListPrint::RefreshPreview()
{
    if (m_preview && !m_filling)
        m_preview->Rebuild();
}

// ---- the address list's calls ----

void TListPrint::UpdateDataRange()
{
    m_range->UpdateDataRange();
}

void TListPrint::UpdateKeywordNames()
{
    for (int i = 0; i < 8; ++i)
        m_catalogue[36 + i].Caption = KeywordNames.value(i);
    ShowLayout();
    RefreshPreview();
}

void TListPrint::UpdateProtectMemoNames()
{
    for (int i = 0; i < 10; ++i)
        m_catalogue[45 + i].Caption = ProtectMemoNames.value(i);
    ShowLayout();
    RefreshPreview();
}

void TListPrint::UpdateListLayoutTemplate()
{
    QList<int> shown;
    if (m_source.ShownColumns)
        shown = m_source.ShownColumns();
    const int at = m_templates.ListLayoutIndex();
    m_templates.Custom[at].Columns = ListColumnsLayout(shown, m_catalogue);
    if (m_templateType == 1 && m_templateIndex == at)
        ChooseTemplateName(at);
}

// ---- events ----

void TListPrint::closeEvent(QCloseEvent* event)
{
    if (m_preview)
        delete m_preview.data();
    QWidget::closeEvent(event);
}

void TListPrint::customEvent(QEvent* event)
{
    if (int(event->type()) == MsgListPrintRecount)
        RecountRows();
}

bool TListPrint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == m_lbxSrc && key == Qt::Key_Insert) {
        SetColumn();
        return true;
    }
    if (watched == m_lbxDest && key == Qt::Key_Delete) {
        DeleteColumn();
        return true;
    }
    if (watched == m_lbxColor && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        ShowPage(3);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the address list's road to the window ----

TListPrint* ShowListPrint(TAddressList& list)
{
    return ShowListFollower(ListPrint, list, [&list] {
        TListPrintSource source;
        source.Rows = &list;
        QPointer<TAddressList> guard(&list);
        source.Cursor = ListCursor(list);
        source.ShownColumns = [guard] {
            QList<int> items;
            if (guard)
                for (int i = 0; i < guard->GetVisibleColumnCount(); ++i)
                    items.append(guard->GetVisibleColumnItem(i));
            return items;
        };
        source.Detach = ListDetach(list);
        return new TListPrint(&list, std::move(source));
    });
}

void RegisterListPrint()
{
    RegisterListFollower(TListCommand::ListPrint, TListChild::ListPrint, ListPrint, &ShowListPrint);
}

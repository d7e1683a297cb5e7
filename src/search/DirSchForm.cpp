// The shared part of the directory search windows: jobs of the worker, the result page, status, paging and
// the hand-over of a hit to the record card.
#include "search/DirSchForm.h"

#include "addressbook/AdrsList.h"
#include "addressbook/CardServices.h"
#include "addressbook/DtInqiry.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CategoryNames.h"
#include "core/DialogSub.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "platform/IniFile.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "platform/IniFile.h"
#include "search/CtgryCond.h"
#include "search/DicWrapper.h"
#include "search/DirExportLine.h"
#include "search/EItmSel.h"
#include "search/Dlkelvor17.h"

#include <QApplication>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <cstring>

namespace {

QColor ColorOfBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

// ---- result model ----

int TDirResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_form.GetHitCount();
}

int TDirResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TDirSearchForm::ColCount;
}

QVariant TDirResultModel::data(const QModelIndex& index, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return m_form.RowText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter | (index.column() == TDirSearchForm::ColNo ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        if (m_form.RowPainted())
            return QBrush(ColorOfBgr(MainSettings.BGColor));
        return {};
    default:
        return {};
    }
}

QVariant TDirResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return TDirSearchForm::ColumnCaptions().value(section);
    return {};
}

void TDirResultModel::Repaint()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, TDirSearchForm::ColCount - 1));
}

// ---- status bar ----

TStatusPanels::TStatusPanels(const QList<int>& widths, int spacer, const QList<int>& centred, QWidget* parent)
    : QWidget(parent), m_widths(widths), m_spacer(spacer), m_centred(centred)
{
    m_texts.resize(widths.size());
    setObjectName(QStringLiteral("stbarInfo"));
}

void TStatusPanels::SetText(int panel, const QString& text)
{
    if (panel < 0 || panel >= m_texts.size() || m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update();
}

QSize TStatusPanels::sizeHint() const
{
    return {200, fontMetrics().height() + 8};
}

void TStatusPanels::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    int fixed = 0;
    for (int i = 0; i < m_widths.size(); ++i)
        if (i != m_spacer)
            fixed += ScaleByDpi(m_widths[i], 1);
    int x = 0;
    for (int i = 0; i < m_widths.size(); ++i) {
        const int w = i == m_spacer ? std::max(0, width() - fixed) : ScaleByDpi(m_widths[i], 1);
        const QRect r(x, 0, w, height());
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 1, -2, -2));
        p.setPen(palette().color(QPalette::WindowText));
        const bool centred = m_centred.contains(i);
        p.drawText(r.adjusted(2, 0, -3, 0), Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft),
                   m_texts[i]);
        x += w;
    }
}

// ---- busy animation ----

TBusyAnimation::TBusyAnimation(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("aniSearch"));
    setProperty("resource", QStringLiteral("SEARCH_AVI"));
    setFixedSize(ScaleByDpi(32, 1), ScaleByDpi(32, 1));
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % 12;
        update();
    });
}

void TBusyAnimation::showEvent(QShowEvent*)
{
    m_timer->start();
}

void TBusyAnimation::hideEvent(QHideEvent*)
{
    m_timer->stop();
}

void TBusyAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const double radius = std::min(width(), height()) / 2.0;
    const QColor base = palette().color(QPalette::Highlight);
    for (int i = 0; i < 12; ++i) {
        QColor c = base;
        // The dot of the frame darkest, the ones behind it fading.
        c.setAlphaF(1.0 - ((m_frame - i + 12) % 12) / 13.0);
        p.save();
        p.rotate(i * 30.0);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(0, -radius * 0.7), radius * 0.14, radius * 0.14);
        p.restore();
    }
}

// ---- result rows ----

void TDirResultDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const bool enabled = option.state & QStyle::State_Enabled;
    const QVariant background = index.data(Qt::BackgroundRole);
    QColor fill = option.palette.color(QPalette::Base);
    if (selected)
        fill = option.palette.color(QPalette::Active, QPalette::Highlight);
    else if (background.canConvert<QBrush>())
        fill = background.value<QBrush>().color();
    p->fillRect(option.rect, fill);
    QColor text;
    if (selected)
        text = enabled ? option.palette.color(QPalette::Active, QPalette::HighlightedText)
                       : option.palette.color(QPalette::Inactive, QPalette::WindowText);
    else
        text = option.palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    p->setPen(text);
    const int pad = ScaleByDpi(6, 1);
    const QRect cell = option.rect.adjusted(pad, 0, -pad, 0);
    const Qt::Alignment align =
        Qt::AlignVCenter | (index.column() == TDirSearchForm::ColNo ? Qt::AlignRight : Qt::AlignLeft);
    p->setFont(option.font);
    p->drawText(cell, int(align) | Qt::TextSingleLine,
                option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, cell.width()));
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && view->currentIndex().row() == index.row() && view->hasFocus()) {
        // One frame around the whole row: its top and bottom in every cell, its ends in the end cells.
        p->setPen(QPen(text, 1, Qt::DotLine));
        const QRect r = option.rect.adjusted(0, 0, -1, -1);
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.bottomLeft(), r.bottomRight());
        if (index.column() == 0)
            p->drawLine(r.topLeft(), r.bottomLeft());
        if (index.column() == index.model()->columnCount() - 1)
            p->drawLine(r.topRight(), r.bottomRight());
    }
}

// ---- history name field ----

THistoryNameCombo::THistoryNameCombo(QWidget* parent) : QComboBox(parent), tmrDropDown(new QTimer(this))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(30);
    tmrDropDown->setObjectName(QStringLiteral("tmrDropDown"));
    tmrDropDown->setSingleShot(true);
    tmrDropDown->setInterval(200);
    connect(tmrDropDown, &QTimer::timeout, this, [this] {
        const int chosen = chosenEntry ? chosenEntry() : -1;
        if (chosen >= 0 && chosen < count() && view()->isVisible())
            view()->setCurrentIndex(model()->index(chosen, 0));
    });
    view()->installEventFilter(this);
}

void THistoryNameCombo::Fill(const QStringList& names)
{
    const QString text = currentText();
    const QSignalBlocker block(this);
    clear();
    addItems(names);
    setCurrentIndex(-1);
    setEditText(text);
}

void THistoryNameCombo::showPopup()
{
    QComboBox::showPopup();
    if (chosenEntry && chosenEntry() >= 0)
        tmrDropDown->start();
}

bool THistoryNameCombo::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == view() && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
        const int row = view()->currentIndex().row();
        if (row >= 0 && count() > 0 && deleteEntry)
            deleteEntry(row);
        return true;
    }
    return QComboBox::eventFilter(watched, e);
}

// ---- window ----

const QStringList& TDirSearchForm::ColumnCaptions()
{
    static const QStringList captions{QStringLiteral("No."),      QStringLiteral("電話番号"),
                                      QStringLiteral("区分"),     QStringLiteral("掲載名"),
                                      QStringLiteral("住所"),     QStringLiteral("初期掲載年月"),
                                      QStringLiteral("大分類名"), QStringLiteral("小分類名")};
    return captions;
}

const QList<int>& TDirSearchForm::DefaultColumnWidths()
{
    static const QList<int> widths{48, 108, 48, 180, 230, 108, 150, 200};
    return widths;
}

TDirSearchForm::TDirSearchForm(TCardAddressBook* book, QWidget* cardOwner, int listSourceKind)
    : QWidget(nullptr, Qt::Window), m_book(book), m_cardOwner(cardOwner), m_listSourceKind(listSourceKind)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    bbtnCount = button("bbtnCount", QStringLiteral("件数確認"));
    bbtnSearch = button("bbtnSearch", QStringLiteral("検索"));
    bbtnPrior = button("bbtnPrior", QStringLiteral("前ページ"));
    bbtnPrior->setToolTip(QStringLiteral("１つ前のページに戻ります"));
    bbtnNext = button("bbtnNext", QStringLiteral("次ページ"));
    bbtnStop = button("bbtnStop", QStringLiteral("中断"));
    bbtnClose = button("bbtnClose", QStringLiteral("閉じる"));
    SetNextButton(false);
    bbtnStop->setEnabled(false);
    bbtnPrior->setEnabled(false);
    bbtnNext->setEnabled(false);
    connect(bbtnCount, &QPushButton::clicked, this, [this] { StartJob(SearchModeCount, PageMoveNew); });
    connect(bbtnSearch, &QPushButton::clicked, this, [this] { bbtnSearchClick(PageMoveNew); });
    connect(bbtnPrior, &QPushButton::clicked, this, [this] { bbtnSearchClick(PageMovePrior); });
    connect(bbtnNext, &QPushButton::clicked, this,
            [this] { bbtnSearchClick(bbtnNext->property("tag").toInt()); });
    connect(bbtnStop, &QPushButton::clicked, this, [this] { bbtnStopClick(); });
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);

    pnlSearch = new QWidget(this);
    pnlSearch->setObjectName(QStringLiteral("pnlSearch"));
    aniSearch = new TBusyAnimation(pnlSearch);
    pnlSearch->hide();

    ResultToolBar = new QWidget(this);
    ResultToolBar->setObjectName(QStringLiteral("ResultToolBar"));
    sbtnInquiry = new QToolButton(ResultToolBar);
    sbtnInquiry->setObjectName(QStringLiteral("sbtnInquiry"));
    sbtnInquiry->setText(QStringLiteral("照会"));
    sbtnInquiry->setToolTip(QStringLiteral("選択中の検索結果を照会します"));
    connect(sbtnInquiry, &QToolButton::clicked, this, [this] { sbtnInquiryClick(); });
    auto toolButton = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(ResultToolBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return b;
    };
    sbtnFileExport = toolButton("sbtnFileExport", QStringLiteral("選択出力"),
                                QStringLiteral("選択中の検索結果をテキストファイルに書き出します"));
    sbtnExportItemSelect = toolButton("sbtnExportItemSelect", QStringLiteral("項目設定"),
                                      QStringLiteral("ファイル出力する項目を設定します"));
    connect(sbtnFileExport, &QToolButton::clicked, this, [this] { sbtnFileExportClick(); });
    connect(sbtnExportItemSelect, &QToolButton::clicked, this, [this] { sbtnExportItemSelectClick(); });
    bbtnFileExport = button("bbtnFileExport", QStringLiteral("ファイル出力"));
    connect(bbtnFileExport, &QPushButton::clicked, this, [this] { bbtnFileExportClick(); });
    m_exportItems = DefaultDirExportItems();
    pnlAdrs = new QLabel(ResultToolBar);
    pnlAdrs->setObjectName(QStringLiteral("pnlAdrs"));
    pnlAdrs->hide();

    chkOmissionAdrs = new QCheckBox(QStringLiteral("検索結果の住所は省略して表示する"), this);
    chkOmissionAdrs->setObjectName(QStringLiteral("chkOmissionAdrs"));
    chkOmissionAdrs->setChecked(true);
    auto omissionColour = [this] {
        QPalette pal = chkOmissionAdrs->palette();
        pal.setColor(QPalette::WindowText,
                     chkOmissionAdrs->isChecked() ? QColor(Qt::blue) : palette().color(QPalette::WindowText));
        chkOmissionAdrs->setPalette(pal);
    };
    omissionColour();
    connect(chkOmissionAdrs, &QCheckBox::toggled, this, [this, omissionColour] {
        omissionColour();
        m_model.Repaint();
    });

    lvResult = new QTableView(this);
    lvResult->setObjectName(QStringLiteral("lvResult"));
    lvResult->setModel(&m_model);
    lvResult->setItemDelegate(new TDirResultDelegate(lvResult));
    lvResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvResult->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvResult->setSortingEnabled(false);
    lvResult->setWordWrap(false);
    lvResult->setShowGrid(false);
    lvResult->verticalHeader()->hide();
    lvResult->verticalHeader()->setDefaultSectionSize(lvResult->fontMetrics().height() + 4);
    for (int c = 0; c < ColCount; ++c)
        lvResult->setColumnWidth(c, ScaleByDpi(DefaultColumnWidths()[c], 1));
    lvResult->installEventFilter(this);
    connect(lvResult, &QTableView::doubleClicked, this, [this] { sbtnInquiryClick(); });
    connect(lvResult->horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int c) { lvResult->resizeColumnToContents(c); });

    stbarInfo = new TStatusPanels({60, 60, 60, 42, 72, 100, 60, 0, 108, 140}, 7, {1, 2, 4, 6}, this);
    stbarInfo->SetText(0, QStringLiteral("検索条件："));
    stbarInfo->SetText(3, QStringLiteral("結果："));
    ClearStatusPanels();
    SetCardListWindow(m_listSourceKind, this);
    const std::pair<QAbstractButton*, const char*> glyphs[] = {{bbtnCount, "SEARCHCOUNT"},
                                                               {bbtnFileExport, "FILEEXPORT"},
                                                               {bbtnSearch, "SEARCH"},
                                                               {bbtnStop, "SEARCHSTOP"},
                                                               {bbtnPrior, "UP"},
                                                               {bbtnClose, "CLOSE"},
                                                               {sbtnInquiry, "INQUIRY"},
                                                               {sbtnFileExport, "FILEEXPORT"},
                                                               {sbtnExportItemSelect, "ITEMSETTING"}};
    for (const auto& [button, glyph] : glyphs)
        SetButtonPicture(button, QString::fromLatin1(glyph));
    sbtnInquiry->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void TDirSearchForm::AddMatchKindPanel()
{
    auto* bar = new TStatusPanels({60, 60, 60, 60, 42, 72, 100, 60, 0, 108, 140}, 8, {1, 2, 3, 5, 7}, this);
    if (QLayout* layout = stbarInfo->parentWidget()->layout())
        delete layout->replaceWidget(stbarInfo, bar);
    delete stbarInfo;
    stbarInfo = bar;
    m_statusShift = 1;
    stbarInfo->SetText(0, QStringLiteral("検索条件："));
    stbarInfo->SetText(4, QStringLiteral("結果："));
    ClearStatusPanels();
}

void TDirSearchForm::ReadFormSettings(const QString& section, int defaultHeight, int defaultTopHeight,
                                      QSplitter* split, QSplitter* areaSplit)
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    auto read = [&ini, &section](const char* key, int def) {
        return ScaleByDpi(ini.ReadInteger(section, QString::fromLatin1(key), def), 1);
    };
    resize(read("Width", 960), read("Height", defaultHeight));
    const QRect screen = this->screen()->availableGeometry();
    move(read("Left", ScaleByDpi(screen.x() + (screen.width() - width()) / 2, 0)),
         read("Top", ScaleByDpi(screen.y() + (screen.height() - height()) / 2, 0)));
    const int top = read("TopHeight", defaultTopHeight);
    split->setSizes({top, std::max(ScaleByDpi(160, 1), height() - top)});
    const int city = read("CityWidth", 188);
    areaSplit->setSizes({ScaleByDpi(120, 1), city, std::max(ScaleByDpi(140, 1), city)});
    chkOmissionAdrs->setChecked(ini.ReadBool(section, QStringLiteral("OmissionAdrs"), true));
    for (int c = 0; c < ColCount; ++c) {
        const int stored =
            ini.ReadInteger(section, QStringLiteral("HeaderWidth") + QString::number(c + 1), 0);
        lvResult->setColumnWidth(c, ScaleByDpi(stored < 1 ? DefaultColumnWidths()[c] : stored, 1));
    }
}

void TDirSearchForm::WriteFormSettings(const QString& section, QSplitter* split, QWidget* cityList) const
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    auto write = [&ini, &section](const char* key, int pixels) {
        ini.WriteInteger(section, QString::fromLatin1(key), ScaleByDpi(pixels, 0));
    };
    const QRect normal = isMinimized() || isMaximized() ? normalGeometry() : geometry();
    write("Width", normal.width());
    write("Height", normal.height());
    write("Left", normal.x());
    write("Top", normal.y());
    write("TopHeight", split->sizes().value(0));
    write("CityWidth", cityList->width());
    ini.WriteBool(section, QStringLiteral("OmissionAdrs"), chkOmissionAdrs->isChecked());
    for (int c = 0; c < ColCount; ++c)
        write(QStringLiteral("HeaderWidth%1").arg(c + 1).toLatin1().constData(), lvResult->columnWidth(c));
    ini.UpdateFile();
}

void TDirSearchForm::SetStatusText(int panel, const QString& text)
{
    stbarInfo->SetText(panel >= 1 ? panel + m_statusShift : panel, text);
}

TDirSearchForm* TDirSearchForm::OtherSearchWindow() const
{
    return dynamic_cast<TDirSearchForm*>(ListChildWindow(
        m_listSourceKind == lsNameAdrsSearch ? TListChild::CategorySearch : TListChild::NameAdrsSearch));
}

void TDirSearchForm::EnableOtherSearchButtons(bool enable)
{
    if (TDirSearchForm* other = OtherSearchWindow())
        other->EnableSearchButtons(enable);
}

void TDirSearchForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (TDirSearchForm* other = OtherSearchWindow(); other && other->IsSearching())
        EnableSearchButtons(false);
}

TDirSearchForm::~TDirSearchForm()
{
    if (m_detach)
        m_detach();
    if (CardListWindow(m_listSourceKind) == this)
        SetCardListWindow(m_listSourceKind, nullptr);
    lvResult->removeEventFilter(this);
    m_worker.reset();
}

void TDirSearchForm::ShowFor(TAddressList& list, bool created)
{
    if (created) {
        list.AddFollower(this);
        TAddressListFollower* follower = this;
        SetDetach([guard = QPointer<TAddressList>(&list), follower] {
            if (guard)
                guard->RemoveFollower(follower);
        });
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

bool TDirSearchForm::IsSearching() const
{
    return bbtnStop->isEnabled();
}

void TDirSearchForm::EnableSearchButtons(bool enable)
{
    if (!enable) {
        m_priorWasEnabled = bbtnPrior->isEnabled();
        m_nextWasEnabled = bbtnNext->isEnabled();
    }
    bbtnCount->setEnabled(enable);
    bbtnSearch->setEnabled(enable);
    bbtnFileExport->setEnabled(enable);
    bbtnPrior->setEnabled(enable && m_priorWasEnabled);
    bbtnNext->setEnabled(enable && m_nextWasEnabled);
}

void TDirSearchForm::SetNextButton(bool runAgain)
{
    bbtnNext->setProperty("tag", runAgain ? PageMoveAgain : PageMoveNext);
    SetButtonPicture(bbtnNext, runAgain ? QStringLiteral("RESEARCH") : QStringLiteral("DOWN"));
    bbtnNext->setText(runAgain ? QStringLiteral("再検索") : QStringLiteral("次ページ"));
    bbtnNext->setToolTip(runAgain ? QStringLiteral("中断した検索を再度行います")
                                  : QStringLiteral("次のページの検索を行います"));
}

QString TDirSearchForm::DataFolder()
{
    return DirDataFolder(HddInstalled, HddInstallFolder, DiscFolder);
}

QString TDirSearchForm::DicFolder()
{
    return ProgramFolder + QStringLiteral("Dic/");
}

void TDirSearchForm::bbtnSearchClick(int tag)
{
    StartJob(SearchModeSearch, tag);
}

void TDirSearchForm::bbtnStopClick()
{
    m_stopPressed = true;
    if (m_worker)
        m_worker->RequestStop();
}

void TDirSearchForm::StartJob(int mode, int move)
{
    const bool fresh = mode != SearchModeSearch || move == PageMoveNew;
    if (fresh && !ValidateConditions(mode == SearchModeCount ? 0 : mode == SearchModeExport ? 1 : 2))
        return;
    if (!CheckPhoneDataPresent(HddInstalled, HddInstallFolder, DiscFolder, this))
        return;
    if (mode == SearchModeCount &&
        MessageBoxPos(this,
                      QStringLiteral("検索条件に該当するデータの総件数を調べます  \r\nよろしいですか？  "),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    LaunchJob(mode, move);
}

void TDirSearchForm::LaunchJob(int mode, int move)
{
    const bool fresh = mode != SearchModeSearch || move == PageMoveNew;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    EnableOtherSearchButtons(false);
    for (QPushButton* b : {bbtnCount, bbtnSearch, bbtnPrior, bbtnNext, bbtnClose, bbtnFileExport})
        b->setEnabled(false);
    bbtnStop->setEnabled(true);
    EnableConditionInputs(false);
    ClearStatusPanels();
    SetStatusText(4, mode == SearchModeCount    ? QStringLiteral("件数確認")
                     : mode == SearchModeSearch ? QStringLiteral("検索")
                                                : QStringLiteral("ファイル出力"));
    ClearResults();
    repaint();

    if (!m_worker)
        m_worker.reset(CreateWorker());
    if (fresh) {
        BuildConditions();
        m_worker->SetConditions(m_conditions, m_includeNames, m_excludeNames);
        m_worker->SetMode(mode);
    }
    if (mode == SearchModeSearch)
        m_worker->SetNavigation(move);
    if (mode == SearchModeExport) {
        m_worker->SetNavigation(PageMoveNew);
        m_worker->SetExportFile(m_exportAppend, m_exportFile, m_writeHeader);
        m_worker->SetExportItems(m_exportItems);
    }
    m_jobMode = mode;
    m_jobMove = move;
    pnlSearch->show();
    m_worker->PrepareJob();
    m_worker->Start();
}

void TDirSearchForm::EndJob()
{
    pnlSearch->hide();
    EnableConditionInputs(true);
    for (QPushButton* b : {bbtnCount, bbtnSearch, bbtnClose, bbtnFileExport})
        b->setEnabled(true);
    bbtnStop->setEnabled(false);
    EnableOtherSearchButtons(true);
    QApplication::restoreOverrideCursor();
}

void TDirSearchForm::SearchDone(TDirSearchWorker& worker)
{
    const int result = worker.Result();
    switch (result) {
    case 0:
    case 100:
        m_lastOutcome = result == 0 ? 0 : 2;
        m_shownPage = worker.PageNumber();
        CopyHits();
        ShowAreaCaption();
        ShowStatus(result == 0 ? 1 : 102);
        ShowResults();
        if (m_jobMove == PageMoveNew)
            RecordHistory();
        m_currentHit = -1;
        if (DataInquiry && DataInquiry->ListSource() == m_listSourceKind)
            DataInquiry->UpdateNavigation();
        break;
    case 1:
        m_lastOutcome = 1;
        ShowStatus(101);
        ClearResults();
        if (m_jobMove == PageMoveNew) {
            RecordHistory();
            MessageBoxPos(this, QStringLiteral("該当するデータが見つかりませんでした  "), ProductTitle,
                          MsgSeam::MbIconInformation);
        }
        break;
    default:
        m_lastOutcome = 3;
        ShowStatus(999);
        ClearResults();
        MessageBoxPos(this,
                      SearchErrorTitle() + QStringLiteral("\r\nRC = ") + QString::number(result) +
                          QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbIconStop);
        break;
    }
    SetNextButton(result == 100 && worker.PageNumber() > 1);
    EndJob();
    bbtnPrior->setEnabled(!worker.FirstPage());
    bbtnNext->setEnabled(!worker.LastPage());
    switch (result) {
    case 0:
        lvResult->setFocus();
        break;
    case 1:
        FocusNameField();
        break;
    case 100:
        (bbtnNext->isEnabled() ? bbtnNext : bbtnSearch)->setFocus();
        break;
    default:
        bbtnClose->setFocus();
        break;
    }
}

void TDirSearchForm::ExportDone(TDirSearchWorker& worker)
{
    const int result = worker.Result();
    m_linesWritten = worker.LinesWritten();
    pnlSearch->hide();
    QString text;
    unsigned icon = MsgSeam::MbIconInformation;
    switch (result) {
    case 0:
        m_lastOutcome = 0;
        ShowStatus(2);
        text = QString::number(m_linesWritten) + QStringLiteral(" 件のデータを出力しました  ");
        break;
    case 1:
        m_lastOutcome = 1;
        ShowStatus(101);
        text = QStringLiteral("該当するデータが見つかりませんでした  ");
        break;
    case 100:
        m_lastOutcome = 2;
        ShowStatus(102);
        text = QStringLiteral("中断しました  ");
        break;
    default:
        m_lastOutcome = 3;
        text =
            QStringLiteral("ファイル出力エラー  \r\nRC = ") + QString::number(result) + QStringLiteral("  ");
        // The file that could not be opened or written, and why.
        if (result == SearchExportFileError)
            text += QStringLiteral("\r\n") + worker.ExportFileError() + QStringLiteral("  ");
        icon = MsgSeam::MbIconStop;
        break;
    }
    if (m_lastOutcome != 3)
        RecordHistory();
    MessageBoxPos(this, text, ProductTitle, icon);
    worker.CloseExportFile();
    if (m_lastOutcome == 3)
        m_exportFile = m_exportFileBefore;
    m_conditions.clear();
    EndJob();
}

void TDirSearchForm::CountDone(TDirSearchWorker& worker)
{
    const int result = worker.Result();
    QString text;
    unsigned icon = MsgSeam::MbIconInformation;
    switch (result) {
    case 0:
        m_lastOutcome = 0;
        ShowStatus(0);
        text = QString::number(worker.HitTotal()) + QStringLiteral(" 件のデータが見つかりました  ");
        break;
    case 1:
        m_lastOutcome = 1;
        ShowStatus(101);
        text = QStringLiteral("該当するデータが見つかりませんでした  ");
        break;
    case 100:
        m_lastOutcome = 2;
        ShowStatus(102);
        text = QStringLiteral("中断しました  ");
        break;
    default:
        m_lastOutcome = 3;
        text = QStringLiteral("件数確認エラー  \r\nRC = ") + QString::number(result) + QStringLiteral("  ");
        icon = MsgSeam::MbIconStop;
        break;
    }
    pnlSearch->hide();
    if (m_lastOutcome != 3)
        RecordHistory();
    MessageBoxPos(this, text, ProductTitle, icon);
    m_conditions.clear();
    EndJob();
}

// ---- status ----

void TDirSearchForm::ClearStatusPanels()
{
    m_lastOutcome = 0;
    for (int panel : {1, 2, 5, 6})
        SetStatusText(panel, QString());
    if (m_statusShift)
        stbarInfo->SetText(1, QString());
    SetStatusText(8, QStringLiteral(" 表示ページ： ---"));
    SetStatusText(9, QStringLiteral(" 検索総件数： -----"));
    m_stopPressed = false;
}

void TDirSearchForm::ShowStatus(int code)
{
    if (code == 0 || code == 1 || code == 2 || code == 102) {
        QString kinds, form;
        if (!m_conditions.isEmpty()) {
            const TDirSearchCondRec& c = m_conditions.first();
            const QString letters[] = {QStringLiteral("通"), QStringLiteral("Ｆ"), QStringLiteral("兼"),
                                       QStringLiteral("代")};
            for (int bit = 0; bit < 4; ++bit)
                if (c.PhoneKinds & (1 << bit))
                    kinds += letters[bit];
            form = LegalFormCaptions().value(c.LegalForm);
        }
        SetStatusText(1, kinds);
        SetStatusText(2, form);
        if (m_statusShift && !m_conditions.isEmpty())
            stbarInfo->SetText(1, MatchKindCaptions().value(m_conditions.first().MatchKind));
    } else if (code == 101 || code == 999) {
        SetStatusText(1, QString());
        SetStatusText(2, QString());
        if (m_statusShift)
            stbarInfo->SetText(1, QString());
    }
    if (code == 999) {
        SetStatusText(5, QStringLiteral(" 件数： "));
        SetStatusText(6, QStringLiteral(" エラー"));
        return;
    }
    const int count = m_jobMode == SearchModeExport ? (m_worker ? m_worker->LinesWritten() : 0)
                                                    : (m_worker ? m_worker->HitTotal() : 0);
    SetStatusText(5, QStringLiteral(" 件数： ") + QString::number(count));
    static const QHash<int, QString> outcome{{0, QStringLiteral("確認完了")},
                                             {1, QStringLiteral("検索完了")},
                                             {2, QStringLiteral("出力完了")},
                                             {101, QStringLiteral("該当無し")},
                                             {102, QStringLiteral("検索中断")}};
    SetStatusText(6, outcome.value(code));
    if (code == 1 && m_worker && m_worker->HitTotal() > 0) {
        const int pageSize = m_conditions.isEmpty() ? 20 : m_conditions.first().PageSize;
        SetStatusText(8, QStringLiteral(" 表示ページ： ") + QString::number(m_shownPage));
        SetStatusText(9, QStringLiteral(" 検索総件数： ") +
                             QString::number(pageSize * (m_shownPage - 1) + GetHitCount()));
    }
}

// ---- results ----

void TDirSearchForm::CopyHits()
{
    m_hits.clear();
    for (int i = 0; i < m_worker->HitTotal(); ++i) {
        TDirHitRec hit = m_worker->GetHit(i);
        AnsiString tel = FieldText(hit.Tel);
        HyphenatePhone(tel);
        std::memset(hit.Tel, 0, sizeof hit.Tel);
        std::memcpy(hit.Tel, tel.constData(), std::min<size_t>(tel.size(), sizeof hit.Tel - 1));
        m_hits << hit;
    }
}

void TDirSearchForm::ShowResults()
{
    m_model.Reset();
    if (!m_hits.isEmpty()) {
        lvResult->selectRow(0);
        lvResult->setCurrentIndex(m_model.index(0, 0));
    }
}

void TDirSearchForm::ClearResults()
{
    m_hits.clear();
    m_shownPage = -1;
    m_currentHit = -1;
    pnlAdrs->clear();
    pnlAdrs->hide();
    m_model.Reset();
    if (DataInquiry && DataInquiry->ListSource() == m_listSourceKind)
        DataInquiry->UpdateNavigation();
}

void TDirSearchForm::ShowAreaCaption()
{
    pnlAdrs->setText(m_areaCaption);
    pnlAdrs->setVisible(!m_areaCaption.isEmpty());
}

QString TDirSearchForm::RowText(int row, int column) const
{
    if (row < 0 || row >= m_hits.size())
        return {};
    const TDirHitRec& hit = m_hits[row];
    switch (column) {
    case ColNo: {
        const int pageSize = m_conditions.isEmpty() ? 20 : m_conditions.first().PageSize;
        return QString::number(row + (m_shownPage - 1) * pageSize + 1);
    }
    case ColTel:
        return ToWide(FieldText(hit.Tel));
    case ColKind:
        switch (hit.PhoneKind) {
        case 1:
            return QStringLiteral("Fax");
        case 2:
            return QStringLiteral("F兼");
        case 3:
            return QStringLiteral("代表");
        default:
            return {};
        }
    case ColName:
        return ToWide(FieldText(hit.Name));
    case ColAddress: {
        const QString address = ToWide(FieldText(hit.Address));
        return chkOmissionAdrs->isChecked() ? OmitAreaCaption(address, m_areaCaption) : address;
    }
    case ColListing: {
        const QString listing = ToWide(FieldText(hit.FirstListing));
        if (listing.isEmpty())
            return {};
        return listing.left(4) + QStringLiteral("年") + listing.mid(4, 2) + QStringLiteral("月");
    }
    case ColMajor:
    case ColMinor: {
        const QString category = ToWide(FieldText(hit.Category));
        if (category.isEmpty() || category == QStringLiteral("0000"))
            return {};
        const int major = category.left(2).toInt();
        return column == ColMajor ? GetMajorCategoryName(major)
                                  : GetMinorCategoryName(major, category.mid(2, 2).toInt());
    }
    default:
        return {};
    }
}

bool TDirSearchForm::RowPainted() const
{
    return MainSettings.BGPaint && DataInquiry && DataInquiry->ListSource() == m_listSourceKind &&
           m_currentHit >= 0;
}

void TDirSearchForm::UpdateResultColor()
{
    QPalette pal = lvResult->palette();
    pal.setColor(QPalette::Base,
                 RowPainted() ? ColorOfBgr(MainSettings.BGColor) : palette().color(QPalette::Base));
    lvResult->setPalette(pal);
    m_model.Repaint();
}

// ---- hits for the record card ----

void TDirSearchForm::SetCurrentHit(int i)
{
    if (i >= -1 && i <= GetHitCount() - 1)
        m_currentHit = i;
}

int TDirSearchForm::ReadHitDetail(const AnsiString& number, int32_t key, TDirDetailRec& detail) const
{
    if (m_conditions.isEmpty())
        return DirSearchNotLoaded;
    return ReadDirHitDetail(m_conditions.first(), number, key, detail);
}

bool TDirSearchForm::FetchHitDetail(int i, TDirDetailRec& detail)
{
    if (i < 0 || i >= GetHitCount())
        return false;
    if (!CheckPhoneDataPresent(HddInstalled, HddInstallFolder, DiscFolder, this))
        return false;
    const TDirHitRec& hit = m_hits[i];
    if (ReadHitDetail(FieldText(hit.Tel), hit.DetailKey, detail) != 0)
        return false;
    m_currentHit = i;
    lvResult->clearSelection();
    lvResult->selectRow(i);
    lvResult->setCurrentIndex(m_model.index(i, 0));
    lvResult->scrollTo(m_model.index(i, 0));
    return true;
}

bool TDirSearchForm::MoveAndRead(TCardMove move, TCardItem& item)
{
    int target = -1;
    switch (move) {
    case cmFirst:
        target = 0;
        break;
    case cmPrior:
        target = IsFirstHit() ? -1 : m_currentHit - 1;
        break;
    case cmNext:
        target = IsLastHit() ? -1 : m_currentHit + 1;
        break;
    case cmLast:
        target = GetHitCount() - 1;
        break;
    }
    item.isDirectory = true;
    return target >= 0 && FetchHitDetail(target, item.directory);
}

void TDirSearchForm::sbtnInquiryClick()
{
    const QModelIndexList rows = lvResult->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    int first = rows.first().row();
    for (const QModelIndex& r : rows)
        first = std::min(first, r.row());
    TBusyCursor busy;
    bool saved = false;
    qint32 recNo = -1;
    if (DataInquiry) {
        recNo = DataInquiry->GetLoadedRecNo();
        const int answer = DataInquiry->ConfirmPendingChanges(0, 0);
        if (answer == 9)
            return;
        saved = answer == 0;
        if (saved && recNo == -1) {
            // The record just registered: the last one in physical order.
            Table& adrs = ModuleCardData().AdrsTable();
            const QString index = adrs.indexName();
            adrs.setIndexName(QString());
            adrs.last();
            recNo = qint32(adrs.fieldByName(QStringLiteral("RecNo")).asInteger());
            adrs.setIndexName(index);
        }
    }
    TDirDetailRec detail;
    if (m_book && FetchHitDetail(first, detail)) {
        if (!DataInquiry)
            DataInquiry = new TDataInquiry(m_book, ModuleCardData(), m_cardOwner);
        if (DataInquiry->isMinimized())
            DataInquiry->showNormal();
        DataInquiry->SetListSource(m_listSourceKind);
        DataInquiry->ShowDirectoryRecord(detail);
        DataInquiry->show();
        DataInquiry->raise();
        DataInquiry->activateWindow();
        UpdateResultColor();
    }
    if (saved && m_book) {
        m_book->RefreshList(false, true, true);
        const int index = m_book->IndexOfRecNo(recNo);
        m_book->SelectIndex(index >= 0 ? index : 0, index >= 0);
    }
}

// ---- window events ----

void TDirSearchForm::ResultKeyPress(int key, Qt::KeyboardModifiers modifiers, bool& handled)
{
    const int row = lvResult->currentIndex().row();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        sbtnInquiryClick();
        handled = true;
    } else if (key == Qt::Key_PageUp && !(modifiers & Qt::ShiftModifier) && row == 0 &&
               bbtnPrior->isEnabled()) {
        bbtnSearchClick(PageMovePrior);
        handled = true;
    } else if (key == Qt::Key_PageDown && !(modifiers & Qt::ShiftModifier) && bbtnNext->isEnabled() &&
               !m_conditions.isEmpty() && row == m_conditions.first().PageSize - 1) {
        bbtnSearchClick(bbtnNext->property("tag").toInt());
        handled = true;
    }
}

bool TDirSearchForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == lvResult && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        bool handled = false;
        ResultKeyPress(key->key(), key->modifiers(), handled);
        if (handled)
            return true;
    }
    return QWidget::eventFilter(watched, e);
}

void TDirSearchForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && focusWidget() != lvResult) {
        if (QWidget* target = EnterTarget(focusWidget()))
            target->setFocus();
        else
            focusNextChild();
        if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
            edit->end(false);
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TDirSearchForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::MouseButtonPress) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != this) {
            modal->raise();
            modal->activateWindow();
        }
    }
    return QWidget::event(e);
}

void TDirSearchForm::closeEvent(QCloseEvent* e)
{
    if (IsSearching()) {
        e->ignore();
        return;
    }
    if (DataInquiry && DataInquiry->ListSource() == m_listSourceKind)
        DataInquiry->DisableNavigation();
    SetCardListWindow(m_listSourceKind, nullptr);
    QWidget::closeEvent(e);
}

// ---- export ----

void TDirSearchForm::LoadExportSettings(const TMemIniFile& ini)
{
    m_exportFile = ini.ReadString(SettingsSection(), QStringLiteral("ExportFile"), QString());
    m_exportItems = ReadDirExportItems(ini, SettingsSection());
}

void TDirSearchForm::SaveExportFile(TMemIniFile& ini) const
{
    ini.WriteString(SettingsSection(), QStringLiteral("ExportFile"), m_exportFile);
}

void TDirSearchForm::SaveExportItems() const
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    WriteDirExportItems(ini, SettingsSection(), m_exportItems);
    ini.UpdateFile();
}

int TDirSearchForm::ChooseExportFile(QString& fileName)
{
    const unsigned ask = MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2;
    bool dialog = true;
    if (!fileName.isEmpty()) {
        const QFileInfo info(fileName);
        if (info.absoluteDir().exists()) {
            const int answer =
                MessageBoxPos(this,
                              QDir::toNativeSeparators(fileName) +
                                  QStringLiteral("  \r\nへ出力します  \r\n\r\n出力先を変更しますか？  "),
                              ProductTitle, ask);
            if (answer == MsgSeam::IdCancel)
                return 9;
            dialog = answer == MsgSeam::IdYes;
        } else {
            fileName = ::DataFolder + info.fileName();
        }
    }
    if (dialog) {
        QFileDialog box(this, QString());
        box.setObjectName(QStringLiteral("dlgExportFile"));
        box.setOption(QFileDialog::DontUseNativeDialog);
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setFileMode(QFileDialog::AnyFile);
        box.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters{QStringLiteral("テキストファイル (*.txt)"),
                                  QStringLiteral("CSVファイル (*.csv)"),
                                  QStringLiteral("すべてのファイル (*)")};
        box.setNameFilters(filters);
        if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
            box.setDirectory(QFileInfo(fileName).absolutePath());
            box.selectFile(QFileInfo(fileName).fileName());
        } else {
            box.setDirectory(::DataFolder);
            box.selectFile(QStringLiteral("検索結果"));
        }
        QRect place(geometry().topLeft() + QPoint(15, 15), box.sizeHint());
        if (const QScreen* s = screen()) {
            const QRect work = s->availableGeometry();
            place.moveLeft(
                std::clamp(place.left(), work.left(), std::max(work.left(), work.right() - place.width())));
            place.moveTop(
                std::clamp(place.top(), work.top(), std::max(work.top(), work.bottom() - place.height())));
        }
        box.move(place.topLeft());
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
            return 9;
        QString chosen = box.selectedFiles().first().trimmed();
        if (QFileInfo(chosen).suffix().isEmpty())
            chosen +=
                box.selectedNameFilter() == filters[1] ? QStringLiteral(".csv") : QStringLiteral(".txt");
        fileName = chosen;
    }
    const QFileInfo info(fileName);
    if (!QDir().mkpath(info.absolutePath())) {
        MessageBoxPos(this, QStringLiteral("フォルダーが作成できませんでした  "), ProductTitle,
                      MsgSeam::MbIconStop);
        return 9;
    }
    int result = 0;
    if (info.exists()) {
        const int answer = MessageBoxPos(this,
                                         QStringLiteral("既にあるファイルを指定しました  \r\n"
                                                        "上書きするなら「はい」  \r\n"
                                                        "追加するなら「いいえ」  \r\n"
                                                        "中止するなら「キャンセル」  \r\n"
                                                        "を選択してください  "),
                                         ProductTitle, ask);
        result = answer == MsgSeam::IdYes ? 0 : answer == MsgSeam::IdNo ? 1 : 9;
    }
    if (result != 9)
        m_exportFile = fileName;
    return result;
}

void TDirSearchForm::bbtnFileExportClick()
{
    if (!ValidateConditions(1) || !CheckPhoneDataPresent(HddInstalled, HddInstallFolder, DiscFolder, this))
        return;
    if (MessageBoxPos(
            this,
            QStringLiteral("検索条件に該当するデータを  \r\nCSV形式でテキストファイルに出力します  \r\n"
                           "よろしいですか？  "),
            ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    m_exportFileBefore = m_exportFile;
    m_linesWritten = 0;
    QString name = m_exportFile;
    const int choice = ChooseExportFile(name);
    if (choice == 9)
        return;
    m_writeHeader = choice == 0;
    m_exportAppend = choice == 1;
    LaunchJob(SearchModeExport, PageMoveNew);
}

AnsiString TDirSearchForm::BuildExportLine(int i) const
{
    const TDirHitRec& hit = m_hits[i];
    if (DirExportNeedsDetail(m_exportItems)) {
        TDirDetailRec detail;
        if (ReadHitDetail(FieldText(hit.Tel), hit.DetailKey, detail) == 0)
            return DirExportLine(hit, &detail, m_exportItems);
    }
    return DirExportLine(hit, nullptr, m_exportItems);
}

bool TDirSearchForm::WriteSelectedLines(bool all, QFile& file)
{
    QList<int> rows;
    for (int i = 0; i < GetHitCount(); ++i)
        if (all || lvResult->selectionModel()->isRowSelected(i, QModelIndex()))
            rows << i;
    int lines = 0;
    const AnsiString text = DirExportText(
        m_exportItems, m_writeHeader, int(rows.size()),
        [this, &rows](int i) { return BuildExportLine(rows[i]); }, lines);
    if (!text.isEmpty() && file.write(text) != text.size())
        return false;
    m_linesWritten += lines;
    return true;
}

void TDirSearchForm::sbtnFileExportClick()
{
    const int selected = int(lvResult->selectionModel()->selectedRows().size());
    if (selected == 0 || !CheckPhoneDataPresent(HddInstalled, HddInstallFolder, DiscFolder, this))
        return;
    if (MessageBoxPos(this,
                      QString::number(selected) +
                          QStringLiteral(" 件のデータを  \r\nCSV形式でテキストファイルに出力します  \r\n"
                                         "よろしいですか？  "),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    stbarInfo->SetText(4, QStringLiteral("ファイル出力"));
    repaint();
    m_linesWritten = 0;
    QString name = m_exportFile;
    const int choice = ChooseExportFile(name);
    if (choice == 9)
        return;
    m_writeHeader = choice == 0;
    QFile file(name);
    bool written = false;
    {
        TBusyCursor busy;
        if (file.open(choice == 1 ? QIODevice::WriteOnly | QIODevice::Append
                                  : QIODevice::WriteOnly | QIODevice::Truncate))
            written = WriteSelectedLines(false, file);
        file.close();
    }
    if (!written) {
        MessageBoxPos(this,
                      QDir::toNativeSeparators(name) + QStringLiteral("  \r\n") + file.errorString() +
                          QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbIconStop);
        return;
    }
    stbarInfo->SetText(5, QStringLiteral(" 件数： ") + QString::number(m_linesWritten));
    stbarInfo->SetText(6, QStringLiteral("出力完了"));
    MessageBoxPos(this, QString::number(m_linesWritten) + QStringLiteral(" 件のデータを出力しました  "),
                  ProductTitle, MsgSeam::MbIconInformation);
}

void TDirSearchForm::sbtnExportItemSelectClick()
{
    TExportItemSelect dialog(this);
    dialog.LoadItems(m_exportItems);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.StoreItems(m_exportItems);
    SaveExportItems();
}

// The text import window.
#include "dataexchange/FImport.h"

#include "addressbook/AdrsList.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/PrtctMemoEdt.h"
#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CategoryNames.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "dataexchange/ConstIn.h"
#include "dataexchange/ImportTable.h"
#include "dataexchange/SetOrdVw.h"
#include "maintenance/TableTools.h"
#include "platform/IniFile.h"
#include "search/ConAdrsDicClass.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Filters =
    QStringLiteral("テキストファイル (*.txt);;ＣＳＶファイル (*.csv);;すべてのファイル (*)");
constexpr int KindRole = Qt::UserRole + 1;

// The file-column grid marks what it drags, so the mapping grid knows a column when one comes.
class TColumnGrid : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;

protected:
    QStringList mimeTypes() const override { return {ImportColumnMime}; }
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override
    {
        auto* data = new QMimeData;
        data->setData(ImportColumnMime, QByteArray::number(items.isEmpty() ? -1 : items.constFirst()->row()));
        return data;
    }
};

// Column cells shown for a blank first-line text are red (yellow when selected), constants blue (aqua).
class TPartDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int kind = index.data(KindRole).toInt();
        const bool selected = option->state & QStyle::State_Selected;
        QColor colour;
        if (kind == TImportPartSpec::BlankColumn)
            colour = selected ? QColor(Qt::yellow) : QColor(Qt::red);
        else if (kind == TImportPartSpec::Constant)
            colour = selected ? QColor(Qt::cyan) : QColor(Qt::blue);
        if (colour.isValid()) {
            option->palette.setColor(QPalette::Text, colour);
            option->palette.setColor(QPalette::HighlightedText, colour);
        }
    }
};

template <class G = QTableWidget> G* Grid(QWidget* parent, const char* name)
{
    auto* grid = Named<G>(parent, name);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setFixedHeight(ScaleByDpi(260, 1));
    SetImeMode(grid, imClose);
    return grid;
}

QToolButton* PartButton(QWidget* parent, const char* name, const QString& caption, const char* picture)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setText(caption);
    button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    SetButtonPicture(button, QLatin1String(picture));
    button->setMinimumWidth(ScaleByDpi(84, 1));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

bool IsEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString ErrorFilePath()
{
    return DataFolder + QStringLiteral("InError.txt");
}

// The converter's answer for a complete address; its failures leave the address as it is.
std::optional<TImportCompletion> Complete(TContinualAdrsSearch& converter, const AnsiString& address)
{
    try {
        if (converter.Search(address) != 0)
            return std::nullopt;
        const TAdrsConvResultRec& r = converter.GetResult(true);
        const auto text = [](const char* field, std::size_t size) {
            return AnsiString(field, qsizetype(qstrnlen(field, uint(size))));
        };
        TImportCompletion c;
        c.postal = text(r.PostalCode, sizeof r.PostalCode);
        c.municipality = text(r.JisCode, sizeof r.JisCode);
        c.block = text(r.BlockCode, sizeof r.BlockCode);
        c.latitude = r.Latitude;
        c.longitude = r.Longitude;
        return c;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

TImportLookups OpenBookLookups(const TAddressList& list)
{
    TImportLookups lookups;
    lookups.groupNames = GroupNames;
    for (int i = 0; i < list.GetSenderCount(); ++i)
        lookups.senders.append({ToAnsi(list.GetSenderTitle(i)), list.GetSenderRecNo(i)});
    lookups.isMajorCode = [](int code) {
        return std::any_of(MajorCategoryNames.cbegin(), MajorCategoryNames.cend(),
                           [code](const CodedName& n) { return n.code == code; });
    };
    lookups.isMinorCode = [](int major, int code) {
        if (major < 1 || major > MajorCategoryCount)
            return false;
        const CodedNameList& minors = MinorCategoryLists[std::size_t(major - 1)];
        return std::any_of(minors.cbegin(), minors.cend(),
                           [code](const CodedName& n) { return n.code == code; });
    };
    return lookups;
}

// ---- creation ----

TFileImport::TFileImport(QWidget* owner, TFileImportSource source)
    : QDialog(owner), m_source(std::move(source))
{
    setObjectName(QStringLiteral("FileImport"));
    setWindowTitle(QStringLiteral("テキストファイルの取り込み"));
    setProperty("helpTopic", HelpTopic);
    BuildWindow();
    LoadSettings();
    ResetMatchingControls();
    InitDestGrid();
    InitSrcGrid();
    ApplyEnabling();
    adjustSize();
    LoadPosition();
}

TFileImport::~TFileImport()
{
    SavePosition();
}

void TFileImport::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);

    auto* gbxFile = Named<QGroupBox>(this, "gbxFile", QStringLiteral("方法とファイルの設定"));
    m_gbxFile = gbxFile;
    {
        auto* grid = new QGridLayout(gbxFile);
        m_rbImportAdd = Named<QRadioButton>(gbxFile, "rbImportAdd", QStringLiteral("追加"));
        m_rbImportUpdate = Named<QRadioButton>(gbxFile, "rbImportUpdate", QStringLiteral("更新"));
        auto* types = new QHBoxLayout;
        types->addWidget(m_rbImportAdd);
        types->addWidget(m_rbImportUpdate);
        types->addStretch();
        grid->addWidget(new QLabel(QStringLiteral("取り込み方法："), gbxFile), 0, 0);
        grid->addLayout(types, 0, 1, 1, 2);
        m_edtFile = Named<QLineEdit>(gbxFile, "edtFile");
        m_edtFile->setMaxLength(200);
        SetImeMode(m_edtFile, imClose);
        auto* browse = PartButton(gbxFile, "bbtnBrowseFile", QStringLiteral("参照"), "FOLDER");
        browse->setMinimumWidth(0);
        browse->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        connect(browse, &QToolButton::clicked, this, &TFileImport::bbtnBrowseFileClick);
        grid->addWidget(new QLabel(QStringLiteral("取り込むファイル："), gbxFile), 1, 0);
        grid->addWidget(m_edtFile, 1, 1);
        grid->addWidget(browse, 1, 2);
    }
    root->addWidget(gbxFile);

    auto* gbxItem = Named<QGroupBox>(this, "gbxItem", QStringLiteral("項目の設定"));
    m_gbxItem = gbxItem;
    {
        auto* box = new QVBoxLayout(gbxItem);
        auto* matching = new QGridLayout;
        m_rbRecNo = Named<QRadioButton>(gbxItem, "rbRecNo", QStringLiteral("レコード番号"));
        m_rbCustomCode = Named<QRadioButton>(gbxItem, "rbCustomCode", QStringLiteral("顧客コード"));
        m_cbxMatchingFileItem = Named<QComboBox>(gbxItem, "cbxMatchingFileItem");
        m_cbxMatchingFileItem->setMinimumWidth(ScaleByDpi(160, 1));
        SetImeMode(m_cbxMatchingFileItem, imClose);
        matching->addWidget(new QLabel(QStringLiteral("突き合わせる項目："), gbxItem), 0, 0);
        matching->addWidget(new QLabel(QStringLiteral("アドレス帳の項目："), gbxItem), 0, 1);
        matching->addWidget(m_rbRecNo, 0, 2);
        matching->addWidget(m_rbCustomCode, 0, 3);
        matching->addWidget(new QLabel(QStringLiteral("取り込むファイルの項目："), gbxItem), 1, 1);
        matching->addWidget(m_cbxMatchingFileItem, 1, 2, 1, 2);
        matching->setColumnStretch(4, 1);
        box->addLayout(matching);

        auto* grids = new QGridLayout;
        grids->addWidget(new QLabel(QStringLiteral("取り込む項目："), gbxItem), 0, 0);
        grids->addWidget(new QLabel(QStringLiteral("ファイルの１件目の項目："), gbxItem), 0, 2);
        m_sgDest = Grid(gbxItem, "sgDest");
        m_sgDest->setColumnCount(ImportPartCount);
        m_sgDest->setRowCount(ImportItemCount);
        m_sgDest->setItemDelegate(new TPartDelegate(m_sgDest));
        m_sgDest->verticalHeader()->setFixedWidth(ScaleByDpi(114, 1));
        m_sgDest->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_sgDest->horizontalHeader()->setDefaultSectionSize(ScaleByDpi(136, 1));
        m_sgDest->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_sgDest->horizontalHeader()->setFixedHeight(m_sgDest->fontMetrics().height() + 4);
        m_sgDest->setFixedWidth(ScaleByDpi(114 + 2 * 136 + 20, 1));
        QStringList parts;
        for (int part = 1; part <= ImportPartCount; ++part)
            parts << QStringLiteral("第") + QString::number(part) + QStringLiteral("項目");
        m_sgDest->setHorizontalHeaderLabels(parts);
        // The caption of the item column sits in the corner.
        if (auto* corner = m_sgDest->findChild<QAbstractButton*>()) {
            auto* label = new QLabel(QStringLiteral("項目名"), corner);
            auto* layout = new QHBoxLayout(corner);
            layout->setContentsMargins(4, 0, 0, 0);
            layout->addWidget(label);
            corner->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        m_sgDest->setAcceptDrops(true);
        m_sgDest->viewport()->setAcceptDrops(true);
        m_sgDest->horizontalHeader()->viewport()->setAcceptDrops(true);
        m_sgDest->verticalHeader()->viewport()->setAcceptDrops(true);
        m_sgDest->setContextMenuPolicy(Qt::CustomContextMenu);
        grids->addWidget(m_sgDest, 1, 0);

        auto* buttons = new QVBoxLayout;
        m_bbtnSet = PartButton(gbxItem, "bbtnSet", QStringLiteral("セット"), "CELLSET");
        m_bbtnAdd = PartButton(gbxItem, "bbtnAdd", QStringLiteral("追加"), "CELLADD");
        m_bbtnConst = PartButton(gbxItem, "bbtnConst", QStringLiteral("固定値"), "CELLCONST");
        m_bbtnDelete = PartButton(gbxItem, "bbtnDelete", QStringLiteral("削除"), "CELLDEL");
        m_bbtnRowClear = PartButton(gbxItem, "bbtnRowClear", QStringLiteral("行クリア"), "CELLROWCLEAR");
        m_bbtnAllClear = PartButton(gbxItem, "bbtnAllClear", QStringLiteral("全クリア"), "CELLALLCLEAR");
        m_bbtnUp = PartButton(gbxItem, "bbtnUp", QString(), "UP");
        m_bbtnDown = PartButton(gbxItem, "bbtnDown", QString(), "DOWN");
        m_bbtnAllSet = PartButton(gbxItem, "bbtnAllSet", QStringLiteral("一括セット"), "CELLALLSET");
        buttons->addWidget(m_bbtnSet);
        buttons->addWidget(m_bbtnAdd);
        buttons->addWidget(m_bbtnConst);
        buttons->addSpacing(8);
        buttons->addWidget(m_bbtnDelete);
        buttons->addWidget(m_bbtnRowClear);
        buttons->addWidget(m_bbtnAllClear);
        buttons->addSpacing(8);
        buttons->addWidget(m_bbtnUp);
        buttons->addWidget(m_bbtnDown);
        buttons->addStretch();
        buttons->addWidget(m_bbtnAllSet);
        grids->addLayout(buttons, 1, 1);

        m_sgSrc = Grid<TColumnGrid>(gbxItem, "sgSrc");
        m_sgSrc->setColumnCount(2);
        m_sgSrc->horizontalHeader()->hide();
        m_sgSrc->verticalHeader()->hide();
        m_sgSrc->setColumnWidth(0, ScaleByDpi(22, 1));
        m_sgSrc->setColumnWidth(1, ScaleByDpi(131, 1));
        m_sgSrc->setFixedWidth(ScaleByDpi(22 + 131 + 20, 1));
        m_sgSrc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_sgSrc->setDragEnabled(true);
        m_sgSrc->setDragDropMode(QAbstractItemView::DragOnly);
        grids->addWidget(m_sgSrc, 1, 2);
        box->addLayout(grids);
    }
    root->addWidget(gbxItem);

    auto* gbxOption = Named<QGroupBox>(this, "gbxOption", QStringLiteral("オプション"));
    m_gbxOption = gbxOption;
    {
        auto* box = new QVBoxLayout(gbxOption);
        m_chkSkipRecord = Named<QCheckBox>(gbxOption, "chkSkipRecord",
                                           QStringLiteral("取り込むテキストファイルの１件目は取り込まない"));
        m_chkNotAutoSupplement = Named<QCheckBox>(gbxOption, "chkNotAutoSupplement",
                                                  QStringLiteral("取り込み項目の自動補完をおこなわない"));
        m_chkSetCorp = Named<QCheckBox>(gbxOption, "chkSetCorp",
                                        QStringLiteral("会社名が入力された場合に以下の処理をおこなう"));
        m_rbAll = Named<QRadioButton>(gbxOption, "rbAll", QStringLiteral("すべて会社扱いにする"));
        m_rbNoName =
            Named<QRadioButton>(gbxOption, "rbNoName", QStringLiteral("名前の無いデータは会社扱いにする"));
        m_chkPriorityClass =
            Named<QCheckBox>(gbxOption, "chkPriorityClass", QStringLiteral("個人会社区分を優先する"));
        box->addWidget(m_chkSkipRecord);
        box->addWidget(m_chkNotAutoSupplement);
        box->addWidget(m_chkSetCorp);
        auto* corp = new QVBoxLayout;
        corp->setContentsMargins(20, 0, 0, 0);
        auto* choice = new QHBoxLayout;
        choice->addWidget(m_rbAll);
        choice->addWidget(m_rbNoName);
        choice->addStretch();
        corp->addLayout(choice);
        corp->addWidget(m_chkPriorityClass);
        box->addLayout(corp);
    }
    root->addWidget(gbxOption);

    auto* notes = new QVBoxLayout;
    notes->setSpacing(0);
    notes->addWidget(new QLabel(QStringLiteral("取り込み先のアドレス帳は 「backup.imp」 という"), this));
    notes->addWidget(new QLabel(QStringLiteral("フォルダーの下にバックアップが作成されます"), this));
    m_pgbarImport = Named<QProgressBar>(this, "pgbarImport");
    m_pgbarImport->setTextVisible(false);
    m_pgbarImport->setValue(0);
    m_btnImport = MakeButton(this, "btnImport", QStringLiteral("取り込み"));
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(notes);
    bottom->addStretch();
    bottom->addWidget(m_btnImport);
    bottom->addWidget(m_btnCancel);
    root->addWidget(m_pgbarImport);
    root->addLayout(bottom);

    m_pmDest = new QMenu(this);
    m_pmDest->setObjectName(QStringLiteral("pmDest"));
    m_pmDest->addAction(QStringLiteral("セットした内容を確認"))->setObjectName(QStringLiteral("pmiSetView"));
    m_pmDest->addSeparator();
    m_pmDest->addAction(QStringLiteral("行クリア"))->setObjectName(QStringLiteral("pmiRowClear"));
    m_pmDest->addAction(QStringLiteral("全クリア"))->setObjectName(QStringLiteral("pmiAllClear"));
    const QList<QAction*> menu = m_pmDest->actions();
    connect(menu[0], &QAction::triggered, this, &TFileImport::pmiSetViewClick);
    connect(menu[2], &QAction::triggered, this, &TFileImport::bbtnRowClearClick);
    connect(menu[3], &QAction::triggered, this, &TFileImport::bbtnAllClearClick);

    // ---- behaviour ----
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             m_rbImportAdd, m_rbImportUpdate, m_rbRecNo, m_rbCustomCode, m_chkSkipRecord,
             m_chkNotAutoSupplement, m_chkSetCorp, m_rbAll, m_rbNoName, m_chkPriorityClass})
        PaintCheckedBlue(b);
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{m_rbImportAdd, m_rbImportUpdate, m_chkSetCorp})
        connect(b, &QAbstractButton::toggled, this, &TFileImport::ApplyEnabling);
    for (QRadioButton* b : {m_rbRecNo, m_rbCustomCode})
        connect(b, &QRadioButton::clicked, this, &TFileImport::SelectDefaultMatchColumn);

    connect(m_bbtnSet, &QToolButton::clicked, this, &TFileImport::bbtnSetClick);
    connect(m_bbtnAdd, &QToolButton::clicked, this, &TFileImport::bbtnAddClick);
    connect(m_bbtnConst, &QToolButton::clicked, this, &TFileImport::bbtnConstClick);
    connect(m_bbtnDelete, &QToolButton::clicked, this, &TFileImport::bbtnDeleteClick);
    connect(m_bbtnRowClear, &QToolButton::clicked, this, &TFileImport::bbtnRowClearClick);
    connect(m_bbtnAllClear, &QToolButton::clicked, this, &TFileImport::bbtnAllClearClick);
    connect(m_bbtnUp, &QToolButton::clicked, this, &TFileImport::bbtnUpClick);
    connect(m_bbtnDown, &QToolButton::clicked, this, &TFileImport::bbtnDownClick);
    connect(m_bbtnAllSet, &QToolButton::clicked, this, &TFileImport::bbtnAllSetClick);
    connect(m_sgDest, &QTableWidget::currentCellChanged, this, [this] { UpdatePartButtons(); });
    connect(m_sgDest, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (m_mapping.IsSet(row + 1))
            pmiSetViewClick();
    });
    connect(m_sgDest, &QWidget::customContextMenuRequested, this, &TFileImport::ShowDestMenu);
    connect(m_sgSrc, &QTableWidget::cellDoubleClicked, this, [this] {
        m_srcDoubleClicked = true;
        SetOrAdd();
    });
    connect(m_btnImport, &QPushButton::clicked, this, &TFileImport::btnImportClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    m_btnImport->setAutoDefault(false);
    m_btnCancel->setAutoDefault(false);

    m_edtFile->installEventFilter(this);
    m_sgDest->installEventFilter(this);
    m_sgSrc->installEventFilter(this);
    m_sgSrc->viewport()->installEventFilter(this);
    for (QWidget* w : {m_sgDest->viewport(), m_sgDest->horizontalHeader()->viewport(),
                       m_sgDest->verticalHeader()->viewport()})
        w->installEventFilter(this);

    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_rbImportAdd, m_rbImportUpdate, m_rbRecNo, m_rbCustomCode, m_cbxMatchingFileItem,
             m_chkSkipRecord, m_chkNotAutoSupplement, m_chkSetCorp, m_chkPriorityClass})
        enter->addNext(w);
    enter->addTarget(m_rbAll, m_chkPriorityClass);
    enter->addTarget(m_rbNoName, m_chkPriorityClass);
}

// ---- settings ----

void TFileImport::LoadPosition()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const QRect screen =
        (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const int left = ini.ReadInteger(FileImportSection, QStringLiteral("Left"),
                                     (ScaleByDpi(screen.width(), 0) - ScaleByDpi(width(), 0)) / 2);
    const int top = ini.ReadInteger(FileImportSection, QStringLiteral("Top"),
                                    (ScaleByDpi(screen.height(), 0) - ScaleByDpi(height(), 0)) / 2);
    move(ScaleByDpi(left, 1), ScaleByDpi(top, 1));
}

void TFileImport::SavePosition()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(FileImportSection, QStringLiteral("Left"), ScaleByDpi(x(), 0));
    ini.WriteInteger(FileImportSection, QStringLiteral("Top"), ScaleByDpi(y(), 0));
    ini.UpdateFile();
}

void TFileImport::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const auto readInt = [&](const char* key, int def) {
        return ini.ReadInteger(FileImportSection, QLatin1String(key), def);
    };
    const auto readBool = [&](const char* key, bool def) {
        return ini.ReadBool(FileImportSection, QLatin1String(key), def);
    };
    const QString file = DecodeDataPath(ini.ReadString(FileImportSection, QStringLiteral("File"), QString()));
    m_edtFile->setText(!file.isEmpty() && QFileInfo(file).isFile() ? file : QString());
    m_edtFile->end(false);
    (readInt("ImportType", 0) == 1 ? m_rbImportUpdate : m_rbImportAdd)->setChecked(true);
    (readInt("MatchingItem", 0) == 1 ? m_rbCustomCode : m_rbRecNo)->setChecked(true);
    m_chkSkipRecord->setChecked(readBool("SkipRecord", false));
    m_chkNotAutoSupplement->setChecked(readBool("NotAutoSupplement", false));
    m_chkSetCorp->setChecked(readBool("SetCorp", false));
    (readInt("SetCorpType", 0) == 1 ? m_rbNoName : m_rbAll)->setChecked(true);
    m_chkPriorityClass->setChecked(readBool("PriorityClass", true));
}

void TFileImport::SaveSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteString(FileImportSection, QStringLiteral("File"), EncodeDataPath(m_edtFile->text().trimmed()));
    ini.WriteInteger(FileImportSection, QStringLiteral("ImportType"), m_rbImportUpdate->isChecked() ? 1 : 0);
    ini.WriteInteger(FileImportSection, QStringLiteral("MatchingItem"), m_rbCustomCode->isChecked() ? 1 : 0);
    ini.WriteBool(FileImportSection, QStringLiteral("SkipRecord"), m_chkSkipRecord->isChecked());
    ini.WriteBool(FileImportSection, QStringLiteral("NotAutoSupplement"),
                  m_chkNotAutoSupplement->isChecked());
    ini.WriteBool(FileImportSection, QStringLiteral("SetCorp"), m_chkSetCorp->isChecked());
    ini.WriteInteger(FileImportSection, QStringLiteral("SetCorpType"), m_rbNoName->isChecked() ? 1 : 0);
    ini.WriteBool(FileImportSection, QStringLiteral("PriorityClass"), m_chkPriorityClass->isChecked());
    QString error;
    if (!ini.UpdateFile(&error))
        MessageBoxPos(this, QStringLiteral("設定が保存できませんでした  \r\n") + error, ProductTitle,
                      MsgSeam::MbIconStop);
}

// ---- grids and enabling ----

void TFileImport::ResetMatchingControls()
{
    m_cbxMatchingFileItem->clear();
}

void TFileImport::InitDestGrid()
{
    for (int item = 1; item <= ImportItemCount; ++item)
        for (int part = 1; part <= ImportPartCount; ++part)
            m_sgDest->setItem(item - 1, part - 1, new QTableWidgetItem);
    FillItemNames();
    m_mapping.ClearAll();
    ShowMapping();
    SelectItem(1);
}

void TFileImport::FillItemNames()
{
    QStringList captions;
    for (int item = 1; item <= ImportItemCount; ++item)
        captions << ImportItemCaption(item, KeywordNames, ProtectMemoNames);
    m_sgDest->setVerticalHeaderLabels(captions);
}

void TFileImport::InitSrcGrid()
{
    m_sgSrc->setRowCount(20);
    for (int row = 0; row < 20; ++row) {
        m_sgSrc->setItem(row, 0, new QTableWidgetItem(QString::asprintf("%3d", row + 1)));
        m_sgSrc->setItem(row, 1, new QTableWidgetItem);
    }
}

void TFileImport::SelectDefaultMatchColumn()
{
    if (m_cbxMatchingFileItem->count() == 0)
        return;
    const QString wanted =
        m_rbRecNo->isChecked() ? QStringLiteral("レコード番号") : QStringLiteral("顧客コード");
    const int found = m_cbxMatchingFileItem->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_cbxMatchingFileItem->setCurrentIndex(std::max(found, 0));
}

void TFileImport::ApplyEnabling()
{
    const bool append = !m_rbImportUpdate->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_rbRecNo, m_rbCustomCode, m_cbxMatchingFileItem})
        w->setEnabled(!append && m_fileLoaded);
    m_chkNotAutoSupplement->setEnabled(append);
    m_chkSetCorp->setEnabled(append);
    for (QWidget* w : std::initializer_list<QWidget*>{m_rbAll, m_rbNoName, m_chkPriorityClass})
        w->setEnabled(append && m_chkSetCorp->isChecked());
    m_sgDest->setEnabled(m_fileLoaded);
    m_sgSrc->setEnabled(m_fileLoaded);
    m_btnImport->setEnabled(m_fileLoaded);
    UpdatePartButtons();
}

void TFileImport::ShowMapping()
{
    for (int item = 1; item <= ImportItemCount; ++item)
        for (int part = 1; part <= ImportPartCount; ++part) {
            QTableWidgetItem* cell = m_sgDest->item(item - 1, part - 1);
            cell->setText(m_mapping.CellText(item, part));
            cell->setData(KindRole, int(m_mapping.Spec(item, part).kind));
        }
}

void TFileImport::UpdatePartButtons()
{
    const TImportPartButtons b = m_mapping.Buttons(SelectedItem());
    m_bbtnSet->setVisible(b.setVisible);
    m_bbtnAdd->setVisible(!b.setVisible);
    m_bbtnSet->setEnabled(m_fileLoaded);
    m_bbtnAdd->setEnabled(m_fileLoaded && b.add);
    m_bbtnConst->setEnabled(m_fileLoaded && b.add);
    m_bbtnDelete->setEnabled(m_fileLoaded && b.remove);
    m_bbtnRowClear->setEnabled(m_fileLoaded && b.remove);
    m_bbtnUp->setEnabled(m_fileLoaded && b.up);
    m_bbtnDown->setEnabled(m_fileLoaded && b.down);
    m_bbtnAllClear->setEnabled(m_fileLoaded && b.allClear);
    m_bbtnAllSet->setEnabled(m_fileLoaded);
}

int TFileImport::SelectedItem() const
{
    return std::clamp(m_sgDest->currentRow() + 1, 1, ImportItemCount);
}

void TFileImport::SelectItem(int item)
{
    const int column = std::max(m_sgDest->currentColumn(), 0);
    m_sgDest->setCurrentCell(std::clamp(item, 1, ImportItemCount) - 1, column);
    UpdatePartButtons();
}

int TFileImport::SrcColumn() const
{
    return std::clamp(m_sgSrc->currentRow(), 0, std::max(int(m_firstLine.size()) - 1, 0));
}

// ---- the file ----

bool TFileImport::LoadFilePreview(const QString& fileName)
{
    const auto refuse = [this](const QString& text) {
        if (!text.isEmpty())
            MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
        if (m_fileLoaded) {
            m_edtFile->setText(m_loadedFileName);
            m_edtFile->end(false);
        }
        return false;
    };
    if (QFileInfo(fileName).absoluteFilePath().compare(QFileInfo(ErrorFilePath()).absoluteFilePath(),
                                                       Qt::CaseInsensitive) == 0)
        return refuse(
            QStringLiteral("指定したテキストファイルは  \r\nエラー時に出力するファイルと同じため  \r\n"
                           "入力ファイルとして指定できません  "));
    QFile file(fileName);
    AnsiString first;
    try {
        if (!file.open(QIODevice::ReadOnly))
            throw EImportReadError(file.errorString().toStdString());
        TImportLineReader reader(file);
        if (!reader.ReadLine(first))
            return refuse(QStringLiteral("指定したテキストファイルには内容がありませんでした  "));
    } catch (const EImportReadError& e) {
        MessageBoxPos(this, fileName + QStringLiteral("  \r\n") + QString::fromLocal8Bit(e.what()),
                      ProductTitle, MsgSeam::MbIconStop);
        return refuse(QString());
    }
    file.close();

    m_firstLine = ImportPreviewFields(first);
    m_cbxMatchingFileItem->clear();
    m_sgSrc->setRowCount(int(m_firstLine.size()));
    for (int row = 0; row < int(m_firstLine.size()); ++row) {
        const QString text = ToWide(m_firstLine[row]);
        m_cbxMatchingFileItem->addItem(text);
        m_sgSrc->setItem(row, 0, new QTableWidgetItem(QString::asprintf("%3d", row + 1)));
        m_sgSrc->setItem(row, 1, new QTableWidgetItem(text));
    }
    m_sgSrc->setCurrentCell(0, 1);
    m_fileLoaded = true;
    ApplyEnabling();
    SelectDefaultMatchColumn();
    bbtnAllClearClick();
    m_loadedFileName = fileName;
    return true;
}

void TFileImport::edtFileEnter()
{
    const QString name = m_edtFile->text().trimmed();
    if (name.isEmpty()) {
        if (auto* browse = findChild<QToolButton*>(QStringLiteral("bbtnBrowseFile")))
            browse->setFocus();
        return;
    }
    if (!QFileInfo(name).isFile()) {
        MessageBoxPos(this, QStringLiteral("指定したテキストファイルが見つかりません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        if (m_fileLoaded) {
            m_edtFile->setText(m_loadedFileName);
            m_edtFile->end(false);
        }
        m_edtFile->setFocus();
        return;
    }
    if (name != m_loadedFileName.trimmed())
        LoadFilePreview(name);
    if (m_fileLoaded && m_sgSrc->isEnabled())
        m_sgSrc->setFocus();
}

void TFileImport::bbtnBrowseFileClick()
{
    QFileDialog dialog(this, QString(), QString(), Filters);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly);
    const QString current = m_edtFile->text().trimmed();
    const QFileInfo info(current);
    if (!current.isEmpty() && info.absoluteDir().exists()) {
        dialog.setDirectory(info.absolutePath());
        if (info.isFile())
            dialog.selectFile(info.absoluteFilePath());
    } else {
        dialog.setDirectory(DataRootFolder);
    }
    // The dialog opens a little below and right of the window, kept on the screen.
    dialog.adjustSize();
    const QRect area = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    QPoint at = frameGeometry().topLeft() + QPoint(15, 15);
    at.setX(std::clamp(at.x(), 0, std::max(0, area.right() + 1 - dialog.width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, area.bottom() + 1 - dialog.height())));
    dialog.move(at);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        m_edtFile->setText(dialog.selectedFiles().constFirst());
        LoadFilePreview(m_edtFile->text());
    }
    m_edtFile->end(false);
    m_edtFile->setFocus();
}

// ---- the mapping ----

void TFileImport::SetOrAdd()
{
    if (!m_fileLoaded)
        return;
    if (m_bbtnSet->isVisibleTo(this))
        bbtnSetClick();
    else
        bbtnAddClick();
}

void TFileImport::bbtnSetClick()
{
    const int column = SrcColumn();
    if (!m_fileLoaded || column >= m_firstLine.size())
        return;
    m_mapping.SetPart(SelectedItem(), 1, column, m_firstLine[column]);
    ShowMapping();
    UpdatePartButtons();
    m_sgDest->setFocus();
}

void TFileImport::bbtnAddClick()
{
    const int column = SrcColumn();
    if (!m_fileLoaded || column >= m_firstLine.size())
        return;
    if (m_mapping.AddColumn(SelectedItem(), column, m_firstLine[column]))
        ShowMapping();
    UpdatePartButtons();
    m_sgDest->setFocus();
}

void TFileImport::bbtnConstClick()
{
    const int item = SelectedItem();
    if (m_mapping.FirstEmptyPart(item) == 0)
        return;
    std::optional<TBusyCursor> busy(std::in_place);
    TConstantInput dialog(this, ImportItemTable(item).constantMax);
    CenterForm(&dialog, this);
    busy.reset();
    if (dialog.exec() == QDialog::Accepted && m_mapping.AddConstant(item, dialog.GetConstant()))
        ShowMapping();
    UpdatePartButtons();
}

void TFileImport::bbtnDeleteClick()
{
    m_mapping.DeleteLast(SelectedItem());
    ShowMapping();
    UpdatePartButtons();
}

void TFileImport::bbtnRowClearClick()
{
    m_mapping.ClearRow(SelectedItem());
    ShowMapping();
    UpdatePartButtons();
}

void TFileImport::bbtnAllClearClick()
{
    m_mapping.ClearAll();
    ShowMapping();
    SelectItem(1);
}

void TFileImport::bbtnUpClick()
{
    const int item = SelectedItem();
    if (m_mapping.MoveUp(item)) {
        ShowMapping();
        SelectItem(item - 1);
    }
}

void TFileImport::bbtnDownClick()
{
    const int item = SelectedItem();
    if (m_mapping.MoveDown(item)) {
        ShowMapping();
        SelectItem(item + 1);
    }
}

void TFileImport::bbtnAllSetClick()
{
    if (MessageBoxPos(
            this,
            QStringLiteral("ファイルの項目にある情報を元に  \r\n入力する項目へまとめてセットします  \r\n"
                           "よろしいですか？  \r\n\r\n※認識する項目名については  \r\n"
                           "  操作ガイドを参照してください  "),
            ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    m_mapping.AutoSetAll(m_firstLine, KeywordNames, ProtectMemoNames);
    m_chkSkipRecord->setChecked(true);
    ShowMapping();
    UpdatePartButtons();
}

void TFileImport::pmiSetViewClick()
{
    const int item = SelectedItem();
    QStringList parts;
    for (int part = 1; part <= ImportPartCount; ++part)
        parts << m_mapping.CellText(item, part);
    TSetOrderView view(this);
    view.SetParts(parts);
    CenterForm(&view, this);
    view.exec();
}

void TFileImport::ShowDestMenu(const QPoint& pos)
{
    const int row = m_sgDest->rowAt(pos.y());
    if (row < 0 || !m_fileLoaded)
        return;
    const int column = std::max(m_sgDest->columnAt(pos.x()), 0);
    m_sgDest->setCurrentCell(row, column);
    UpdatePartButtons();
    const QList<QAction*> actions = m_pmDest->actions();
    const bool set = m_mapping.IsSet(row + 1);
    actions[0]->setEnabled(set);
    actions[2]->setEnabled(set);
    actions[3]->setEnabled(m_bbtnAllClear->isEnabled());
    m_pmDest->popup(m_sgDest->viewport()->mapToGlobal(pos));
}

// ---- keyboard, mouse and drag ----

bool TFileImport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edtFile && IsEnter(event)) {
        edtFileEnter();
        return true;
    }
    if (watched == m_sgSrc && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert) {
            SetOrAdd();
            return true;
        }
        if (IsEnter(event)) {
            TEnterMovesFocus::focusWithCaretAtEnd(TEnterMovesFocus::nextInTabOrder(m_sgSrc));
            return true;
        }
    }
    if (watched == m_sgSrc->viewport() && event->type() == QEvent::MouseButtonPress) {
        // The press after a double click starts no drag.
        m_sgSrc->setDragEnabled(!m_srcDoubleClicked);
        m_srcDoubleClicked = false;
    }
    if (watched == m_sgDest && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QScrollBar* bar = m_sgDest->horizontalScrollBar();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            bar->setValue(bar->value() + (key == Qt::Key_Left ? -1 : 1));
            return true;
        }
        if (key == Qt::Key_Delete) {
            if (m_fileLoaded)
                bbtnDeleteClick();
            return true;
        }
        if (IsEnter(event)) {
            m_sgSrc->setFocus();
            return true;
        }
    }
    const bool overHeader = watched == m_sgDest->horizontalHeader()->viewport();
    const bool overCaptions = watched == m_sgDest->verticalHeader()->viewport();
    if (watched == m_sgDest->viewport() || overHeader || overCaptions) {
        const auto fromSource = [](QDropEvent* e) { return e->mimeData()->hasFormat(ImportColumnMime); };
        const auto rowOf = [&](QDropEvent* e) {
            const QPoint p = e->position().toPoint();
            return overHeader ? -1
                              : (overCaptions ? m_sgDest->verticalHeader()->logicalIndexAt(p)
                                              : m_sgDest->rowAt(p.y()));
        };
        switch (event->type()) {
        case QEvent::DragEnter:
            // Entering makes the grid the target, so that moves come; each move says whether a drop fits.
            static_cast<QDragEnterEvent*>(event)->accept();
            return true;
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            const int row = rowOf(e);
            if (overHeader) {
                // Over the caption row the list scrolls up, one row per move.
                QScrollBar* bar = m_sgDest->verticalScrollBar();
                if (bar->value() > 0)
                    bar->setValue(bar->value() - 1);
                e->ignore();
            } else if (fromSource(e) && row >= 0) {
                const int column =
                    overCaptions ? 0 : std::max(m_sgDest->columnAt(e->position().toPoint().x()), 0);
                m_sgDest->setCurrentCell(row, column);
                e->acceptProposedAction();
            } else {
                e->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            const int row = rowOf(e);
            if (fromSource(e) && row >= 0) {
                e->acceptProposedAction();
                SelectItem(row + 1);
                SetOrAdd();
            } else {
                e->ignore();
            }
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- the run ----

bool TFileImport::CheckBeforeRun(qint64& lineCount)
{
    if (!m_fileLoaded) {
        MessageBoxPos(this, QStringLiteral("テキストファイルが読み込まれていません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        m_edtFile->setFocus();
        return false;
    }
    if (!m_mapping.AnySet()) {
        MessageBoxPos(this, QStringLiteral("入力する項目がセットされていません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        return false;
    }
    if (!AdminPassword.isEmpty() && !AdminMode) {
        for (int item = 1; item <= ImportItemCount; ++item)
            if (IsProtectedImportItem(item) && m_mapping.IsSet(item)) {
                MessageBoxPos(this,
                              QStringLiteral("管理者モードでなければマイナンバー項目や  \r\n"
                                             "保護メモ項目などに対して取り込むことはできません  "),
                              ProductTitle, MsgSeam::MbIconExclamation);
                return false;
            }
    }
    {
        TBusyCursor busy;
        QFile file(m_loadedFileName);
        try {
            if (!file.open(QIODevice::ReadOnly))
                throw EImportReadError(file.errorString().toStdString());
            lineCount = CountImportLines(file, m_chkSkipRecord->isChecked());
        } catch (const EImportReadError& e) {
            MessageBoxPos(this,
                          m_loadedFileName + QStringLiteral("  \r\n") + QString::fromLocal8Bit(e.what()),
                          ProductTitle, MsgSeam::MbIconStop);
            return false;
        }
    }
    if (m_chkSkipRecord->isChecked() && lineCount < 1) {
        MessageBoxPos(this,
                      QStringLiteral("指定したテキストファイルには  \r\n内容が１件しかありませんでした  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        return false;
    }
    if (m_rbImportUpdate->isChecked() && m_rbCustomCode->isChecked() &&
        m_mapping.IsSet(ImportItem::CustomCode)) {
        MessageBoxPos(
            this,
            QStringLiteral("顧客コードで突き合わすため  \r\n顧客コード欄にセットした内容は反映されません  "),
            ProductTitle, MsgSeam::MbIconExclamation);
        SelectItem(ImportItem::CustomCode);
        bbtnRowClearClick();
        if (!m_mapping.AnySet()) {
            MessageBoxPos(this, QStringLiteral("入力する項目がセットされていません  "), ProductTitle,
                          MsgSeam::MbIconInformation);
            return false;
        }
    }
    return MessageBoxPos(this,
                         QStringLiteral("テキストファイルの取り込みを開始します  \r\nよろしいですか？  "),
                         ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) ==
           MsgSeam::IdYes;
}

void TFileImport::btnImportClick()
{
    qint64 lineCount = 0;
    if (!CheckBeforeRun(lineCount))
        return;
    repaint();
    {
        TBusyCursor busy;
        if (!MakeSafetyCopy(this, TBackupWork::Import, {m_source.BookIndex}, false))
            return;
        if (!RunImport(lineCount))
            return;
    }
    const bool update = m_rbImportUpdate->isChecked();
    MessageBoxPos(
        this,
        (update ? QStringLiteral("テキストファイルの更新取り込みが完了しました  \r\n\r\n読込件数 : ")
                : QStringLiteral("テキストファイルの追加取り込みが完了しました  \r\n\r\n読込件数 : ")) +
            QString::number(m_result.readCount) + QStringLiteral(" 件  \r\n") +
            (update ? QStringLiteral("更新件数 : ") : QStringLiteral("登録件数 : ")) +
            QString::number(m_result.doneCount) + QStringLiteral(" 件  "),
        ProductTitle, MsgSeam::MbIconInformation);
    SaveSettings();
    accept();
}

void TFileImport::SetGroupsEnabled(bool enabled)
{
    for (QWidget* w : {m_gbxFile, m_gbxItem, m_gbxOption})
        w->setEnabled(enabled);
}

bool TFileImport::RunImport(qint64 lineCount)
{
    if (!m_source.Adrs)
        return false;
    std::unique_ptr<TContinualAdrsSearch> converter;
    try {
        converter =
            std::make_unique<TContinualAdrsSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
    } catch (const std::exception& e) {
        MessageBoxPos(this, QString::fromUtf8(e.what()), ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    SetGroupsEnabled(false);
    m_pgbarImport->setRange(0, int(std::min<qint64>(lineCount, INT_MAX)));
    m_pgbarImport->setValue(0);

    TImportRunSettings settings;
    settings.update = m_rbImportUpdate->isChecked();
    settings.matchByRecNo = m_rbRecNo->isChecked();
    settings.skipFirst = m_chkSkipRecord->isChecked();
    settings.columnCount = int(m_firstLine.size());
    settings.matchColumn = std::max(m_cbxMatchingFileItem->currentIndex(), 0);
    settings.options.noCompletion = m_chkNotAutoSupplement->isChecked();
    settings.options.companyRule = m_chkSetCorp->isChecked();
    settings.options.allCompany = !m_rbNoName->isChecked();
    settings.options.privCorpFirst = m_chkPriorityClass->isChecked();
    TImportLookups lookups = m_source.Lookups;
    lookups.complete = [&converter](const AnsiString& address) { return Complete(*converter, address); };
    lookups.now = QDateTime::currentDateTime();
    lookups.today = lookups.now.date();

    QFile file(m_loadedFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        SetGroupsEnabled(true);
        MessageBoxPos(this, m_loadedFileName + QStringLiteral("  \r\n") + file.errorString(), ProductTitle,
                      MsgSeam::MbIconStop);
        return false;
    }
    TAdrsImportTable table(*m_source.Adrs);
    TImportErrorFile errors(ErrorFilePath());
    TImportHistories histories(m_source.Histories);
    TImportRun run(settings, m_mapping, lookups, table, errors, histories);
    const int step = std::max<qint64>(1, lineCount / 200);
    m_result = run.Run(file, [this, step](qint64 read) {
        m_pgbarImport->setValue(int(std::min<qint64>(read, m_pgbarImport->maximum())));
        // The run does not return to the event loop: paint the bar now and then.
        if (read % step == 0)
            m_pgbarImport->repaint();
    });
    file.close();
    SetGroupsEnabled(true);
    m_stored = m_stored || m_result.doneCount > 0;

    if (m_result.limitReached)
        MessageBoxPos(this, QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "),
                      ProductTitle, MsgSeam::MbIconInformation);
    if (!m_result.failure.isEmpty()) {
        const QString done = settings.update ? QStringLiteral("更新件数 : ") : QStringLiteral("登録件数 : ");
        MessageBoxPos(this,
                      QStringLiteral("テキストファイルの取り込みを中断しました  \r\n") + m_result.failure +
                          QStringLiteral("  \r\n\r\n読込件数 : ") + QString::number(m_result.readCount) +
                          QStringLiteral(" 件  \r\n") + done + QString::number(m_result.doneCount) +
                          QStringLiteral(" 件  "),
                      ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    return true;
}

// ---- the address list's road to the window ----

bool RunFileImport(TAddressList& list)
{
    if (!DMQuenrid215 || !DMQuenrid215->AdrsTable())
        return false;
    std::optional<TBusyCursor> busy(std::in_place);
    TFileImportSource source;
    source.Adrs = DMQuenrid215->AdrsTable();
    source.Lookups = OpenBookLookups(list);
    source.Histories = {DMQuenrid215->DptmntHistory(),     DMQuenrid215->PostHistory(),
                        DMQuenrid215->HonorHistory(),      DMQuenrid215->KeywordHistories(0),
                        DMQuenrid215->KeywordHistories(1), DMQuenrid215->KeywordHistories(2)};
    source.BookIndex = CurrentAdrsIndex;
    TFileImport dialog(&list, std::move(source));
    busy.reset();
    const bool ok = dialog.exec() == QDialog::Accepted;
    return ok || dialog.Stored();
}

void RegisterFileImport()
{
    RegisterListCommand(TListCommand::ImportFile, [](TAddressList& list) {
        TListCommandResult result;
        result.ok = RunFileImport(list);
        return result;
    });
}

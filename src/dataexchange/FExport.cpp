// The text export window.
#include "dataexchange/FExport.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListGlue.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/PrtctMemoEdt.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "core/WindowPlace.h"
#include "dataexchange/CryptSfx.h"
#include "dataexchange/FExportPwd.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<TFileExport> FileExport;

namespace {

const QString EncryptFilter = QStringLiteral("AES自己復元ファイル (*.exe)");
const QStringList NormalFilters = {QStringLiteral("テキストファイル (*.txt)"),
                                   QStringLiteral("ＣＳＶファイル (*.csv)"),
                                   QStringLiteral("すべてのファイル (*)")};

QTableWidget* Grid(QWidget* parent, const char* name, int columns)
{
    auto* grid = Named<QTableWidget>(parent, name);
    grid->setColumnCount(columns);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedHeight(ScaleByDpi(300, 1));
    SetImeMode(grid, imClose);
    return grid;
}

QToolButton* GridButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(ScaleByDpi(72, 1));
    button->setAutoRaise(false);
    return button;
}

QString StoredPath(const TMemIniFile& ini, const QString& key)
{
    return DecodeDataPath(ini.ReadString(FileExportSection, key, QString()));
}

} // namespace

QString ApplyTargetExtension(const QString& name, int type, int filterIndex)
{
    const QFileInfo info(name);
    const bool hasExtension = info.fileName().contains(QLatin1Char('.'));
    if (type == etEncrypt) {
        const QString base = hasExtension ? name.left(name.size() - info.suffix().size() - 1) : name;
        return base + QStringLiteral(".exe");
    }
    if (hasExtension)
        return name;
    return name + (filterIndex == 1 ? QStringLiteral(".csv") : QStringLiteral(".txt"));
}

// ---- creation ----

TFileExport::TFileExport(QWidget* owner, TFileExportSource source)
    : QWidget(owner, Qt::Window), m_source(std::move(source))
{
    setObjectName(QStringLiteral("FileExport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("テキストファイルの出力"));
    setProperty("helpTopic", HelpTopic);
    BuildWindow();

    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    LoadSettings(ini);

    adjustSize();
    PlaceFromSettings(this, ini, FileExportSection);
}

TFileExport::~TFileExport()
{
    SaveWindowPosition(this, FileExportSection);
    if (m_source.Detach)
        m_source.Detach(this);
}

void TFileExport::BuildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    auto* top = new QHBoxLayout;
    root->addLayout(top);

    // The column layout: chosen columns on the left, the book's items on the right.
    auto* grpItems = Named<QGroupBox>(this, "grpItems", QStringLiteral("出力項目の設定"));
    {
        auto* box = new QHBoxLayout(grpItems);
        m_sgDest = Grid(grpItems, "sgDest", 2);
        m_sgDest->setColumnWidth(0, ScaleByDpi(22, 1));
        m_sgDest->setColumnWidth(1, ScaleByDpi(121, 1));
        m_sgDest->setFixedWidth(ScaleByDpi(22 + 121 + 22, 1));
        m_sgDest->setAcceptDrops(true);
        m_sgDest->viewport()->setAcceptDrops(true);
        m_sgDest->setDragDropMode(QAbstractItemView::DropOnly);
        m_sgSrc = Grid(grpItems, "sgSrc", 1);
        m_sgSrc->setColumnWidth(0, ScaleByDpi(121, 1));
        m_sgSrc->setFixedWidth(ScaleByDpi(121 + 22, 1));
        m_sgSrc->setDragEnabled(true);
        m_sgSrc->setDragDropMode(QAbstractItemView::DragOnly);

        auto* buttons = new QVBoxLayout;
        m_bbtnSet = GridButton(grpItems, "bbtnSet", QStringLiteral("◀ セット"));
        m_bbtnAdd = GridButton(grpItems, "bbtnAdd", QStringLiteral("◀ 連結"));
        m_bbtnAllSet = GridButton(grpItems, "bbtnAllSet", QStringLiteral("◀◀ 全セット"));
        m_bbtnDelete = GridButton(grpItems, "bbtnDelete", QStringLiteral("削除 ▶"));
        m_bbtnAllDelete = GridButton(grpItems, "bbtnAllDelete", QStringLiteral("全削除 ▶▶"));
        m_bbtnUp = GridButton(grpItems, "bbtnUp", QStringLiteral("▲"));
        m_bbtnDown = GridButton(grpItems, "bbtnDown", QStringLiteral("▼"));
        buttons->addStretch();
        for (QToolButton* b : {m_bbtnSet, m_bbtnAdd, m_bbtnAllSet, m_bbtnDelete, m_bbtnAllDelete})
            buttons->addWidget(b);
        buttons->addSpacing(12);
        buttons->addWidget(m_bbtnUp);
        buttons->addWidget(m_bbtnDown);
        buttons->addStretch();
        box->addWidget(m_sgDest);
        box->addLayout(buttons);
        box->addWidget(m_sgSrc);
    }
    top->addWidget(grpItems);

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    m_range =
        new TRecordRangeGroup(this, QStringLiteral("出力データの選択"), QStringLiteral("出力データ件数："));
    right->addWidget(m_range);

    auto* grpType = Named<QGroupBox>(this, "grpType", QStringLiteral("出力タイプ"));
    {
        auto* box = new QHBoxLayout(grpType);
        m_rbEncrypt = Named<QRadioButton>(grpType, "rbEncrypt", QStringLiteral("暗号化出力"));
        m_rbNormal = Named<QRadioButton>(grpType, "rbNormal", QStringLiteral("通常出力"));
        box->addWidget(m_rbEncrypt);
        box->addWidget(m_rbNormal);
        box->addStretch();
    }
    right->addWidget(grpType);

    auto* grpOption = Named<QGroupBox>(this, "grpOption", QStringLiteral("オプション"));
    {
        auto* box = new QVBoxLayout(grpOption);
        m_chkOutHeader =
            Named<QCheckBox>(grpOption, "chkOutHeader", QStringLiteral("１レコード目に項目名を出力する"));
        m_chkBindDblQuote =
            Named<QCheckBox>(grpOption, "chkBindDblQuote", QStringLiteral("項目を 「”」 でくくる"));
        m_chkEditHyphen = Named<QCheckBox>(grpOption, "chkEditHyphen", QStringLiteral("ハイフン編集をする"));
        box->addWidget(m_chkOutHeader);
        box->addWidget(m_chkBindDblQuote);
        box->addWidget(m_chkEditHyphen);
        auto* items = new QGridLayout;
        items->setContentsMargins(20, 0, 0, 0);
        m_chkEditTel = Named<QCheckBox>(grpOption, "chkEditTel", QStringLiteral("電話番号"));
        m_chkEditFax = Named<QCheckBox>(grpOption, "chkEditFax", QStringLiteral("FAX番号"));
        m_chkEditPos = Named<QCheckBox>(grpOption, "chkEditPos", QStringLiteral("郵便番号"));
        m_chkEditPortable1 = Named<QCheckBox>(grpOption, "chkEditPortable1", QStringLiteral("携帯番号１"));
        m_chkEditPortable2 = Named<QCheckBox>(grpOption, "chkEditPortable2", QStringLiteral("携帯番号２"));
        items->addWidget(m_chkEditTel, 0, 0);
        items->addWidget(m_chkEditFax, 0, 1);
        items->addWidget(m_chkEditPos, 0, 2);
        items->addWidget(m_chkEditPortable1, 1, 0);
        items->addWidget(m_chkEditPortable2, 1, 1);
        box->addLayout(items);
    }
    right->addWidget(grpOption);
    right->addStretch();

    m_pgbarExport = Named<QProgressBar>(this, "pgbarExport");
    m_pgbarExport->setTextVisible(false);
    root->addWidget(m_pgbarExport);
    m_btnSave = MakeButton(this, "btnSave", QStringLiteral("設定保存"));
    m_btnExport = MakeButton(this, "btnExport", QStringLiteral("出力"));
    m_btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_btnSave);
    buttonRow->addStretch();
    buttonRow->addWidget(m_btnExport);
    buttonRow->addWidget(m_btnClose);
    root->addLayout(buttonRow);

    // ---- behaviour ----
    for (QCheckBox* box : {m_chkOutHeader, m_chkBindDblQuote, m_chkEditHyphen, m_chkEditTel, m_chkEditFax,
                           m_chkEditPos, m_chkEditPortable1, m_chkEditPortable2})
        PaintCheckedBlue(box);
    connect(m_chkEditHyphen, &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* box :
             {m_chkEditTel, m_chkEditFax, m_chkEditPos, m_chkEditPortable1, m_chkEditPortable2})
            box->setEnabled(on);
    });
    PaintCheckedBlue(m_rbEncrypt);
    PaintCheckedBlue(m_rbNormal);
    connect(m_rbEncrypt, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ChooseType(etEncrypt);
    });
    connect(m_rbNormal, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ChooseType(etNormal);
    });
    connect(m_range, &TRecordRangeGroup::targetCountChanged, this, [this] { UpdateButtons(); });

    connect(m_bbtnSet, &QToolButton::clicked, this, [this] { SetItem(DestRow(), true); });
    connect(m_bbtnAdd, &QToolButton::clicked, this, &TFileExport::JoinItem);
    connect(m_bbtnAllSet, &QToolButton::clicked, this, &TFileExport::SetAllItems);
    connect(m_bbtnDelete, &QToolButton::clicked, this, &TFileExport::DeleteItem);
    connect(m_bbtnAllDelete, &QToolButton::clicked, this, &TFileExport::DeleteAllItems);
    connect(m_bbtnUp, &QToolButton::clicked, this, &TFileExport::MoveUp);
    connect(m_bbtnDown, &QToolButton::clicked, this, &TFileExport::MoveDown);
    connect(m_sgSrc, &QTableWidget::cellDoubleClicked, this, [this] { SetItem(DestRow(), false); });
    connect(m_sgDest, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_bbtnDelete->isEnabled())
            DeleteItem();
    });
    connect(m_sgDest, &QTableWidget::currentCellChanged, this, [this](int row) { UpdateUpDown(row); });
    m_sgSrc->installEventFilter(this);
    m_sgDest->installEventFilter(this);
    m_sgDest->viewport()->installEventFilter(this);

    connect(m_btnSave, &QPushButton::clicked, this, [this] {
        TBusyCursor busy;
        SaveSettings();
    });
    connect(m_btnExport, &QPushButton::clicked, this, &TFileExport::btnExportClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* enter = new TEnterMovesFocus(this);
    const auto exportOrClose = [this]() -> QWidget* {
        return m_btnExport->isEnabled() ? static_cast<QWidget*>(m_btnExport) : m_btnClose;
    };
    if (auto* rbList = m_range->findChild<QRadioButton*>(QStringLiteral("rbList")))
        enter->addTarget(rbList, m_rbEncrypt);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_rbEncrypt, m_rbNormal, m_chkOutHeader, m_chkBindDblQuote,
                                         m_chkEditTel, m_chkEditFax, m_chkEditPos, m_chkEditPortable1})
        enter->addNext(w);
    enter->addTarget(m_chkEditHyphen, [this, exportOrClose]() -> QWidget* {
        return m_chkEditHyphen->isChecked() ? TEnterMovesFocus::nextInTabOrder(m_chkEditHyphen)
                                            : exportOrClose();
    });
    enter->addTarget(m_chkEditPortable2, exportOrClose);
    m_btnExport->setAutoDefault(false);
}

// ---- settings ----

void TFileExport::LoadSettings(const TMemIniFile& ini)
{
    m_layout.Load(ini, FileExportSection);
    TRecordRange stored;
    stored.ReadSettings(ini, FileExportSection);
    int type = ini.ReadInteger(FileExportSection, QStringLiteral("Type"), etEncrypt);
    if (type != etEncrypt && type != etNormal)
        type = etEncrypt;
    const auto read = [&](QCheckBox* box, const char* key, bool def) {
        box->setChecked(ini.ReadBool(FileExportSection, QLatin1String(key), def));
    };
    read(m_chkOutHeader, "OutHeader", true);
    read(m_chkBindDblQuote, "BindDblQuote", false);
    read(m_chkEditHyphen, "EditHyphen", true);
    read(m_chkEditTel, "EditTel", true);
    read(m_chkEditFax, "EditFax", true);
    read(m_chkEditPos, "EditPos", true);
    read(m_chkEditPortable1, "EditPortable1", true);
    read(m_chkEditPortable2, "EditPortable2", true);
    for (QCheckBox* box : {m_chkEditTel, m_chkEditFax, m_chkEditPos, m_chkEditPortable1, m_chkEditPortable2})
        box->setEnabled(m_chkEditHyphen->isChecked());
    m_fileEncrypt = StoredPath(ini, QStringLiteral("FileEncrypt"));
    m_fileNormal = StoredPath(ini, QStringLiteral("FileNormal"));

    FillSrcGrid();
    if (m_source.Rows)
        m_range->InitDataRange(stored, *m_source.Rows);
    m_type = -1;
    (type == etNormal ? m_rbNormal : m_rbEncrypt)->setChecked(true);

    FillDestGrid();
    SelectDestRow(0);
    UpdateButtons();
    UpdateUpDown(0);
}

void TFileExport::SaveSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    m_layout.Save(ini, FileExportSection);
    m_range->Range().WriteSettings(ini, FileExportSection);
    ini.WriteInteger(FileExportSection, QStringLiteral("Type"), std::max(m_type, 0));
    const auto write = [&](QCheckBox* box, const char* key) {
        ini.WriteBool(FileExportSection, QLatin1String(key), box->isChecked());
    };
    write(m_chkOutHeader, "OutHeader");
    write(m_chkBindDblQuote, "BindDblQuote");
    write(m_chkEditHyphen, "EditHyphen");
    write(m_chkEditTel, "EditTel");
    write(m_chkEditFax, "EditFax");
    write(m_chkEditPos, "EditPos");
    write(m_chkEditPortable1, "EditPortable1");
    write(m_chkEditPortable2, "EditPortable2");
    ini.WriteString(FileExportSection, QStringLiteral("FileEncrypt"), EncodeDataPath(m_fileEncrypt));
    ini.WriteString(FileExportSection, QStringLiteral("FileNormal"), EncodeDataPath(m_fileNormal));
    QString error;
    if (!ini.UpdateFile(&error))
        MessageBoxPos(this, QStringLiteral("設定が保存できませんでした  \r\n") + error, ProductTitle,
                      MsgSeam::MbIconStop);
}

// ---- the address list's calls ----

void TFileExport::UpdateDataRange()
{
    m_range->UpdateDataRange();
}

void TFileExport::UpdateKeywordNames()
{
    FillSrcGrid();
    const int row = DestRow();
    FillDestGrid();
    SelectDestRow(row);
}

void TFileExport::UpdateProtectMemoNames()
{
    UpdateKeywordNames();
}

int TFileExport::TargetCount() const
{
    return m_range->TargetCount();
}

// ---- the column layout ----

void TFileExport::FillSrcGrid()
{
    const int current = std::max(m_sgSrc->currentRow(), 0);
    m_sgSrc->setRowCount(ExportItemCount);
    for (int item = 0; item < ExportItemCount; ++item)
        m_sgSrc->setItem(item, 0,
                         new QTableWidgetItem(ExportItemCaption(item, KeywordNames, ProtectMemoNames)));
    m_sgSrc->setCurrentCell(current, 0);
}

void TFileExport::FillDestGrid()
{
    const QList<TExportEntry>& entries = m_layout.Entries();
    m_sgDest->setRowCount(int(entries.size()) + 1);
    for (int row = 0; row <= int(entries.size()); ++row) {
        const bool entry = row < int(entries.size());
        const QString number =
            entry && entries[row].Column != 0 ? QString::asprintf("%3d", entries[row].Column) : QString();
        m_sgDest->setItem(row, 0, new QTableWidgetItem(number));
        m_sgDest->setItem(
            row, 1,
            new QTableWidgetItem(entry ? ExportItemCaption(entries[row].Item, KeywordNames, ProtectMemoNames)
                                       : QString()));
    }
}

void TFileExport::SelectDestRow(int row)
{
    row = std::clamp(row, 0, m_layout.Count());
    m_sgDest->setCurrentCell(row, 1);
    UpdateUpDown(row);
}

int TFileExport::DestRow() const
{
    return std::clamp(m_sgDest->currentRow(), 0, m_layout.Count());
}

int TFileExport::SrcItem() const
{
    return std::clamp(m_sgSrc->currentRow(), 0, ExportItemCount - 1);
}

void TFileExport::UpdateButtons()
{
    const bool any = !m_layout.IsEmpty();
    m_bbtnAdd->setEnabled(any);
    m_bbtnDelete->setEnabled(any);
    m_bbtnAllDelete->setEnabled(any);
    m_btnExport->setEnabled(any && TargetCount() != 0);
}

void TFileExport::UpdateUpDown(int row)
{
    m_bbtnUp->setEnabled(m_layout.CanUp(row));
    m_bbtnDown->setEnabled(m_layout.CanDown(row));
}

bool TFileExport::RefuseWhenFull(bool setAll)
{
    const bool full = setAll ? ExportItemCount >= MaxExportEntries : m_layout.IsFull();
    if (!full)
        return false;
    QString text = QStringLiteral("セットできる最大項目数は") + QString::number(MaxExportEntries) +
                   QStringLiteral("項目です  ");
    if (setAll)
        text += QStringLiteral("\r\nお手数ですが、個々にセットしてください  ");
    MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
    return true;
}

void TFileExport::SetItem(int row, bool moveSource)
{
    if (RefuseWhenFull())
        return;
    m_layout.Set(row, SrcItem());
    FillDestGrid();
    SelectDestRow(row + 1);
    UpdateButtons();
    if (moveSource && m_sgSrc->currentRow() < ExportItemCount - 1)
        m_sgSrc->setCurrentCell(m_sgSrc->currentRow() + 1, 0);
}

void TFileExport::JoinItem()
{
    if (m_layout.IsEmpty() || RefuseWhenFull())
        return;
    const int row = m_layout.Join(DestRow(), SrcItem());
    FillDestGrid();
    SelectDestRow(row);
    UpdateButtons();
}

void TFileExport::SetAllItems()
{
    if (RefuseWhenFull(true))
        return;
    m_layout.SetAll();
    FillDestGrid();
    SelectDestRow(m_sgSrc->currentRow());
    UpdateButtons();
}

void TFileExport::DeleteItem()
{
    const int row = m_layout.Delete(DestRow());
    if (row < 0)
        return;
    FillDestGrid();
    SelectDestRow(row);
    UpdateButtons();
}

void TFileExport::DeleteAllItems()
{
    m_layout.Clear();
    FillDestGrid();
    SelectDestRow(0);
    UpdateButtons();
    m_bbtnUp->setEnabled(false);
    m_bbtnDown->setEnabled(false);
}

void TFileExport::MoveUp()
{
    const int row = m_layout.Up(DestRow());
    FillDestGrid();
    SelectDestRow(row);
}

void TFileExport::MoveDown()
{
    const int row = m_layout.Down(DestRow());
    FillDestGrid();
    SelectDestRow(row);
}

void TFileExport::ChooseType(int type)
{
    m_type = type;
}

bool TFileExport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sgSrc && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert) {
            SetItem(DestRow(), true);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QWidget* next = TEnterMovesFocus::nextInTabOrder(m_sgSrc))
                next->setFocus();
            return true;
        }
    }
    if (watched == m_sgDest && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            DeleteItem();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_sgSrc->setFocus();
            return true;
        }
    }
    // Rows dragged from the item list drop in front of the row under the mouse.
    if (watched == m_sgDest->viewport()) {
        const auto fromSource = [this](QDropEvent* e) { return e->source() == m_sgSrc; };
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            const int row = m_sgDest->rowAt(e->position().toPoint().y());
            if (fromSource(e) && row >= 0) {
                m_sgDest->setCurrentCell(row, 1);
                e->acceptProposedAction();
            } else {
                e->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            const int row = m_sgDest->rowAt(e->position().toPoint().y());
            if (fromSource(e) && row >= 0) {
                e->acceptProposedAction();
                SetItem(row, false);
                SelectDestRow(row);
            }
            return true;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the target file ----

bool TFileExport::ShowSaveDialog(int type, QString& name)
{
    const QStringList filters = type == etEncrypt ? QStringList{EncryptFilter} : NormalFilters;
    QFileDialog dialog(this, QString(), QString(), filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        dialog.setDirectory(QFileInfo(name).absolutePath());
        dialog.selectFile(name);
    } else {
        dialog.setDirectory(DataFolder);
        dialog.selectFile(DataFolder + QStringLiteral("アドレス帳"));
    }
    PlaceSaveDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const int filterIndex = int(filters.indexOf(dialog.selectedNameFilter()));
    name =
        ApplyTargetExtension(dialog.selectedFiles().constFirst().trimmed(), type, std::max(filterIndex, 0));
    return true;
}

int TFileExport::ChooseTarget(int type)
{
    QString& remembered = type == etEncrypt ? m_fileEncrypt : m_fileNormal;
    return ChooseOutputTarget(this, remembered, type == etEncrypt,
                              [this, type](QString& name) { return ShowSaveDialog(type, name); });
}

// ---- the run ----

TExportContext TFileExport::Context() const
{
    TExportContext c;
    c.Options.OutHeader = m_chkOutHeader->isChecked();
    c.Options.BindDblQuote = m_chkBindDblQuote->isChecked();
    c.Options.EditHyphen = m_chkEditHyphen->isChecked();
    c.Options.EditTel = m_chkEditTel->isChecked();
    c.Options.EditFax = m_chkEditFax->isChecked();
    c.Options.EditPos = m_chkEditPos->isChecked();
    c.Options.EditPortable1 = m_chkEditPortable1->isChecked();
    c.Options.EditPortable2 = m_chkEditPortable2->isChecked();
    c.GroupNames = GroupNames;
    c.KeywordNames = KeywordNames;
    c.ProtectMemoNames = ProtectMemoNames;
    c.Hyphenate = AdrsHyphenateFunc();
    c.SenderTitle = m_source.SenderTitle;
    c.MajorCategoryName = [](int major) { return GetMajorCategoryName(major); };
    c.MinorCategoryName = [](int major, int minor) { return GetMinorCategoryName(major, minor); };
    return c;
}

bool TFileExport::CheckProtectedItems()
{
    if (!m_layout.HasProtectedItem())
        return true;
    if (!AdminPassword.isEmpty() && !AdminMode) {
        MessageBoxPos(this,
                      QStringLiteral(
                          "管理者モードでなければマイナンバー項目や  \r\n保護メモ項目などを出力できません  "),
                      ProductTitle, MsgSeam::MbIconExclamation);
        return false;
    }
    if (m_type == etNormal) {
        MessageBoxPos(
            this,
            QStringLiteral("マイナンバー項目や保護メモ項目などを出力する場合  \r\n出力タイプを「暗号化出力」"
                           "にする必要があります  "),
            ProductTitle, MsgSeam::MbIconInformation);
        m_sgSrc->setFocus();
        return false;
    }
    return true;
}

void TFileExport::btnExportClick()
{
    if (m_layout.IsEmpty()) {
        MessageBoxPos(this, QStringLiteral("出力する項目をセットしてください  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        m_sgSrc->setFocus();
        return;
    }
    if (!CheckProtectedItems())
        return;
    if (MessageBoxPos(this,
                      QStringLiteral("アドレス帳のデータをファイルに出力します  \r\nよろしいですか？  "),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    const int choice = ChooseTarget(m_type);
    if (choice == tcAbandon)
        return;
    const bool done = m_type == etEncrypt ? RunEncrypted() : RunPlain(choice);
    if (done) {
        SaveSettings();
        Report();
        m_btnClose->setFocus();
    }
}

// Writes the lines into file and commits it; says why and discards it when that fails.
bool TFileExport::WriteTo(TExportTextFile& file, const QString& shownName)
{
    TAdrsTableCursor* cursor = m_source.Cursor ? m_source.Cursor() : nullptr;
    if (!cursor || !m_source.Rows) {
        file.Discard();
        return false;
    }
    m_pgbarExport->setRange(0, std::max(TargetCount(), 1));
    m_pgbarExport->setValue(0);
    m_pgbarExport->repaint();
    QString error;
    try {
        m_written = WriteRecords(
            m_layout, Context(), m_range->Range(), *m_source.Rows, *cursor,
            [&](const AnsiString& line) {
                if (BeforeWriteLine)
                    BeforeWriteLine();
                file.WriteLine(line);
            },
            [this] { m_pgbarExport->setValue(m_pgbarExport->value() + 1); });
        if (file.Commit(&error))
            return true;
    } catch (const EExportDecipherError& e) {
        file.Discard();
        QApplication::restoreOverrideCursor();
        MessageBoxPos(
            this,
            QStringLiteral("保護項目が復号できなかったため出力できませんでした  \r\nレコード番号 : ") +
                QString::number(e.RecNo) + QStringLiteral("  "),
            ProductTitle, MsgSeam::MbIconStop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return false;
    } catch (const std::exception& e) {
        file.Discard();
        error = QString::fromLocal8Bit(e.what());
    }
    QApplication::restoreOverrideCursor();
    MessageBoxPos(this,
                  QStringLiteral("ファイルに書き込めませんでした  \r\n") +
                      QDir::toNativeSeparators(shownName) + QStringLiteral("  \r\n") + error,
                  ProductTitle, MsgSeam::MbIconStop);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return false;
}

bool TFileExport::RunPlain(int choice)
{
    TBusyCursor busy;
    TExportTextFile file(m_fileNormal);
    QString error;
    if (!file.Open(choice == tcAppend, &error)) {
        QApplication::restoreOverrideCursor();
        MessageBoxPos(this,
                      QStringLiteral("ファイルが作成できませんでした  \r\n") +
                          QDir::toNativeSeparators(m_fileNormal) + QStringLiteral("  \r\n") + error,
                      ProductTitle, MsgSeam::MbIconStop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return false;
    }
    return WriteTo(file, m_fileNormal);
}

bool TFileExport::RunEncrypted()
{
    QString password;
    {
        TFileExportPassword dialog(this);
        CenterForm(&dialog, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        password = dialog.Password();
    }
    TBusyCursor busy;
    const QFileInfo target(m_fileEncrypt);
    QString error;
    const QString workFolder = CreateWorkFolder(target.absolutePath(), &error);
    if (workFolder.isEmpty()) {
        QApplication::restoreOverrideCursor();
        MessageBoxPos(this, QStringLiteral("作業フォルダーが作成できませんでした  \r\n") + error,
                      ProductTitle, MsgSeam::MbIconStop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return false;
    }
    const QString workFile = workFolder + target.completeBaseName() + QStringLiteral(".txt");
    bool done = false;
    if (QFile::encodeName(workFolder).size() > CryptSfxPathMax ||
        QFile::encodeName(QFileInfo(workFile).fileName()).size() > CryptSfxPathMax) {
        QApplication::restoreOverrideCursor();
        MessageBoxPos(this, QStringLiteral("出力先のフォルダー名またはファイル名が長すぎます  "),
                      ProductTitle, MsgSeam::MbIconStop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        TExportTextFile file(workFile);
        if (file.Open(false, &error) && WriteTo(file, workFile))
            done = MakeSelfRestoringFile(this, password, workFile, m_fileEncrypt);
    }
    password.fill(QLatin1Char('\0'));
    // The plain text never stays behind, whatever happened.
    DeleteFolderTree(workFolder);
    return done;
}

void TFileExport::Report()
{
    MessageBoxPos(this,
                  QStringLiteral("テキストファイルの出力が完了しました  \r\n\r\n対象件数 : ") +
                      QString::number(TargetCount()) + QStringLiteral(" 件  \r\n出力件数 : ") +
                      QString::number(m_written) + QStringLiteral(" 件  "),
                  ProductTitle, MsgSeam::MbIconInformation);
}

// ---- the address list's road to the window ----

TFileExport* ShowFileExport(TAddressList& list)
{
    return ShowListFollower(FileExport, list, [&list] {
        TFileExportSource source;
        source.Rows = &list;
        QPointer<TAddressList> guard(&list);
        source.Cursor = ListCursor(list);
        source.SenderTitle = [guard](qint32 recNo) {
            if (!guard)
                return QString();
            for (int i = 0; i < guard->GetSenderCount(); ++i)
                if (guard->GetSenderRecNo(i) == recNo)
                    return guard->GetSenderTitle(i);
            return QString();
        };
        source.Detach = ListDetach(list);
        return new TFileExport(&list, std::move(source));
    });
}

void RegisterFileExport()
{
    RegisterListFollower(TListCommand::ExportFile, TListChild::FileExport, FileExport, &ShowFileExport);
}

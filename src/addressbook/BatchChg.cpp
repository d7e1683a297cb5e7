// Batch edit of the selected rows of the address list.
#include "addressbook/BatchChg.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListRows.h"
#include "addressbook/AdrsListServices.h"
#include "addressbook/DtInqiry.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/CategoryNames.h"
#include "core/CstmClr.h"
#include "core/DialogSub.h"
#include "core/HisInfo.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/TableEngine.h"
#include "search/ConAdrsDicClass.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace {

const char* const KeywordFieldNames[8] = {"Keyword1", "Keyword2", "Keyword3", "Keyword4",
                                          "Keyword5", "Keyword6", "Keyword7", "Keyword8"};

// Writes the value when the field holds another one; true when it wrote.
bool SetIfDiffers(Table& t, const char* name, qint64 value)
{
    TableField f = t.fieldByName(QLatin1String(name));
    if (f.asInteger() == value)
        return false;
    f.setInteger(value);
    return true;
}
bool SetIfDiffers(Table& t, const char* name, bool value)
{
    TableField f = t.fieldByName(QLatin1String(name));
    if (f.asBoolean() == value)
        return false;
    f.setBoolean(value);
    return true;
}
bool SetIfDiffers(Table& t, const char* name, const AnsiString& value)
{
    TableField f = t.fieldByName(QLatin1String(name));
    if (f.asAnsi() == value)
        return false;
    f.setAnsi(value);
    return true;
}

} // namespace

TBatchChangeRun::TBatchChangeRun(Table& table, const TBatchChoice& choice, TBatchConvert convert)
    : m_table(table), m_choice(choice), m_convert(std::move(convert))
{
}

TBatchChangeRun::TRowResult TBatchChangeRun::EditRow(qint32 recNo, TAdrsDataRec& handed)
{
    if (!m_table.findKey({recNo}))
        return TRowResult::Missing;
    const auto& f = m_choice.flags;
    const TAdrsDataRec& v = m_choice.values;
    m_table.edit();
    bool changed = false;
    try {
        if (f[biGroup])
            changed |= SetIfDiffers(m_table, "Group", qint64(v.Group));
        if (f[biCodes]) {
            AnsiString address;
            for (const char* name : {"Tdfkn", "Adrs1", "Adrs2", "Adrs3"})
                address += TrimAnsiText(m_table.fieldByName(QLatin1String(name)).asAnsi());
            if (!address.isEmpty()) {
                AnsiString jis, block;
                if (m_convert && m_convert(address, jis, block)) {
                    changed |= SetIfDiffers(m_table, "JisCode", jis);
                    changed |= SetIfDiffers(m_table, "KajoCode", block);
                }
            } else {
                changed |= SetIfDiffers(m_table, "JisCode", AnsiString());
                changed |= SetIfDiffers(m_table, "KajoCode", AnsiString());
            }
        }
        if (f[biPrivCorp])
            changed |= SetIfDiffers(m_table, "PrivCorp", v.PrivCorp);
        if (f[biIgnoreName])
            changed |= SetIfDiffers(m_table, "IgnoreName", v.IgnoreName);
        if (f[biCategory]) {
            if (SetIfDiffers(m_table, "CodeMain", qint64(v.CodeMain))) {
                m_table.fieldByName(QStringLiteral("CodeSub")).setInteger(v.CodeSub);
                changed = true;
            } else {
                changed |= SetIfDiffers(m_table, "CodeSub", qint64(v.CodeSub));
            }
        }
        if (f[biPrintTarget])
            changed |= SetIfDiffers(m_table, "PrintTarget", qint64(v.PrintTarget));
        if (f[biSender])
            changed |= SetIfDiffers(m_table, "Sender", qint64(v.Sender));
        for (int k = 0; k < 8; ++k)
            if (f[size_t(biKeyword1 + k)])
                changed |=
                    SetIfDiffers(m_table, KeywordFieldNames[k], (v.*AdrsKeywordFields[size_t(k)]).text());
        if (f[biSymbolMark])
            changed |= SetIfDiffers(m_table, "SymbolMark", v.SymbolMark.text());
        if (f[biSymbolColor])
            changed |= SetIfDiffers(m_table, "SymbolColor", qint64(v.SymbolColor));
    } catch (...) {
        m_table.cancel();
        throw;
    }
    if (!changed) {
        m_table.cancel();
        return TRowResult::Unchanged;
    }
    const QDateTime now = Clock();
    try {
        m_table.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(now);
        handed = v;
        handed.RecNo = recNo;
        handed.JisCode = m_table.fieldByName(QStringLiteral("JisCode")).asAnsi();
        handed.KajoCode = m_table.fieldByName(QStringLiteral("KajoCode")).asAnsi();
        handed.UpdDateTime = ToTDateTime(now);
        m_table.post();
    } catch (const std::exception&) {
        try {
            m_table.cancel();
        } catch (const std::exception&) {
        }
        return TRowResult::PostFailed;
    }
    return TRowResult::Changed;
}

bool TBatchChangeRun::CommitBatch()
{
    m_inBatch = false;
    try {
        m_table.commit();
        return true;
    } catch (const std::exception&) {
        try {
            if (m_table.inTransaction())
                m_table.rollback();
        } catch (const std::exception&) {
        }
        return false;
    }
}

void TBatchChangeRun::Count(TBatchOutcome& out, const TPending& p, TRowResult result,
                            const TAdrsDataRec& handed)
{
    if (result == TRowResult::Changed) {
        out.recNos[p.slot] = p.recNo;
        ++out.changed;
        if (OnChanged)
            OnChanged(p.index, handed);
    } else if (result == TRowResult::PostFailed) {
        ++out.failedPosts;
    }
}

// The batch's writes are gone: its rows are edited again one by one, each committed on its own.
void TBatchChangeRun::ReplayBatch(TBatchOutcome& out)
{
    m_inBatch = false;
    try {
        if (m_table.inTransaction())
            m_table.rollback();
        else
            m_table.refresh();
    } catch (const std::exception&) {
    }
    const QList<TPending> pending = m_pending;
    m_pending.clear();
    m_pendingHanded.clear();
    for (const TPending& p : pending) {
        TAdrsDataRec handed;
        const TRowResult result = EditRow(p.recNo, handed);
        Count(out, p, result, handed);
    }
}

TBatchOutcome TBatchChangeRun::Run(const TAddressListRows& rows)
{
    TBatchOutcome out;
    m_table.cancelRange();
    m_table.setIndexName(QString());
    const int first = rows.GetFirstSelectedIndex();
    const int last = rows.GetLastSelectedIndex();
    bool batching = BatchSize > 1;
    // Rows of the open batch: counted only once the batch is committed.
    auto settle = [&] {
        if (!m_inBatch)
            return;
        const QList<TPending> pending = m_pending;
        const QList<TAdrsDataRec> handed = m_pendingHanded;
        if (!CommitBatch()) {
            batching = false;
            ReplayBatch(out);
            return;
        }
        m_pending.clear();
        m_pendingHanded.clear();
        for (int i = 0; i < pending.size(); ++i)
            Count(out, pending[i], TRowResult::Changed, handed[i]);
    };
    if (first >= 0) {
        for (int index = first; index <= last; ++index) {
            if (!rows.IsSelected(index))
                continue;
            const TPending p{int(out.recNos.size()), index, qint32(rows.GetRecNo(index))};
            out.recNos.append(0);
            if (batching && !m_inBatch) {
                try {
                    m_table.startTransaction();
                    m_inBatch = true;
                } catch (const std::exception&) {
                    batching = false;
                }
            }
            TAdrsDataRec handed;
            TRowResult result;
            try {
                result = EditRow(p.recNo, handed);
            } catch (const EDictionaryError& e) {
                out.end = TBatchOutcome::ConverterError;
                out.message = e.Message();
                break;
            }
            if (result == TRowResult::Missing) {
                out.end = TBatchOutcome::RowMissing;
                break;
            }
            if (!m_inBatch) {
                Count(out, p, result, handed);
                continue;
            }
            if (result == TRowResult::Changed) {
                m_pending.append(p);
                m_pendingHanded.append(handed);
            } else {
                Count(out, p, result, handed);
            }
            // An engine that gave up the transaction kept nothing of the batch.
            if (!m_table.inTransaction()) {
                batching = false;
                ReplayBatch(out);
            } else if (m_pending.size() >= BatchSize) {
                settle();
            }
        }
    }
    settle();
    if (out.changed > 0) {
        try {
            m_table.flushBuffers();
        } catch (const std::exception&) {
        }
    }
    return out;
}

// ---- the dialog ----

TBatchChange::TBatchChange(const TAddressListRows& rows, TCardAddressBook& book, Table& table,
                           QWidget* parent)
    : QDialog(parent), m_rows(rows), m_book(book), m_table(table)
{
    setObjectName(QStringLiteral("BatchChange"));
    setWindowTitle(QStringLiteral("アドレス帳の一括編集"));
    SetHelpContext(this, 66);
    BuildControls();
    UpdateEnabled();
}

void TBatchChange::BuildControls()
{
    static const char* const boxNames[BatchItemCount] = {
        "chkGroup",    "chkJisCode",  "chkPrivCorp", "chkIgnoreName", "chkCategory",   "chkPrintTarget",
        "chkSender",   "chkKeyword1", "chkKeyword2", "chkKeyword3",   "chkKeyword4",   "chkKeyword5",
        "chkKeyword6", "chkKeyword7", "chkKeyword8", "chkSymbolMark", "chkSymbolColor"};
    const QString captions[7] = {QStringLiteral("グループ"),
                                 QStringLiteral("市町村コードを取得"),
                                 QStringLiteral("個人と会社の切り替え"),
                                 QStringLiteral("宛名の印刷に名前を使用しない"),
                                 QStringLiteral("カテゴリ"),
                                 QStringLiteral("印刷指定"),
                                 QStringLiteral("差出人")};
    auto* enter = new TEnterMovesFocus(this);
    for (int i = 0; i < BatchItemCount; ++i) {
        QString caption;
        if (i < 7)
            caption = captions[i];
        else if (i < biSymbolMark)
            caption = KeywordNames.value(i - biKeyword1,
                                         QStringLiteral("キーワード%1").arg(QChar(0xFF11 + i - biKeyword1)));
        else
            caption = i == biSymbolMark ? QStringLiteral("シンボルマーク") : QStringLiteral("シンボル色");
        chkItem[size_t(i)] = Named<QCheckBox>(this, boxNames[i], caption);
        PaintCheckedBlue(chkItem[size_t(i)]);
        connect(chkItem[size_t(i)], &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
        enter->addNext(chkItem[size_t(i)]);
    }
    const auto pair = [enter](QRadioButton*& a, const char* an, const QString& at, QRadioButton*& b,
                              const char* bn, const QString& bt) {
        auto* box = new QWidget;
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(box);
        for (auto [r, n, t] : {std::tuple{&a, an, at}, std::tuple{&b, bn, bt}}) {
            *r = Named<QRadioButton>(box, n, t);
            PaintCheckedBlue(*r);
            group->addButton(*r);
            h->addWidget(*r);
            enter->addNext(*r);
        }
        a->setChecked(true);
        h->addStretch(1);
        return box;
    };

    cbxGroup = Named<QComboBox>(this, "cbxGroup");
    cbxGroup->addItem(QStringLiteral("指定しない"), 0);
    for (int g = 1; g <= 10; ++g)
        cbxGroup->addItem(QStringLiteral("%1： %2").arg(g, 2).arg(GroupNames.value(g)), g);
    QWidget* privBox =
        pair(rbPriv, "rbPriv", QStringLiteral("個人"), rbCorp, "rbCorp", QStringLiteral("会社"));
    QWidget* ignoreBox = pair(rbIgnoreName, "rbIgnoreName", QStringLiteral("チェックする"), rbUseName,
                              "rbUseName", QStringLiteral("チェックしない"));
    cbxCatMain = Named<QComboBox>(this, "cbxCatMain");
    cbxCatMain->addItem(QStringLiteral("指定しない"), 0);
    for (const CodedName& entry : MajorCategoryNames)
        cbxCatMain->addItem(entry.name, entry.code);
    cbxCatSub = Named<QComboBox>(this, "cbxCatSub");
    connect(cbxCatMain, &QComboBox::currentIndexChanged, this, [this] {
        FillCategorySub();
        UpdateEnabled();
    });
    auto* catBox = new QWidget;
    {
        auto* h = new QHBoxLayout(catBox);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(new QLabel(QStringLiteral("大分類：")));
        h->addWidget(cbxCatMain, 1);
        h->addWidget(new QLabel(QStringLiteral("小分類：")));
        h->addWidget(cbxCatSub, 1);
    }
    auto* printBox = new QWidget;
    {
        auto* h = new QHBoxLayout(printBox);
        h->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(printBox);
        rbPrintTarget = Named<QRadioButton>(printBox, "rbPrintTarget", QStringLiteral("印刷対象"));
        rbPrintException = Named<QRadioButton>(printBox, "rbPrintException", QStringLiteral("印刷除外"));
        rbPrintNone = Named<QRadioButton>(printBox, "rbPrintNone", QStringLiteral("指定なし"));
        for (QRadioButton* r : {rbPrintTarget, rbPrintException, rbPrintNone}) {
            PaintCheckedBlue(r);
            group->addButton(r);
            h->addWidget(r);
            enter->addNext(r);
        }
        rbPrintTarget->setChecked(true);
        h->addStretch(1);
    }
    cbxSender = Named<QComboBox>(this, "cbxSender");
    cbxSender->addItem(QStringLiteral("標準"), 0);
    for (const TCardSender& s : m_book.Senders())
        cbxSender->addItem(s.title, s.recNo);
    for (int k = 0; k < 5; ++k) {
        edtKeyword[size_t(k)] =
            Named<QLineEdit>(this, QStringLiteral("edtKeyword%1").arg(k + 1).toLatin1().constData());
        LimitAnsiBytes(edtKeyword[size_t(k)], 100);
        SetImeMode(edtKeyword[size_t(k)], KeywordInputModes.value(k, imHira));
        enter->addNext(edtKeyword[size_t(k)]);
    }
    for (int k = 0; k < 3; ++k) {
        QComboBox* c =
            Named<QComboBox>(this, QStringLiteral("cbxKeyword%1").arg(k + 6).toLatin1().constData());
        c->setEditable(true);
        LimitAnsiBytes(c->lineEdit(), 100);
        if (THistoryData* history = ModuleCardData().InputHistory(TInputListKind(ilKeyword1 + k)))
            if (history->IsLoaded())
                for (int i = 0; i < history->Count(); ++i)
                    c->addItem(ToWide(history->GetText(i)));
        c->setCurrentIndex(-1);
        c->setEditText(QString());
        SetImeMode(c, KeywordInputModes.value(5 + k, imHira));
        cbxKeyword[size_t(k)] = c;
        enter->addNext(c);
    }
    cbxSymbolMark = Named<QComboBox>(this, "cbxSymbolMark");
    cbxSymbolMark->addItem(QStringLiteral("指定しない"));
    for (const char* mark : SymbolMarks)
        cbxSymbolMark->addItem(QString::fromUtf8(mark));
    pnlSymbolColor = Named<QFrame>(this, "pnlSymbolColor");
    pnlSymbolColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlSymbolColor->setFixedSize(40, 20);
    pnlSymbolColor->setAutoFillBackground(true);
    bbtnSymbolColor = Named<QToolButton>(this, "bbtnSymbolColor");
    bbtnSymbolColor->setToolTip(QStringLiteral("色の変更"));
    SetButtonPicture(bbtnSymbolColor, QStringLiteral("COLORSET"));
    connect(bbtnSymbolColor, &QToolButton::clicked, this, [this] { bbtnSymbolColorClick(); });
    auto* colorBox = new QWidget;
    {
        auto* h = new QHBoxLayout(colorBox);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(pnlSymbolColor);
        h->addWidget(bbtnSymbolColor);
        h->addStretch(1);
    }
    for (QComboBox* c : {cbxGroup, cbxCatMain, cbxCatSub, cbxSender, cbxSymbolMark})
        enter->addNext(c);

    auto* grid = new QGridLayout;
    QWidget* widgets[BatchItemCount] = {
        cbxGroup,      nullptr,       privBox,       ignoreBox,     catBox,        printBox,
        cbxSender,     edtKeyword[0], edtKeyword[1], edtKeyword[2], edtKeyword[3], edtKeyword[4],
        cbxKeyword[0], cbxKeyword[1], cbxKeyword[2], cbxSymbolMark, colorBox};
    for (int i = 0; i < BatchItemCount; ++i) {
        grid->addWidget(chkItem[size_t(i)], i, 0);
        if (widgets[i])
            grid->addWidget(widgets[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    btnStart = MakeButton(this, "btnStart", QStringLiteral("開始"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnStart, &QPushButton::clicked, this, [this] { btnStartClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addLayout(ButtonRow({btnStart, btnCancel}));
    setMinimumWidth(560);
}

void TBatchChange::FillCategorySub()
{
    cbxCatSub->clear();
    const int major = cbxCatMain->currentData().toInt();
    if (major > 0 && major <= MajorCategoryCount)
        for (const CodedName& entry : MinorCategoryLists[size_t(major - 1)])
            cbxCatSub->addItem(entry.name, entry.code);
    cbxCatSub->setCurrentIndex(cbxCatSub->count() > 0 ? 0 : -1);
}

void TBatchChange::UpdateEnabled()
{
    const auto on = [this](int item) { return chkItem[size_t(item)]->isChecked(); };
    cbxGroup->setEnabled(on(biGroup));
    rbPriv->setEnabled(on(biPrivCorp));
    rbCorp->setEnabled(on(biPrivCorp));
    rbIgnoreName->setEnabled(on(biIgnoreName));
    rbUseName->setEnabled(on(biIgnoreName));
    cbxCatMain->setEnabled(on(biCategory));
    cbxCatSub->setEnabled(on(biCategory) && cbxCatMain->currentData().toInt() > 0);
    for (QRadioButton* r : {rbPrintTarget, rbPrintException, rbPrintNone})
        r->setEnabled(on(biPrintTarget));
    cbxSender->setEnabled(on(biSender));
    for (int k = 0; k < 5; ++k)
        edtKeyword[size_t(k)]->setEnabled(on(biKeyword1 + k));
    for (int k = 0; k < 3; ++k)
        cbxKeyword[size_t(k)]->setEnabled(on(biKeyword1 + 5 + k));
    cbxSymbolMark->setEnabled(on(biSymbolMark));
    bbtnSymbolColor->setEnabled(on(biSymbolColor));
    // The swatch shows the kept colour only while its item is checked.
    QPalette p = pnlSymbolColor->palette();
    p.setColor(QPalette::Window, on(biSymbolColor) ? ColorFromValue(m_symbolColor)
                                                   : QApplication::palette().color(QPalette::Button));
    pnlSymbolColor->setPalette(p);
    bool any = false;
    for (QCheckBox* c : chkItem)
        any |= c->isChecked();
    btnStart->setEnabled(any);
}

TBatchChoice TBatchChange::Choice() const
{
    TBatchChoice c;
    for (int i = 0; i < BatchItemCount; ++i)
        c.flags[size_t(i)] = chkItem[size_t(i)]->isChecked();
    TAdrsDataRec& v = c.values;
    v.Group = cbxGroup->currentData().toInt();
    v.PrivCorp = rbPriv->isChecked();
    v.IgnoreName = rbIgnoreName->isChecked();
    v.CodeMain = cbxCatMain->currentData().toInt();
    v.CodeSub = v.CodeMain > 0 && cbxCatSub->currentIndex() >= 0 ? cbxCatSub->currentData().toInt() % 100 : 0;
    v.PrintTarget = rbPrintTarget->isChecked() ? 1 : rbPrintException->isChecked() ? 2 : 0;
    v.Sender = cbxSender->currentData().toInt();
    for (int k = 0; k < 8; ++k) {
        const QString text = k < 5 ? edtKeyword[size_t(k)]->text() : cbxKeyword[size_t(k - 5)]->currentText();
        v.*AdrsKeywordFields[size_t(k)] = Cp932::cutAtBoundary(TrimAnsiText(ToAnsi(text)), 100);
    }
    v.SymbolMark = SymbolMarkBytes(cbxSymbolMark->currentIndex() - 1);
    v.SymbolColor = m_symbolColor;
    return c;
}

void TBatchChange::bbtnSymbolColorClick()
{
    qint32 color = m_symbolColor;
    const auto place = [this](QWidget* dialog) {
        QPoint at = frameGeometry().topLeft() + QPoint(15, 15);
        const QRect area = screen() ? screen()->availableGeometry() : QRect();
        if (area.isValid()) {
            at.setX(std::max(0, std::min(at.x(), area.right() + 1 - dialog->frameGeometry().width())));
            at.setY(std::max(0, std::min(at.y(), area.bottom() + 1 - dialog->frameGeometry().height())));
        }
        dialog->move(at);
    };
    if (ExecuteColorDialog(this, color, place)) {
        m_symbolColor = color;
        UpdateEnabled();
    }
}

void TBatchChange::btnStartClick()
{
    if (MessageBoxPos(
            this, QStringLiteral("一覧で選択したデータを、設定した内容で変更します  \r\nよろしいですか？  "),
            ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    const TBatchChoice choice = Choice();
    std::optional<TContinualAdrsSearch> converter;
    if (choice.flags[biCodes]) {
        try {
            converter.emplace(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        } catch (const EDictionaryError& e) {
            MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
            return;
        }
    }
    TBusyCursor busy;
    TBatchConvert convert;
    if (converter)
        convert = [&converter](const AnsiString& address, AnsiString& jis, AnsiString& block) {
            if (converter->Search(address) != 0)
                return false;
            const TAdrsConvResultRec& r = converter->GetResult(false);
            jis = FieldText(r.JisCode);
            block = FieldText(r.BlockCode);
            return true;
        };
    const QString keptIndex = m_table.indexName();
    TBatchChangeRun run(m_table, choice, convert);
    run.BatchSize = BatchSize;
    run.Clock = Clock;
    run.OnChanged = [this, &choice](int index, const TAdrsDataRec& handed) {
        if (DataInquiry && DataInquiry->isVisible() && m_book.GetCurrentIndex() == index)
            DataInquiry->ApplyBatchChange(handed, choice.flags);
    };
    TBatchOutcome out;
    try {
        out = run.Run(m_rows);
    } catch (const std::exception& e) {
        out.end = TBatchOutcome::ConverterError;
        out.message = QString::fromUtf8(e.what());
    }
    try {
        m_table.setIndexName(keptIndex);
    } catch (const std::exception&) {
    }
    if (out.changed > 0)
        m_book.NotifyRecordsEdited(out.recNos);
    if (out.end == TBatchOutcome::RowMissing)
        MessageBoxPos(this, QStringLiteral("アドレス帳が読み出せませんでした  "), ProductTitle,
                      MsgSeam::MbIconInformation);
    else if (out.end == TBatchOutcome::ConverterError)
        MessageBoxPos(this, out.message, ProductTitle, MsgSeam::MbIconStop);
    if (out.failedPosts > 0)
        MessageBoxPos(this, QStringLiteral("%1件のデータを変更できませんでした  ").arg(out.failedPosts),
                      ProductTitle, MsgSeam::MbIconExclamation);
    accept();
}

void RegisterBatchChange()
{
    RegisterListCommand(TListCommand::BatchChange, [](TAddressList& list) {
        TBatchChange dialog(list, list, ModuleCardData().AdrsTable(), &list);
        CenterForm(&dialog, &list);
        TListCommandResult result;
        result.ok = dialog.exec() == QDialog::Accepted;
        return result;
    });
}

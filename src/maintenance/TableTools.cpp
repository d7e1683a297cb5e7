// What the table tools share.
#include "maintenance/TableTools.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TTableToolHook& toolHook()
{
    static TTableToolHook hook;
    return hook;
}

} // namespace

bool MakeSafetyCopy(QWidget* owner, TBackupWork work, const QList<int>& books, bool withSender)
{
    const int result = BackupWorkFolders(work, books, withSender);
    if (result == crOk || result == crNoFiles)
        return true;
    MessageBoxPos(owner,
                  QStringLiteral("作業前のバックアップが作成できませんでした  \r\n\r\n  ") +
                      BackupWorkFolder(work) + QStringLiteral("  \r\n\r\nデータは変更していません  "),
                  ProductTitle, MsgSeam::MbIconStop);
    return false;
}

TSharedTableClosed::TSharedTableClosed(TDMQuenrid215::TTableKind kind) : m_kind(kind)
{
    if (DMQuenrid215 && DMQuenrid215->OpenCount(kind) > 0) {
        // Close by the shared path so the count stays right; the reference comes back in the destructor.
        if (kind == TDMQuenrid215::tkAdrs)
            DMQuenrid215->CloseAdrs();
        else if (kind == TDMQuenrid215::tkSender)
            DMQuenrid215->CloseSender();
        m_reopen = true;
    }
}

TSharedTableClosed::~TSharedTableClosed()
{
    if (!m_reopen || !DMQuenrid215)
        return;
    if (m_kind == TDMQuenrid215::tkAdrs)
        DMQuenrid215->OpenAdrs();
    else if (m_kind == TDMQuenrid215::tkSender)
        DMQuenrid215->OpenSender();
}

int ConvertInBatches(Table& table, const std::function<bool()>& record, const std::function<void()>& step)
{
    constexpr int BatchSize = 1000;
    int converted = 0;
    int inBatch = 0;
    table.startTransaction();
    try {
        for (table.first(); !table.eof(); table.next()) {
            if (record())
                ++converted;
            if (step)
                step();
            if (++inBatch == BatchSize) {
                table.commit();
                table.startTransaction();
                inBatch = 0;
            }
        }
        table.commit();
    } catch (const TableError&) {
        if (table.inTransaction())
            table.rollback();
        throw;
    }
    table.flushBuffers();
    return converted;
}

void ShowToolError(QWidget* owner, const QString& what, const QString& detail)
{
    MessageBoxPos(owner, what + QStringLiteral("  \r\n\r\n") + detail + QStringLiteral("  "), ProductTitle,
                  MsgSeam::MbIconStop);
}

void SetTableToolHook(TTableToolHook hook)
{
    toolHook() = std::move(hook);
}

void RunTableToolHook(const QString& step, const QString& path)
{
    if (toolHook())
        toolHook()(step, path);
}

bool WorkOnExclusiveTable(QWidget* owner, const QString& bookFolder, const QString& failureText,
                          const std::function<void(Table& table)>& work)
{
    TDMQuenrid215* dm = DMQuenrid215;
    const bool book = !bookFolder.isEmpty();
    if (!dm || !(book ? dm->OpenAdrsExclusive(bookFolder) : dm->OpenSenderExclusive()))
        return false;
    bool ok = true;
    try {
        work(book ? *dm->AdrsExclusiveTable() : *dm->SenderExclusiveTable());
    } catch (const TableError& e) {
        ShowToolError(owner, failureText, e.message());
        ok = false;
    }
    if (book)
        dm->CloseAdrsExclusive();
    else
        dm->CloseSenderExclusive();
    return ok;
}

bool ConfirmToolRun(QWidget* owner, const QString& question, const std::function<bool()>& closeChildren)
{
    if (MessageBoxPos(owner, question, ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return false;
    if (closeChildren && !closeChildren())
        return false;
    owner->repaint();
    return true;
}

TConvertToolDialog::TConvertToolDialog(QWidget* owner, std::function<bool()> closeChildren,
                                       const QString& name, const QString& title, int helpContext,
                                       const QStringList& lines)
    : QDialog(owner), m_closeChildren(std::move(closeChildren))
{
    setObjectName(name);
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, helpContext);
    pgbarConvert = Named<QProgressBar>(this, "pgbarConvert");
    pgbarConvert->setTextVisible(false);
    pgbarConvert->setValue(0);
    btnConvert = MakeButton(this, "btnConvert", QStringLiteral("変換"), true);
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    connect(btnConvert, &QPushButton::clicked, this, [this] { btnConvertClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    for (const QString& line : lines)
        layout->addWidget(new QLabel(line));
    layout->addWidget(pgbarConvert);
    layout->addLayout(ButtonRow({btnConvert, btnClose}));
}

void TConvertToolDialog::StartProgress(int total)
{
    pgbarConvert->setRange(0, std::max(1, total));
    pgbarConvert->setValue(0);
}

void TConvertToolDialog::StepProgress()
{
    pgbarConvert->setValue(pgbarConvert->value() + 1);
}

void TConvertToolDialog::ShowConvertDone(const QString& what, int processed, int converted)
{
    MessageBoxPos(this,
                  QStringLiteral("%1が完了しました  \r\n\r\n  処理件数 = %2 件  \r\n  変換件数 = %3 件  ")
                      .arg(what)
                      .arg(processed)
                      .arg(converted),
                  ProductTitle, MsgSeam::MbIconInformation);
    accept();
}

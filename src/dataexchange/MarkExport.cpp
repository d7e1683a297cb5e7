// The mark export window.
#include "dataexchange/MarkExport.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListGlue.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "core/WindowPlace.h"
#include "dataexchange/TargetChoice.h"
#include "links/AtlasMateView.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTemporaryFile>
#include <QVBoxLayout>

#include <cstdio>

QPointer<TMarkExport> MarkExport;

namespace {

const QString MarkFilters = QStringLiteral("マークファイル (*.mri);;すべてのファイル (*)");

} // namespace

std::optional<TMarkEntry> MarkOfRow(const TAdrsRow& row)
{
    TMarkEntry e;
    e.Latitude = row.FieldInt("Latitude");
    e.Longitude = row.FieldInt("Longitude");
    if (e.Latitude <= 0 || e.Longitude <= 0)
        return std::nullopt;
    if (row.FieldBool("PrivCorp")) {
        const AnsiString stored = row.FieldBytes("NameKanji");
        try {
            e.Name = Cp932::fromUnicode(HexTextToWide(stored));
        } catch (const EConvertError&) {
            e.Name = stored; // not in the Unicode form after all
        }
    } else {
        e.Name = row.FieldBytes("CorpKanji");
    }
    return e;
}

// ---- creation ----

TMarkExport::TMarkExport(QWidget* owner, TMarkExportSource source)
    : QWidget(owner, Qt::Window), m_source(std::move(source))
{
    setObjectName(QStringLiteral("MarkExport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("マークファイルの出力"));

    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    m_range =
        new TRecordRangeGroup(this, QStringLiteral("出力データの選択"), QStringLiteral("出力対象件数："));
    root->addWidget(m_range);
    m_pgbarExport = Named<QProgressBar>(this, "pgbarExport");
    m_pgbarExport->setTextVisible(false);
    root->addWidget(m_pgbarExport);
    m_btnExport = MakeButton(this, "btnExport", QStringLiteral("出力"));
    m_btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_btnExport);
    buttonRow->addWidget(m_btnClose);
    root->addLayout(buttonRow);

    connect(m_range, &TRecordRangeGroup::targetCountChanged, this,
            [this](int count) { m_btnExport->setEnabled(count != 0); });
    connect(m_btnExport, &QPushButton::clicked, this, &TMarkExport::btnExportClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* enter = new TEnterMovesFocus(this);
    if (auto* rbList = m_range->findChild<QRadioButton*>(QStringLiteral("rbList")))
        enter->addTarget(rbList, m_btnExport);
    for (const char* name : {"rbRange", "rbAll"})
        if (auto* rb = m_range->findChild<QRadioButton*>(QLatin1String(name)))
            enter->addNext(rb);
    m_btnExport->setAutoDefault(false);

    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    TRecordRange stored;
    stored.ReadSettings(ini, MarkExportSection);
    m_markFile = DecodeDataPath(ini.ReadString(MarkExportSection, QStringLiteral("File"), QString()));
    if (m_source.Rows)
        m_range->InitDataRange(stored, *m_source.Rows);
    m_btnExport->setEnabled(m_range->TargetCount() != 0);

    adjustSize();
    PlaceFromSettings(this, ini, MarkExportSection);
}

TMarkExport::~TMarkExport()
{
    SaveWindowPosition(this, MarkExportSection);
    if (m_source.Detach)
        m_source.Detach(this);
}

void TMarkExport::UpdateDataRange()
{
    m_range->UpdateDataRange();
}

// ---- the run ----

void TMarkExport::CollectMarks()
{
    m_marks.clear();
    TAdrsTableCursor* cursor = m_source.Cursor ? m_source.Cursor() : nullptr;
    if (!cursor || !m_source.Rows)
        return;
    WalkRecordRange(m_range->Range(), *m_source.Rows, *cursor, [&] {
        if (auto mark = MarkOfRow(*cursor))
            m_marks.append(std::move(*mark));
        return true;
    });
}

bool TMarkExport::ShowSaveDialog(QString& name)
{
    QFileDialog dialog(this, QString(), QString(), MarkFilters);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        dialog.setDirectory(QFileInfo(name).absolutePath());
        dialog.selectFile(name);
    } else {
        dialog.setDirectory(DataFolder);
        dialog.selectFile(DataFolder + QStringLiteral("Mark01.mri"));
    }
    PlaceSaveDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    name = dialog.selectedFiles().constFirst().trimmed();
    if (!QFileInfo(name).fileName().contains(u'.'))
        name += QStringLiteral(".mri");
    return true;
}

int TMarkExport::ChooseTarget()
{
    return ChooseOutputTarget(this, m_markFile, false, [this](QString& name) { return ShowSaveDialog(name); });
}

int TMarkExport::WriteMarks(TAtlasMateView& view, const QString& file)
{
    int written = 0;
    for (const TMarkEntry& mark : std::as_const(m_marks)) {
        if (view.SaveMark(file, quint32(mark.Latitude), quint32(mark.Longitude), mark.Name))
            ++written;
        m_pgbarExport->setValue(m_pgbarExport->value() + 1);
    }
    return written;
}

int TMarkExport::WriteTarget(int choice)
{
    const auto fail = [this](const QString& text) {
        QApplication::restoreOverrideCursor();
        MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconStop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return -1;
    };
    TAtlasMateView view(this);
    view.SetProgramFolder(ProgramFolder);
    // The libraries come first, so a missing one leaves the old file as it was. A library that is there but
    // does not load has said so itself.
    if (const int rc = view.LoadMarkLibraries(); rc != mlOk)
        return rc == mlMissing ? fail(QStringLiteral("地図ソフトのライブラリが見つかりません  \r\n"
                                                      "マークファイルは出力されませんでした  "))
                               : -1;

    const QString target = m_markFile;
    const QString shown = QDir::toNativeSeparators(target) + QStringLiteral("  ");
    const QString cannotWrite = QStringLiteral("ファイルに書き込めませんでした  \r\n") + shown;
    QTemporaryFile work(target + QStringLiteral(".XXXXXX"));
    if (!work.open())
        return fail(cannotWrite + QStringLiteral("\r\n") + work.errorString());
    if (choice == tcAppend) {
        QFile old(target);
        if (!old.open(QIODevice::ReadOnly) || work.write(old.readAll()) != old.size() || !work.flush())
            return fail(cannotWrite);
    }
    work.close();

    m_pgbarExport->setRange(0, int(m_marks.size()));
    m_pgbarExport->setValue(0);
    m_pgbarExport->repaint();
    const int written = WriteMarks(view, work.fileName());
    // The finished copy takes the target's place in one step.
    if (std::rename(QFile::encodeName(work.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return fail(cannotWrite);
    work.setAutoRemove(false);
    return written;
}

void TMarkExport::btnExportClick()
{
    TBusyCursor busy;
    const auto done = qScopeGuard([this] { m_marks.clear(); });
    CollectMarks();
    const auto show = [this](const QString& text, unsigned flags) {
        QApplication::restoreOverrideCursor();
        const int answer = MessageBoxPos(this, text, ProductTitle, flags);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return answer;
    };
    const TRecordRange& range = m_range->Range();
    if (m_marks.isEmpty()) {
        static const char16_t* const which[] = {u"一覧で選択した", u"指定した範囲の", u"一覧に表示されている"};
        show(QString::fromUtf16(which[qBound(0, range.DataSelect, 2)]) +
                 QStringLiteral("データの中には  \r\n地図情報を持つデータがありませんでした  "),
             MsgSeam::MbIconInformation);
        return;
    }
    if (show(QStringLiteral("地図情報を持つ ") + QString::number(m_marks.size()) +
                 QStringLiteral(" 件のデータを  \r\nマークファイルとして出力します  \r\nよろしいですか？  "),
             MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    QApplication::restoreOverrideCursor();
    const int choice = ChooseTarget();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (choice == tcAbandon)
        return;
    const int written = WriteTarget(choice);
    if (written < 0)
        return;

    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    range.WriteSettings(ini, MarkExportSection);
    ini.WriteString(MarkExportSection, QStringLiteral("File"), EncodeDataPath(m_markFile));
    ini.UpdateFile();
    show(QStringLiteral("マークファイルの出力が完了しました  \r\n\r\n対象件数 : ") +
             QString::number(range.TargetCount) + QStringLiteral(" 件  \r\n出力件数 : ") +
             QString::number(written) + QStringLiteral(" 件  "),
         MsgSeam::MbIconInformation);
    close();
}

// ---- the address list's road to the window ----

TMarkExport* ShowMarkExport(TAddressList& list)
{
    return ShowListFollower(MarkExport, list, [&list] {
        TMarkExportSource source;
        source.Rows = &list;
        source.Cursor = ListCursor(list);
        source.Detach = ListDetach(list);
        return new TMarkExport(&list, std::move(source));
    });
}

void RegisterMarkExport()
{
    RegisterListFollower(TListCommand::MarkExport, TListChild::MarkExport, MarkExport, &ShowMarkExport);
}

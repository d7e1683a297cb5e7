// The start menu and the print-file open and save dialogs.
#include "layoutobjects/PrintDataDlg.h"

#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "designers/PrintDataFile.h"
#include "layoutobjects/ImageFiles.h"
#include "platform/Cp932.h"

#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

const QString NotFoundMessage = QStringLiteral("ファイルが見つかりません  ");
const QString OpenFileDeleteMessage = QStringLiteral("現在開いているファイルは削除できません  ");
const QString OpenFileRenameMessage = QStringLiteral("現在開いているファイルの名前は変更できません  ");
const QString DeleteQuestion = QStringLiteral("選択中のファイルを削除します  \r\nよろしいですか？");
const QString TitleExistsMessage = QStringLiteral("指定されたファイル名は既に存在します  ");
const QString OverwriteQuestion = QStringLiteral("同名のファイルが存在します．上書きしますか？  ");
const QString DeleteFailedMessage = QStringLiteral("ファイルを削除できませんでした  ");
const QString RenameFailedMessage = QStringLiteral("ファイルの名前を変更できませんでした  ");
const QString ForbiddenChars = QStringLiteral("\\/:;*?\"<>|");

void inform(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

// Enter moves the focus on to the next control instead of pressing the default button.
bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TPrintFileKind PrintFileKind(int kind)
{
    switch (kind) {
    case 1:
        return {LabelFolder, QStringLiteral(".gpa"), LabelFileSignature, 28, 92};
    case 2:
        return {CardFolder, QStringLiteral(".gpc"), CardFileSignature, 28, 100};
    case 3:
        return {DesignFolder, QStringLiteral(".gpd"), DesignFileSignature, 32, 107};
    default:
        return {LayoutFolder, QStringLiteral(".gpl"), LayoutFileSignature, 28, 0};
    }
}

std::vector<TPrintFileEntry> ListPrintFiles(const TPrintFileKind& kind)
{
    QDir dir(kind.Folder);
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*") + kind.Extension}, QDir::Files | QDir::Hidden | QDir::System);
    std::vector<QFileInfo> sorted(files.begin(), files.end());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(sorted.begin(), sorted.end(), [&collator](const QFileInfo& a, const QFileInfo& b) {
        return collator.compare(a.filePath(), b.filePath()) < 0;
    });
    std::vector<TPrintFileEntry> entries;
    for (const QFileInfo& info : sorted) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = file.read(kind.Signature.size());
        if (head.size() != kind.Signature.size() || ComplementBytes(head) != kind.Signature)
            continue;
        const QString name = info.fileName();
        entries.push_back({name.left(name.size() - kind.Extension.size()), info.lastModified().date()});
    }
    return entries;
}

QByteArray ReadPrintFilePreview(const QString& path, int signatureLength, int headerLength)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 at = qint64(signatureLength) + 4 + headerLength;
    if (!file.seek(at))
        return {};
    const QByteArray length = file.read(4);
    if (length.size() != 4)
        return {};
    const qint32 n = qFromLittleEndian<qint32>(length.constData());
    // The stored length is checked against what the file holds before anything is allocated.
    if (n <= 0 || n > file.size() - at - 4)
        return {};
    return file.read(n);
}

bool HasForbiddenTitleChar(const QString& title)
{
    return std::any_of(title.begin(), title.end(), [](QChar c) { return ForbiddenChars.contains(c); });
}

QString ForbiddenTitleMessage()
{
    QString text = QStringLiteral("ファイル名には次の文字は使えません\r\n   ");
    for (QChar c : ForbiddenChars)
        text += c + QStringLiteral(" ");
    return text;
}

QString CutTitle(const QString& title)
{
    return Cp932::cutToBytes(title, 100);
}

// ---- start menu ----

TPrintMenuDialog::TPrintMenuDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("PrintMenuDialog"));
    setWindowTitle(QStringLiteral("印刷　メニュー"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    rbNew = new QRadioButton(QStringLiteral("新規に作成する"), group);
    rbOpen = new QRadioButton(QStringLiteral("既存のファイルを開く"), group);
    rbContinue = new QRadioButton(QStringLiteral("前回編集したファイルを開く"), group);
    rbNew->setObjectName(QStringLiteral("rbNew"));
    rbOpen->setObjectName(QStringLiteral("rbOpen"));
    rbContinue->setObjectName(QStringLiteral("rbContinue"));
    for (QRadioButton* b : {rbNew, rbOpen, rbContinue}) {
        groupLayout->addWidget(b);
        connect(b, &QRadioButton::clicked, this, &TPrintMenuDialog::paintChoices);
    }
    layout->addWidget(group);
    ckbShowMenu = new QCheckBox(QStringLiteral("次回もこの画面を表示する"), this);
    ckbShowMenu->setObjectName(QStringLiteral("ckbShowMenu"));
    ckbShowMenu->setChecked(true);
    connect(ckbShowMenu, &QCheckBox::clicked, this, &TPrintMenuDialog::paintChoices);
    layout->addWidget(ckbShowMenu);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    for (QWidget* w : std::initializer_list<QWidget*>{rbNew, rbOpen, rbContinue, ckbShowMenu})
        w->installEventFilter(this);
    SetChoice(0);
    paintChoices();
}

void TPrintMenuDialog::SetDocumentKind(int kind)
{
    static const char* const captions[] = {"宛名", "ラベル", "名刺", "文面"};
    static const char* const sides[] = {"宛名面", "ラベル", "名刺", "文面"};
    const int k = std::clamp(kind, 0, 3);
    setWindowTitle(QString::fromUtf8(captions[k]) + QStringLiteral("印刷　メニュー"));
    rbNew->setText(QStringLiteral("新規に") + QString::fromUtf8(sides[k]) + QStringLiteral("を作成する"));
}

void TPrintMenuDialog::SetChoice(int choice)
{
    QRadioButton* chosen = choice == 0 ? rbNew : choice == 1 ? rbOpen : rbContinue;
    chosen->setChecked(true);
    rbContinue->setEnabled(chosen == rbContinue);
    paintChoices();
}

int TPrintMenuDialog::GetChoice() const
{
    return rbNew->isChecked() ? 0 : rbOpen->isChecked() ? 1 : 2;
}

bool TPrintMenuDialog::GetShowNextTime() const
{
    return ckbShowMenu->isChecked();
}

void TPrintMenuDialog::paintChoices()
{
    auto paint = [](QWidget* w, bool blue) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText,
                   blue ? QColor(0, 0, 255) : QApplication::palette().windowText().color());
        w->setPalette(p);
    };
    for (QRadioButton* b : {rbNew, rbOpen, rbContinue})
        paint(b, b->isChecked());
    paint(ckbShowMenu, ckbShowMenu->isChecked());
}

bool TPrintMenuDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnter(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- the file list ----

TPrintDataDialog::TPrintDataDialog(QWidget* owner, const QString& caption) : QDialog(owner)
{
    setWindowTitle(caption);
    lvFile = new QTreeWidget(this);
    lvFile->setObjectName(QStringLiteral("lvFile"));
    lvFile->setColumnCount(2);
    lvFile->setHeaderLabels({QStringLiteral("タイトル"), QStringLiteral("日付")});
    lvFile->setColumnWidth(0, 250);
    lvFile->setColumnWidth(1, 100);
    lvFile->setRootIsDecorated(false);
    lvFile->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFile->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFile->header()->setSectionsClickable(false);
    lvFile->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible without focus.
    QPalette p = lvFile->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    lvFile->setPalette(p);
    lvFile->installEventFilter(this);

    sbtnDelete = new QPushButton(QStringLiteral("削除"), this);
    sbtnDelete->setObjectName(QStringLiteral("sbtnDelete"));
    sbtnRename = new QPushButton(QStringLiteral("名前の変更"), this);
    sbtnRename->setObjectName(QStringLiteral("sbtnRename"));
    for (QPushButton* b : {sbtnDelete, sbtnRename}) {
        b->setEnabled(false);
        b->setAutoDefault(false);
    }
    connect(sbtnDelete, &QPushButton::clicked, this, &TPrintDataDialog::pmiDeleteClick);
    connect(sbtnRename, &QPushButton::clicked, this, &TPrintDataDialog::pmiRenameClick);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmFile"));
    QAction* del = m_popup->addAction(QStringLiteral("削除(&D)"), this, &TPrintDataDialog::pmiDeleteClick);
    del->setObjectName(QStringLiteral("pmiDelete"));
    QAction* ren =
        m_popup->addAction(QStringLiteral("名前の変更(&M)"), this, &TPrintDataDialog::pmiRenameClick);
    ren->setObjectName(QStringLiteral("pmiRename"));
    connect(lvFile, &QWidget::customContextMenuRequested, this, [this, del, ren](const QPoint& at) {
        if (QTreeWidgetItem* item = lvFile->itemAt(at)) {
            lvFile->setCurrentItem(item);
            del->setEnabled(sbtnDelete->isEnabled());
            ren->setEnabled(sbtnRename->isEnabled());
            m_popup->popup(lvFile->viewport()->mapToGlobal(at));
        }
    });
    connect(lvFile, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            SelectionChanged();
    });
    connect(lvFile->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] { m_editing = false; });
    connect(lvFile, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (!m_filling && column == 0)
            lvFileEdited(item);
    });

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrintDataDialog::SetFileKind(int kind)
{
    m_kind = PrintFileKind(kind);
    if (m_kind.HelpContext != 0)
        m_helpContext = m_kind.HelpContext;
    ListFiles();
}

void TPrintDataDialog::SetPaperKind(int paperKind)
{
    m_helpContext = paperKind == 1 ? 85 : 79;
}

void TPrintDataDialog::ListFiles()
{
    m_filling = true;
    lvFile->clear();
    for (const TPrintFileEntry& entry : ListPrintFiles(m_kind)) {
        auto* item =
            new QTreeWidgetItem(lvFile, {entry.Title, entry.Date.toString(QStringLiteral("yyyy/MM/dd"))});
        item->setData(0, Qt::UserRole, entry.Title);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    m_filling = false;
    SelectionChanged();
}

QString TPrintDataDialog::FilePath(const QString& title) const
{
    return m_kind.Folder + title + m_kind.Extension;
}

QString TPrintDataDialog::EntryTitle(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void TPrintDataDialog::SelectTitle(const QString& title, bool firstOnly)
{
    lvFile->clearSelection();
    for (int i = 0; i < lvFile->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvFile->topLevelItem(i);
        if (EntryTitle(item) != title)
            continue;
        lvFile->setCurrentItem(item);
        item->setSelected(true);
        lvFile->scrollToItem(item);
        if (firstOnly)
            break;
    }
}

void TPrintDataDialog::EnableFileButtons(const QTreeWidgetItem* item)
{
    const bool other = item && EntryTitle(item) != m_currentTitle;
    sbtnDelete->setEnabled(other);
    sbtnRename->setEnabled(other);
}

bool TPrintDataDialog::eventFilter(QObject* watched, QEvent* event)
{
    // While a title is edited its editor handles the keys.
    if (watched == lvFile && event->type() == QEvent::KeyPress && !m_editing) {
        if (isEnter(event) && m_enterMovesToOk) {
            m_ok->setFocus();
            return true;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete && !lvFile->selectedItems().isEmpty()) {
            pmiDeleteClick();
            return true;
        }
        if (key == Qt::Key_F2 && !lvFile->selectedItems().isEmpty()) {
            pmiRenameClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintDataDialog::pmiDeleteClick()
{
    const QList<QTreeWidgetItem*> selected = lvFile->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* item = selected.first();
    const QString title = EntryTitle(item);
    if (title == m_currentTitle) {
        inform(this, OpenFileDeleteMessage);
        return;
    }
    if (MessageBoxPos(this, DeleteQuestion, ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) == MsgSeam::IdNo)
        return;
    if (!QFile::remove(FilePath(title))) {
        MessageBoxPos(this, DeleteFailedMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        return;
    }
    delete item;
    FilesChanged = true;
    SelectionChanged();
}

void TPrintDataDialog::pmiRenameClick()
{
    const QList<QTreeWidgetItem*> selected = lvFile->selectedItems();
    if (!selected.isEmpty())
        startEditing(selected.first());
}

void TPrintDataDialog::startEditing(QTreeWidgetItem* item)
{
    m_editing = true;
    lvFile->editItem(item, 0);
}

void TPrintDataDialog::lvFileEdited(QTreeWidgetItem* item)
{
    const QString oldTitle = EntryTitle(item);
    QString title = item->text(0).trimmed();
    auto putBack = [&](bool editAgain) {
        m_filling = true;
        item->setText(0, oldTitle);
        m_filling = false;
        if (editAgain)
            QTimer::singleShot(0, this, [this, item] { startEditing(item); });
    };
    if (title == oldTitle || title.isEmpty()) {
        putBack(false);
        return;
    }
    if (oldTitle.compare(m_currentTitle, Qt::CaseInsensitive) == 0 && !m_currentTitle.isEmpty()) {
        inform(this, OpenFileRenameMessage);
        putBack(false);
        return;
    }
    title = CutTitle(title);
    if (HasForbiddenTitleChar(title)) {
        inform(this, ForbiddenTitleMessage());
        putBack(true);
        return;
    }
    bool clash = false;
    for (int i = 0; i < lvFile->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* other = lvFile->topLevelItem(i);
        if (other != item && EntryTitle(other).compare(title, Qt::CaseInsensitive) == 0)
            clash = true;
    }
    // Never over a file that is not listed either.
    if (clash || QFileInfo::exists(FilePath(title))) {
        inform(this, TitleExistsMessage);
        putBack(true);
        return;
    }
    if (!QFile::rename(FilePath(oldTitle), FilePath(title))) {
        MessageBoxPos(this, RenameFailedMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        putBack(false);
        return;
    }
    m_filling = true;
    item->setText(0, title);
    item->setData(0, Qt::UserRole, title);
    m_filling = false;
    FilesChanged = true;
    SelectionChanged();
}

// ---- open ----

class TPrintDataOpenDialog::TPreviewBox : public QWidget
{
public:
    explicit TPreviewBox(const QImage& image, QWidget* parent) : QWidget(parent), m_image(image) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_image.isNull())
            return;
        QPainter painter(this);
        painter.drawImage(rect(), m_image);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const QImage& m_image;
};

TPrintDataOpenDialog::TPrintDataOpenDialog(QWidget* owner) : TPrintDataDialog(owner, QStringLiteral("開く"))
{
    setObjectName(QStringLiteral("PrintDataOpenDialog"));
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("pnlPreview"));
    m_panel->setFixedSize(194, 194);
    m_panel->setAutoFillBackground(true);
    m_paintBox = new TPreviewBox(m_preview, m_panel);
    m_paintBox->setObjectName(QStringLiteral("pbPreview"));
    m_paintBox->setGeometry(0, 0, 0, 0);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("保存ファイル一覧"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("プレビュー"), this), 0, 1);
    layout->addWidget(lvFile, 1, 0);
    layout->addWidget(m_panel, 1, 1, Qt::AlignTop);
    auto* row = new QHBoxLayout;
    row->addWidget(sbtnDelete);
    row->addWidget(sbtnRename);
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(findChild<QPushButton*>(QStringLiteral("btnCancel")));
    layout->addLayout(row, 2, 0, 1, 2);
    lvFile->setMinimumWidth(360);
    connect(lvFile, &QTreeWidget::itemDoubleClicked, this, [this] { m_ok->click(); });
    m_enterMovesToOk = true;
}

void TPrintDataOpenDialog::SetCurrentFile(const QString& title)
{
    m_currentTitle = title;
    SelectTitle(title, false);
    lvFile->setFocus();
}

QString TPrintDataOpenDialog::GetFileTitle() const
{
    const QList<QTreeWidgetItem*> selected = lvFile->selectedItems();
    return selected.isEmpty() ? QString() : EntryTitle(selected.first());
}

void TPrintDataOpenDialog::showEvent(QShowEvent* event)
{
    if (lvFile->selectedItems().isEmpty() && lvFile->topLevelItemCount() > 0) {
        lvFile->setCurrentItem(lvFile->topLevelItem(0));
        lvFile->topLevelItem(0)->setSelected(true);
        lvFile->setFocus();
    }
    TPrintDataDialog::showEvent(event);
}

void TPrintDataOpenDialog::SelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = lvFile->selectedItems();
    m_preview = QImage();
    m_paintBox->setGeometry(0, 0, 0, 0);
    if (selected.isEmpty()) {
        EnableFileButtons(nullptr);
        return;
    }
    QTreeWidgetItem* item = selected.first();
    EnableFileButtons(item);
    const QString path = FilePath(EntryTitle(item));
    if (!QFileInfo::exists(path)) {
        inform(this, NotFoundMessage);
        delete item;
        return;
    }
    m_preview = DecodeJpeg(ReadPrintFilePreview(path, int(m_kind.Signature.size()), m_kind.HeaderLength));
    if (!m_preview.isNull()) {
        const QSize client = m_panel->contentsRect().size();
        const double s =
            std::min(0.9 * client.height() / m_preview.height(), 0.9 * client.width() / m_preview.width());
        // Halves round to even, as the stored sizes were computed.
        const int w = int(std::nearbyint(m_preview.width() * s));
        const int h = int(std::nearbyint(m_preview.height() * s));
        m_paintBox->setGeometry((client.width() - w) / 2, (client.height() - h) / 2, w, h);
    }
    m_paintBox->update();
}

void TPrintDataOpenDialog::accept()
{
    if (!lvFile->selectedItems().isEmpty())
        TPrintDataDialog::accept();
}

// ---- save ----

TPrintDataSaveDialog::TPrintDataSaveDialog(QWidget* owner)
    : TPrintDataDialog(owner, QStringLiteral("名前を付けて保存"))
{
    setObjectName(QStringLiteral("PrintDataSaveDialog"));
    edTitle = new QLineEdit(this);
    edTitle->setObjectName(QStringLiteral("edTitle"));
    edTitle->setMaxLength(100);
    edTitle->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("保存ファイル一覧"), this));
    layout->addWidget(lvFile);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(sbtnDelete);
    fileButtons->addWidget(sbtnRename);
    fileButtons->addStretch();
    layout->addLayout(fileButtons);
    layout->addWidget(new QLabel(QStringLiteral("タイトル"), this));
    layout->addWidget(edTitle);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(findChild<QPushButton*>(QStringLiteral("btnCancel")));
    layout->addLayout(row);
    lvFile->setMinimumWidth(360);
}

void TPrintDataSaveDialog::SetCurrentFile(const QString& title)
{
    m_currentTitle = title;
    SelectTitle(title, true);
    lvFile->setFocus();
    edTitle->setCursorPosition(edTitle->text().size());
}

QString TPrintDataSaveDialog::GetFileTitle() const
{
    return edTitle->text().trimmed();
}

void TPrintDataSaveDialog::SelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = lvFile->selectedItems();
    if (!selected.isEmpty())
        edTitle->setText(EntryTitle(selected.first()));
    EnableFileButtons(selected.isEmpty() ? nullptr : selected.first());
}

void TPrintDataSaveDialog::accept()
{
    const QString title = GetFileTitle();
    if (title.isEmpty())
        return;
    if (HasForbiddenTitleChar(title)) {
        inform(this, ForbiddenTitleMessage());
        edTitle->setCursorPosition(edTitle->text().size());
        edTitle->setFocus();
        return;
    }
    for (int i = 0; i < lvFile->topLevelItemCount(); ++i)
        if (EntryTitle(lvFile->topLevelItem(i)).compare(title, Qt::CaseInsensitive) == 0) {
            if (MessageBoxPos(this, OverwriteQuestion, ProductTitle,
                              MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdNo)
                return;
            break;
        }
    TPrintDataDialog::accept();
}

bool TPrintDataSaveDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edTitle && isEnter(event)) {
        m_ok->setFocus();
        return true;
    }
    return TPrintDataDialog::eventFilter(watched, event);
}

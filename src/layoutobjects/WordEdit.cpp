// Text editing dialog: the form and its stored size, the example library, append and rewrite.
#include "layoutobjects/WordEdit.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("WORDEDIT");
constexpr int FormWidth = 560;
constexpr int MinWidth = 500;
constexpr int MinHeightHidden = 179;
constexpr int MinHeightShown = 451;
constexpr int PaneHeight = 272;
const QString NoIndexText = QStringLiteral("例分ファイルが見つかりません");
const QString NoDataText = QStringLiteral("例文データがありません");

QString row(int number, const QString& text)
{
    return QString::number(number) + QStringLiteral(": ") + text;
}

void addRow(QListWidget* list, const QString& text)
{
    auto* item = new QListWidgetItem(text, list);
    item->setSizeHint(QSize(-1, list->fontMetrics().height() + 2));
}

QString commonFolder()
{
    return ProgramFolder + QStringLiteral("Common/");
}

} // namespace

TWordEditDialog::TWordEditDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WordEditDialog"));
    setWindowTitle(QStringLiteral("文章の編集"));
    SetHelpContext(this, WordEditHelp);
    WorkArea = [this] {
        const QScreen* s = screen();
        return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    };
    BuildWindow();
    m_example = 1;
    setMinimumSize(ScaleByDpi(MinWidth, 1), ScaleByDpi(MinHeightShown, 1));
    resize(ScaleByDpi(FormWidth, 1), ScaleByDpi(MinHeightShown, 1));
    LoadSettings();
}

TWordEditDialog::~TWordEditDialog() = default;

void TWordEditDialog::BuildWindow()
{
    auto* root = new QVBoxLayout(this);

    pnlWords = Named<QWidget>(this, "pnlWords");
    auto* words = new QVBoxLayout(pnlWords);
    words->setContentsMargins(0, 0, 0, 0);
    memWords = Named<QPlainTextEdit>(pnlWords, "memWords");
    memWords->setLineWrapMode(QPlainTextEdit::NoWrap);
    memWords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memWords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetImeMode(memWords, imHira);
    QFont wordsFont(QStringLiteral("ＭＳ Ｐゴシック"));
    wordsFont.setPixelSize(15);
    memWords->setFont(wordsFont);
    words->addWidget(memWords, 1);
    auto* direction = new QHBoxLayout;
    rbVertical = Named<QRadioButton>(pnlWords, "rbVertical", QStringLiteral("縦書き"));
    rbHorizontal = Named<QRadioButton>(pnlWords, "rbHorizontal", QStringLiteral("横書き"));
    direction->addWidget(new QLabel(QStringLiteral("方向"), pnlWords));
    for (QRadioButton* r : {rbVertical, rbHorizontal}) {
        PaintCheckedBlue(r);
        direction->addWidget(r);
    }
    direction->addStretch();
    words->addLayout(direction);
    root->addWidget(pnlWords, 1);

    pnlExample = Named<QWidget>(this, "pnlExample");
    pnlExample->setFixedHeight(ScaleByDpi(PaneHeight, 1));
    auto* pane = new QGridLayout(pnlExample);
    pane->setContentsMargins(0, 0, 0, 0);
    lbClass = Named<QListWidget>(pnlExample, "lbClass");
    lbIndex = Named<QListWidget>(pnlExample, "lbIndex");
    memExample = Named<QPlainTextEdit>(pnlExample, "memExample");
    memExample->setReadOnly(true);
    memExample->setLineWrapMode(QPlainTextEdit::NoWrap);
    memExample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memExample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->addWidget(new QLabel(QStringLiteral("分類"), pnlExample), 0, 0);
    pane->addWidget(new QLabel(QStringLiteral("見出し"), pnlExample), 0, 1);
    pane->addWidget(lbClass, 1, 0);
    pane->addWidget(lbIndex, 1, 1);
    pane->addWidget(new QLabel(QStringLiteral("内容"), pnlExample), 2, 0, 1, 2);
    pane->addWidget(memExample, 3, 0, 1, 2);
    pane->setColumnStretch(0, 2);
    pane->setColumnStretch(1, 3);
    root->addWidget(pnlExample);

    connect(lbClass, &QListWidget::currentRowChanged, this, [this](int current) {
        if (current < 0)
            return;
        LoadExampleFile(current);
        if (lbIndex->count() > 0)
            lbIndex->setCurrentRow(0);
    });
    connect(lbIndex, &QListWidget::currentRowChanged, this, &TWordEditDialog::ShowExample);
    connect(lbIndex, &QListWidget::itemDoubleClicked, this, &TWordEditDialog::bbtnAppendClick);

    bbtnExample = MakeButton(this, "bbtnExample", QStringLiteral("文例を隠す(&E)"));
    bbtnAppend = MakeButton(this, "bbtnAppend", QStringLiteral("追加(&A)"));
    bbtnRewrite = MakeButton(this, "bbtnRewrite", QStringLiteral("書き換え(&R)"));
    btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(bbtnExample, &QPushButton::clicked, this, [this] {
        m_example = m_example == 1 ? 0 : 1;
        ShowExamples(m_example == 1);
    });
    connect(bbtnAppend, &QPushButton::clicked, this, &TWordEditDialog::bbtnAppendClick);
    connect(bbtnRewrite, &QPushButton::clicked, this, &TWordEditDialog::bbtnRewriteClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* grip = new QSizeGrip(this);
    grip->setObjectName(QStringLiteral("pnlGrip"));
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{bbtnExample, bbtnAppend, bbtnRewrite})
        buttons->addWidget(w);
    buttons->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{btnOK, btnCancel})
        buttons->addWidget(w);
    buttons->addWidget(grip, 0, Qt::AlignRight | Qt::AlignBottom);
    root->addLayout(buttons);
}

// ---- settings ----

int TWordEditDialog::minimumClientHeight() const
{
    return ScaleByDpi(m_example == 1 ? MinHeightShown : MinHeightHidden, 1);
}

void TWordEditDialog::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int example = ini.ReadInteger(Section, QStringLiteral("Example"), 0);
    if (example != 1) {
        m_example = 0;
        ShowExamples(false);
    }
    const QString width = QStringLiteral("Width");
    const QString height = QStringLiteral("Height");
    if (ini.ValueExists(Section, width) && ini.ValueExists(Section, height)) {
        const int w = ini.ReadInteger(Section, width, MinWidth);
        const int h = ini.ReadInteger(Section, height, 0);
        resize(ScaleByDpi(qMax(w, MinWidth), 1),
               ScaleByDpi(qMax(h, m_example == 1 ? MinHeightShown : MinHeightHidden), 1));
    }
}

void TWordEditDialog::SaveSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(Section, QStringLiteral("Example"), m_example);
    ini.WriteInteger(Section, QStringLiteral("Width"), ScaleByDpi(width(), 0));
    ini.WriteInteger(Section, QStringLiteral("Height"), ScaleByDpi(height(), 0));
    ini.UpdateFile();
}

void TWordEditDialog::done(int result)
{
    SaveSettings();
    QDialog::done(result);
}

// ---- the text ----

QStringList TWordEditDialog::GetLines() const
{
    return SplitExampleLines(memWords->toPlainText());
}

void TWordEditDialog::SetLines(const QStringList& lines)
{
    memWords->setPlainText(lines.join(QLatin1Char('\n')));
}

void TWordEditDialog::SetDirection(int direction)
{
    if (direction == 0)
        rbVertical->setChecked(true);
    else if (direction == 1)
        rbHorizontal->setChecked(true);
}

int TWordEditDialog::GetDirection() const
{
    return rbVertical->isChecked() ? 0 : 1;
}

void TWordEditDialog::SetEditFont(const TFontSpec& font)
{
    TFontSpec spec = font;
    if (spec.name.startsWith(QLatin1Char('@')))
        spec.name.remove(0, 1);
    MakeHorizontalFont(spec);
    spec.size = 11;
    memWords->setFont(ToQFont(spec));
}

void TWordEditDialog::bbtnAppendClick()
{
    QString text = TrimBlanks(memWords->toPlainText());
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    memWords->setPlainText(text + memExample->toPlainText());
}

void TWordEditDialog::bbtnRewriteClick()
{
    memWords->setPlainText(memExample->toPlainText());
}

// ---- the example library ----

void TWordEditDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    LoadExampleIndex();
    if (lbIndex->count() > 0)
        lbIndex->setCurrentRow(0);
}

void TWordEditDialog::stopMessage(const QString& text)
{
    MessageBoxPos(this, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
}

void TWordEditDialog::LoadExampleIndex()
{
    const QString fileName = commonFolder() + QStringLiteral("Text/Index.rbf");
    if (!QFileInfo(fileName).isFile()) {
        stopMessage(NoIndexText);
        return;
    }
    QFile file(fileName);
    const bool opened = file.open(QIODevice::ReadOnly);
    const TExampleRead<TExampleClass> index = ParseExampleIndex(opened ? file.readAll() : QByteArray());
    {
        const QSignalBlocker blocker(lbClass);
        lbClass->setUpdatesEnabled(false);
        lbClass->clear();
        m_exampleFiles.clear();
        for (const TExampleClass& c : index.items) {
            addRow(lbClass, row(int(m_exampleFiles.size()) + 1, c.name));
            m_exampleFiles.append(c.file);
        }
        lbClass->setUpdatesEnabled(true);
    }
    if (!opened || !index.complete)
        stopMessage(NoDataText);
    if (lbClass->count() > 0) {
        const QSignalBlocker blocker(lbClass);
        lbClass->setCurrentRow(0);
        LoadExampleFile(0);
    }
}

void TWordEditDialog::LoadExampleFile(int index)
{
    if (index < 0 || index >= m_exampleFiles.size()) {
        stopMessage(NoDataText);
        return;
    }
    QFile file(ExampleFilePath(commonFolder(), m_exampleFiles[index]));
    if (!file.open(QIODevice::ReadOnly)) {
        stopMessage(NoDataText);
        return;
    }
    const TExampleRead<TExample> read = ParseExampleFile(file.readAll());
    m_examples = read.items;
    {
        const QSignalBlocker blocker(lbIndex);
        lbIndex->clear();
        for (const TExample& example : m_examples)
            addRow(lbIndex, row(example.number, example.lines.value(0)));
    }
    memExample->clear();
    if (!read.complete)
        stopMessage(NoDataText);
}

void TWordEditDialog::ShowExample(int row)
{
    if (row >= 0 && row < m_examples.size())
        memExample->setPlainText(m_examples[row].lines.join(QLatin1Char('\n')));
}

void TWordEditDialog::ShowExamples(bool show)
{
    const int pane = pnlExample->height() > 0 && pnlExample->isVisibleTo(this) ? pnlExample->height()
                                                                               : ScaleByDpi(PaneHeight, 1);
    if (show) {
        bbtnExample->setText(QStringLiteral("文例を隠す(&E)"));
        setMinimumHeight(ScaleByDpi(MinHeightShown, 1));
        const QRect work = WorkArea();
        const int target = height() + pane;
        resize(width(), work.height() < target ? work.height() : target);
        for (QWidget* w : std::initializer_list<QWidget*>{pnlExample, bbtnAppend, bbtnRewrite})
            w->setVisible(true);
        const QRect frame = frameGeometry();
        if (frame.bottom() > work.bottom())
            move(x(), y() - (frame.bottom() - work.bottom()));
    } else {
        bbtnExample->setText(QStringLiteral("文例を表示(&E)"));
        for (QWidget* w : std::initializer_list<QWidget*>{pnlExample, bbtnAppend, bbtnRewrite})
            w->setVisible(false);
        setMinimumHeight(ScaleByDpi(MinHeightHidden, 1));
        resize(width(), qMax(minimumClientHeight(), height() - pane));
    }
}

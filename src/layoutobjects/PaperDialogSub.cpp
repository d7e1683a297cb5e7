// Paper lists and the preview of the paper choice dialogs.
#include "layoutobjects/PaperDialogSub.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/FontSub.h"
#include "core/MsgBoxPos.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>

namespace {

QString Text(const AnsiString& bytes)
{
    return Cp932::toUnicode(bytes);
}

} // namespace

QList<TPaperEntry> CategoryEntries(const TStandardFormats& standard, int kind, bool unique)
{
    QList<TPaperEntry> out;
    const AnsiString* previous = nullptr;
    for (size_t i = 0; i < standard.Formats.size(); ++i) {
        const TPaperFormat& f = standard.Formats[i];
        if (f.Kind != kind)
            continue;
        if (!previous || *previous != f.Category) {
            const QString name = Text(f.Category);
            const bool listed = std::any_of(out.begin(), out.end(),
                                            [&](const TPaperEntry& e) { return e.Text == name; });
            if (!unique || !listed)
                out.append({name, int(i)});
        }
        previous = &f.Category;
    }
    return out;
}

QList<TPaperEntry> StandardPaperEntries(const TStandardFormats& standard, int first, bool wholeFile)
{
    QList<TPaperEntry> out;
    const auto& f = standard.Formats;
    if (first < 0 || size_t(first) >= f.size())
        return out;
    const TPaperFormat& head = f[first];
    const AnsiString* previous = nullptr;
    for (size_t i = first; i < f.size(); ++i) {
        if (f[i].Category != head.Category || f[i].Kind != head.Kind) {
            if (wholeFile)
                continue;
            break;
        }
        const bool variant = previous && *previous == f[i].Name;
        previous = &f[i].Name;
        if (variant)
            continue;
        const QString name = Text(f[i].Name);
        const bool listed =
            std::any_of(out.begin(), out.end(), [&](const TPaperEntry& e) { return e.Text == name; });
        if (!wholeFile || !listed) {
            out.append({name, int(i)});
            continue;
        }
        // A repeated name is numbered after the entries of its name so far and listed after them.
        const QString dash = name + QStringLiteral("－");
        const auto family = [&](const TPaperEntry& e) { return e.Text == name || e.Text.startsWith(dash); };
        const int same = int(std::count_if(out.begin(), out.end(), family));
        const auto last = std::find_if(out.rbegin(), out.rend(), family).base();
        out.insert(last, {dash + ToFullWidthW(QString::number(same + 1)), int(i)});
    }
    return out;
}

QList<TPaperEntry> CustomPaperEntries(const TCustomFormats& custom, int kind)
{
    QList<TPaperEntry> out;
    for (const TCustomPaperFormat& c : custom.Formats)
        if (c.Format.Kind == kind)
            out.append({Text(c.Format.Name), c.Id});
    return out;
}

void FillList(QListWidget* list, const QList<TPaperEntry>& entries)
{
    const QSignalBlocker block(list);
    list->clear();
    for (const TPaperEntry& e : entries) {
        auto* item = new QListWidgetItem(e.Text, list);
        item->setData(Qt::UserRole, e.Object);
    }
}

int ListObject(const QListWidget* list, int row)
{
    if (row < 0)
        row = list->currentRow();
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

int RowOfObject(const QListWidget* list, int object)
{
    for (int i = 0; i < list->count(); ++i)
        if (ListObject(list, i) == object)
            return i;
    return -1;
}

int RowOfVariant(const QListWidget* list, int index)
{
    int best = -1;
    for (int i = 0; i < list->count(); ++i) {
        const int object = ListObject(list, i);
        if (object <= index && (best < 0 || object > ListObject(list, best)))
            best = i;
    }
    return best;
}

int RowOfText(const QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return i;
    return -1;
}

void ShowCustomEntry(QListWidget* categories, bool shown)
{
    const QString name = QStringLiteral("カスタム");
    const int row = RowOfText(categories, name);
    if (shown && row < 0) {
        auto* item = new QListWidgetItem(name, categories);
        item->setData(Qt::UserRole, 0);
    } else if (!shown && row >= 0) {
        delete categories->takeItem(row);
    }
}

QWidget* RadioPair(QWidget* parent, QRadioButton* a, QRadioButton* b)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    a->setParent(box);
    b->setParent(box);
    row->addWidget(a);
    row->addWidget(b);
    row->addStretch();
    PaintCheckedBlue(a);
    PaintCheckedBlue(b);
    return box;
}

bool MayClosePaperDialog(QWidget* owner, bool accepted, int passedIndex, const TCustomFormats& custom)
{
    if (accepted || passedIndex >= 0 || custom.Find(-passedIndex) >= 0)
        return true;
    MessageBoxPos(owner, QStringLiteral("選択した用紙は削除されています  \r\n新しい用紙を設定してください"),
                  ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
    return false;
}

void SaveCustomPapers(QWidget* owner, const TCustomFormats& custom, bool& changed)
{
    if (!changed)
        return;
    changed = false;
    QString error;
    if (!SaveCustomFormats(CustomFormatPath(), custom, &error))
        MessageBoxPos(owner,
                      CustomFormatPath() + QStringLiteral("\r\nカスタム用紙を保存できませんでした  \r\n") + error,
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconExclamation);
}

void TPaperDialog::done(int result)
{
    if (!MayClosePaperDialog(this, result == Accepted, m_passedIndex, m_custom))
        return;
    SaveCustomPapers(this, m_custom, m_customChanged);
    QDialog::done(result);
}

void TPaperDialog::FillTab(TPaperTab& tab, bool unique)
{
    FillList(tab.category, CategoryEntries(m_standard, tab.kind, unique));
    ShowCustomEntry(tab.category, m_custom.HasKind(tab.kind));
    tab.category->setCurrentRow(0);
    ListPapers(tab);
    tab.paper->setCurrentRow(0);
    tab.remove->setEnabled(false);
}

void TPaperDialog::ConnectTab(TPaperTab* tab)
{
    connect(tab->category, &QListWidget::currentRowChanged, this, [this, tab] { CategoryChosen(*tab); });
    connect(tab->paper, &QListWidget::currentRowChanged, this, [this] { SelectFormat(); });
    connect(tab->add, &QPushButton::clicked, this, [this] { NewCustom(); });
    connect(tab->remove, &QPushButton::clicked, this, &TPaperDialog::DeleteCustom);
}

void TPaperDialog::CategoryChosen(TPaperTab& tab)
{
    if (m_updating)
        return;
    ListPapers(tab);
    tab.remove->setEnabled(CustomCategoryShown(tab));
    tab.paper->setCurrentRow(0);
    SelectFormat();
}

void TPaperDialog::ShowPaperInTab(TPaperTab& tab)
{
    tab.category->setCurrentRow(std::max(0, RowOfText(tab.category, Cp932::toUnicode(Paper.Category))));
    ListPapers(tab);
    tab.paper->setCurrentRow(FormatIndex < 0 ? RowOfObject(tab.paper, -FormatIndex)
                                             : RowOfVariant(tab.paper, FormatIndex));
    tab.remove->setEnabled(CustomCategoryShown(tab));
    m_updating = false;
}

void TPaperDialog::AddCustom(TPaperTab& tab, const TCustomPaperFormat& format, const TMultiUpSheet& sheet)
{
    m_custom.Add(format, sheet);
    m_customChanged = true;
    m_updating = true;
    ShowCustomEntry(tab.category, true);
    tab.category->setCurrentRow(RowOfText(tab.category, QStringLiteral("カスタム")));
    ListPapers(tab);
    tab.paper->setCurrentRow(tab.paper->count() - 1);
    m_updating = false;
    SelectFormat();
    tab.remove->setEnabled(true);
}

void TPaperDialog::DeleteCustom()
{
    TPaperTab& tab = CurrentTab();
    const int id = ListObject(tab.paper);
    if (!CustomCategoryShown(tab) || id < 0)
        return;
    if (-id == m_passedIndex) {
        MessageBoxPos(this, QStringLiteral("使用中の用紙は削除できません  "), ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    const int row = tab.paper->currentRow();
    m_custom.Remove(id);
    m_customChanged = true;
    m_updating = true;
    ListPapers(tab);
    if (tab.paper->count() == 0) {
        ShowCustomEntry(tab.category, false);
        tab.category->setCurrentRow(0);
        ListPapers(tab);
        tab.paper->setCurrentRow(0);
    } else {
        tab.paper->setCurrentRow(std::min(row, tab.paper->count() - 1));
    }
    m_updating = false;
    tab.remove->setEnabled(CustomCategoryShown(tab) && m_custom.HasKind(tab.kind));
    SelectFormat();
}

bool CustomNameAccepted(QWidget* owner, QLineEdit* nameEdit, int kind, const TCustomFormats& custom)
{
    const AnsiString name = CustomPaperName(nameEdit->text());
    QString message;
    if (name.isEmpty())
        message = QStringLiteral("用紙名を入力してください  ");
    else if (std::any_of(custom.Formats.begin(), custom.Formats.end(), [&](const TCustomPaperFormat& c) {
                 return c.Format.Kind == kind && c.Format.Name == name;
             }))
        message = QStringLiteral("指定された用紙名はすでに使われています  ");
    if (message.isEmpty())
        return true;
    MessageBoxPos(owner, message, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
    nameEdit->setFocus();
    return false;
}

QString MmText(int tenths)
{
    return QString::asprintf("%.1f", tenths / 10.0);
}

void CheckQuietly(QAbstractButton* button)
{
    // Handlers listen to clicks, so this runs none; the blue captions follow the toggles.
    button->setChecked(true);
}

TPreviewGeometry PreviewGeometry(const TPaperFormat& paper, const TShownSheet* shown, QSize preview,
                                 bool roundBox)
{
    TPreviewGeometry g;
    const int areaW = TenthMmToDesign(shown ? shown->Width : paper.Width);
    const int areaH = TenthMmToDesign(shown ? shown->Height : paper.Height);
    if (areaW <= 0 || areaH <= 0)
        return g;
    const double boxW = roundBox ? double(RoundHalfAway(0.9 * preview.width())) : 0.9 * preview.width();
    const double boxH = roundBox ? double(RoundHalfAway(0.9 * preview.height())) : 0.9 * preview.height();
    g.Scale = std::min(boxH / areaH, boxW / areaW);
    const auto s = [&](double v) { return int(RoundHalfAway(v * g.Scale)); };
    g.Panel = QSize(s(areaW), s(areaH));
    g.Piece = QSize(s(TenthMmToDesign(paper.Width)), s(TenthMmToDesign(paper.Height)));
    if (shown) {
        g.Offset = QPoint(s(TenthMmToDesign(shown->Left)), s(TenthMmToDesign(shown->Top)));
        g.HorzGap = s(TenthMmToDesign(shown->HorzGap));
        g.VertGap = s(TenthMmToDesign(shown->VertGap));
        g.Columns = shown->Columns;
        g.Rows = shown->Rows;
    }
    for (int i = 0; i < std::clamp(int(paper.Count1), 0, PresetCount1); ++i) {
        const TPresetRect& r = paper.Rects1[i];
        g.Presets.append(QRect(QPoint(s(r.Left), s(r.Top)), QPoint(s(r.Right) - 1, s(r.Bottom) - 1))
                             .translated(g.Offset));
    }
    return g;
}

QList<QRect> PieceOutlines(const TPreviewGeometry& g)
{
    QList<QRect> out;
    // A damaged sheet may claim any count; the panel cannot show more than a few hundred pieces anyway.
    const int columns = std::clamp(g.Columns, 0, 200);
    const int rows = std::clamp(g.Rows, 0, 200);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            out.append(QRect(column * (g.Piece.width() + g.HorzGap) + g.Offset.x(),
                             row * (g.Piece.height() + g.VertGap) + g.Offset.y(), g.Piece.width(),
                             g.Piece.height()));
    return out;
}

TPaperPreview::TPaperPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 240);
}

void TPaperPreview::SetScene(const TPreviewScene& scene)
{
    m_scene = scene;
    update();
}

QRect TPaperPreview::PanelRect() const
{
    const QSize p = m_scene.Panel;
    return QRect((width() - p.width()) / 2, (height() - p.height()) / 2, p.width(), p.height());
}

void TPaperPreview::paintEvent(QPaintEvent*)
{
    if (m_scene.Panel.isEmpty())
        return;
    QPainter painter(this);
    const QRect panel = PanelRect();
    painter.translate(panel.topLeft());
    painter.fillRect(QRect(QPoint(), panel.size()), m_scene.Fill);
    for (const QPoint& at : m_scene.PictureAt)
        painter.drawImage(at, m_scene.Picture);
    painter.setPen(m_scene.Frame);
    painter.drawRect(0, 0, panel.width() - 1, panel.height() - 1);
    painter.setPen(QColor(128, 128, 128));
    for (const QRect& r : m_scene.Pieces)
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::blue);
    for (const QRect& r : m_scene.Presets)
        painter.drawRect(r);
}

void TPaperPreview::resizeEvent(QResizeEvent*)
{
    emit Resized();
}

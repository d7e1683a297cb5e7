// Shared pieces of the frame settings dialogs.
#include "layoutobjects/SettingDialogSub.h"

#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "layoutobjects/WordRect.h"
#include "platform/IniFile.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

const QString DesignSection = QStringLiteral("DESIGN");

} // namespace

bool FitToPreview(TDrawRect& copy, QSize client)
{
    const TRect r = copy.GetDesignRect();
    const int w = r.Width();
    const int h = r.Height();
    if (w <= 0 || h <= 0)
        return false;
    const double zoom = qMin(0.9 * client.width() / w, 0.9 * client.height() / h);
    if (zoom <= 0)
        return false;
    copy.SetZoom(zoom);
    // Truncating division, as the offsets are defined.
    const int dx = int((RoundHalfAway(client.width() / zoom) - w) / 2);
    const int dy = int((RoundHalfAway(client.height() / zoom) - h) / 2);
    copy.SetDesignRect({dx, dy, dx + w, dy + h});
    return true;
}

void OutlinePreview(QPainter& painter, const TRect& rect)
{
    painter.save();
    painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
    painter.restore();
}

TColorPanel::TColorPanel(QWidget* parent, const char* name) : QFrame(parent)
{
    setObjectName(QLatin1String(name));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setFixedSize(ScaleByDpi(40, 1), ScaleByDpi(21, 1));
    SetColor(0);
}

void TColorPanel::SetColor(quint32 color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorRefToQColor(color));
    setPalette(p);
}

QPushButton* ColorButton(QWidget* parent, const char* name, const QString& caption, TColorPanel* panel,
                         TCustomColorFile file, std::function<void(quint32)> chosen)
{
    QPushButton* button = MakeButton(parent, name, caption);
    button->setIcon(ButtonPicture(QStringLiteral("COLORSET")));
    QObject::connect(button, &QPushButton::clicked, parent,
                     [button, panel, file, chosen = std::move(chosen)] {
                         qint32 color = qint32(panel->Color() & 0xFFFFFF);
                         if (!ExecuteColorDialog(button->window(), color, file))
                             return;
                         panel->SetColor(quint32(color));
                         if (chosen)
                             chosen(quint32(color));
                     });
    return button;
}

QListWidget* FaceList(QWidget* parent)
{
    auto* faces = Named<QListWidget>(parent, "lbFonts");
    QList<TFontNameEntry> entries;
    EnumFontNames(entries, false, false);
    std::sort(entries.begin(), entries.end(),
              [](const TFontNameEntry& a, const TFontNameEntry& b) { return a.name < b.name; });
    for (const TFontNameEntry& face : entries) {
        if (face.charset != ShiftJisCharset || face.name.startsWith(QLatin1Char('@')))
            continue;
        auto* item = new QListWidgetItem(face.name, faces);
        item->setData(Qt::UserRole, face.charset);
        item->setSizeHint(QSize(-1, faces->fontMetrics().height() + 1));
    }
    return faces;
}

int FaceCharset(const QListWidget* faces, int row)
{
    return faces->item(row)->data(Qt::UserRole).toInt();
}

int FaceRow(const QListWidget* faces, const QString& face)
{
    for (int i = 0; i < faces->count(); ++i)
        if (faces->item(i)->text() == face)
            return i;
    return 0;
}

TFontControls::TFontControls(QWidget* page, TCurrent current, TChanged changed)
    : QObject(page), m_current(std::move(current)), m_changed(std::move(changed))
{
    lbFonts = FaceList(page);
    lblCharset = Named<QLabel>(page, "lblCharset");
    connect(lbFonts, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_showing || row < 0)
            return;
        TFontSpec font = m_current();
        font.charset = FaceCharset(lbFonts, row);
        font.name = lbFonts->item(row)->text();
        lblCharset->setText(CharsetName(font.charset));
        m_changed(font);
    });
    ckbBold = Named<QCheckBox>(page, "ckbBold", QStringLiteral("太字"));
    ckbItalic = Named<QCheckBox>(page, "ckbItalic", QStringLiteral("斜体"));
    for (QCheckBox* box : {ckbBold, ckbItalic}) {
        PaintCheckedBlue(box);
        connect(box, &QCheckBox::toggled, this, [this] {
            if (m_showing)
                return;
            TFontSpec font = m_current();
            font.style =
                (ckbBold->isChecked() ? FontStyleBold : 0) | (ckbItalic->isChecked() ? FontStyleItalic : 0);
            m_changed(font);
        });
    }
}

void TFontControls::Show(const TFontSpec& font)
{
    const QString face = font.name.startsWith(QLatin1Char('@')) ? font.name.mid(1) : font.name;
    m_showing = true;
    if (lbFonts->count() > 0) {
        const int row = FaceRow(lbFonts, face);
        lbFonts->setCurrentRow(row);
        lblCharset->setText(CharsetName(FaceCharset(lbFonts, row)));
    }
    ckbBold->setChecked(font.style & FontStyleBold);
    ckbItalic->setChecked(font.style & FontStyleItalic);
    m_showing = false;
}

QGroupBox* DirectionGroup(QWidget* parent, QRadioButton*& vertical, QRadioButton*& horizontal,
                          std::function<void(QRadioButton*)> chosen)
{
    auto* group = new QGroupBox(QStringLiteral("方向"), parent);
    auto* row = new QHBoxLayout(group);
    vertical = Named<QRadioButton>(group, "rbVertical", QStringLiteral("縦書き"));
    horizontal = Named<QRadioButton>(group, "rbHorizontal", QStringLiteral("横書き"));
    int tag = 0;
    for (QRadioButton* r : {vertical, horizontal}) {
        r->setProperty("tag", tag++);
        PaintCheckedBlue(r);
        row->addWidget(r);
        QObject::connect(r, &QRadioButton::toggled, r, [r, chosen](bool on) {
            if (on)
                chosen(r);
        });
    }
    row->addStretch();
    return group;
}

QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel)
{
    ok = MakeButton(dialog, "btnOK", QStringLiteral("OK"), true);
    cancel = MakeButton(dialog, "btnCancel", QStringLiteral("キャンセル"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return ButtonRow({ok, cancel});
}

QString CharsetName(int charset)
{
    return charset == ShiftJisCharset ? QStringLiteral("日本語") : QString::number(charset);
}

void LoadSettingPage(QTabWidget* pages, const QString& key)
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int index = ini.ReadInteger(DesignSection, key, 0);
    pages->setCurrentIndex(index >= 0 && index < pages->count() ? index : 0);
}

void SaveSettingPage(const QTabWidget* pages, const QString& key)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(DesignSection, key, pages->currentIndex());
    ini.UpdateFile();
}

// ---- the border and background page ----

TRectFramePage::TRectFramePage(QWidget* parent, TCustomColorFile colorFile) : QWidget(parent)
{
    setObjectName(QStringLiteral("tbsFrame"));
    auto* grid = new QGridLayout(this);
    ckbFrame = Named<QCheckBox>(this, "ckbFrame", QStringLiteral("枠線"));
    const auto combo = [this](const char* name, QStringList items) {
        auto* box = Named<QComboBox>(this, name);
        box->addItems(items);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { listChanged(); });
        return box;
    };
    cbxLineCount = combo("cbxLineCount", {QStringLiteral("一重線"), QStringLiteral("二重線")});
    cbxCorner = combo("cbxCorner", {QStringLiteral("四角"), QStringLiteral("丸")});
    cbxLineWidth =
        combo("cbxLineWidth", {QStringLiteral("細い"), QStringLiteral("ふつう"), QStringLiteral("太い")});
    pnlFrameColor = new TColorPanel(this, "pnlFrameColor");
    bbtnFrameColor = ColorButton(this, "bbtnFrameColor", QStringLiteral("色："), pnlFrameColor, colorFile,
                                 [this](quint32 color) {
                                     if (m_frame)
                                         m_frame->SetLineColor(color);
                                     if (m_changed)
                                         m_changed();
                                 });
    ckbBack = Named<QCheckBox>(this, "ckbBack", QStringLiteral("背景"));
    pnlBackColor = new TColorPanel(this, "pnlBackColor");
    bbtnBackColor = ColorButton(this, "bbtnBackColor", QStringLiteral("色："), pnlBackColor, colorFile,
                                [this](quint32 color) {
                                    if (m_frame)
                                        m_frame->SetFillColor(color);
                                    if (m_changed)
                                        m_changed();
                                });
    auto* lblLineCount = Named<QLabel>(this, "lblLineCount", QStringLiteral("線の種類："));
    auto* lblCorner = Named<QLabel>(this, "lblCorner", QStringLiteral("角の形："));
    auto* lblLineWidth = Named<QLabel>(this, "lblLineWidth", QStringLiteral("線の太さ："));
    m_lineControls = {cbxLineCount, cbxCorner,    cbxLineWidth,   lblLineCount,
                      lblCorner,    lblLineWidth, bbtnFrameColor, pnlFrameColor};

    grid->addWidget(ckbFrame, 0, 0, 1, 3);
    grid->addWidget(lblLineCount, 1, 1);
    grid->addWidget(cbxLineCount, 1, 2);
    grid->addWidget(lblCorner, 2, 1);
    grid->addWidget(cbxCorner, 2, 2);
    grid->addWidget(lblLineWidth, 3, 1);
    grid->addWidget(cbxLineWidth, 3, 2);
    auto* lineColor = new QHBoxLayout;
    lineColor->addWidget(bbtnFrameColor);
    lineColor->addWidget(pnlFrameColor);
    lineColor->addStretch();
    grid->addLayout(lineColor, 4, 1, 1, 2);
    grid->addWidget(ckbBack, 5, 0, 1, 3);
    auto* backColor = new QHBoxLayout;
    backColor->addWidget(bbtnBackColor);
    backColor->addWidget(pnlBackColor);
    backColor->addStretch();
    grid->addLayout(backColor, 6, 1, 1, 2);
    grid->setColumnMinimumWidth(0, ScaleByDpi(12, 1));
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(7, 1);

    for (QCheckBox* box : {ckbFrame, ckbBack}) {
        PaintCheckedBlue(box);
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
            enableControls();
            if (m_binding || !m_frame)
                return;
            if (box == ckbFrame)
                m_frame->SetFrameVisible(on);
            else
                m_frame->SetFillVisible(on);
            if (m_changed)
                m_changed();
        });
    }
    m_enter = new TEnterMovesFocus(this);
    for (QWidget* w : std::initializer_list<QWidget*>{ckbFrame, cbxLineCount, cbxCorner})
        m_enter->addNext(w);
    m_enter->addTarget(cbxLineWidth, ckbBack);
    enableControls();
}

void TRectFramePage::Bind(TRectFrame* frame, std::function<void()> changed)
{
    m_frame = frame;
    m_changed = std::move(changed);
    m_binding = true;
    ckbFrame->setChecked(frame->FrameVisible());
    if (!frame->FrameVisible())
        frame->SetLineColor(PureRed);
    ckbBack->setChecked(frame->FillVisible());
    if (!frame->FillVisible())
        frame->SetFillColor(LightRed);
    cbxLineCount->setCurrentIndex(frame->DoubleLine() ? 1 : 0);
    cbxCorner->setCurrentIndex(frame->RoundCorner() ? 1 : 0);
    cbxLineWidth->setCurrentIndex(qBound(0, int(frame->WidthIndex()), 2));
    pnlFrameColor->SetColor(frame->LineColor());
    pnlBackColor->SetColor(frame->FillColor());
    m_binding = false;
    enableControls();
}

void TRectFramePage::SetBackEnterTarget(std::function<QWidget*()> target)
{
    m_enter->addTarget(ckbBack, std::move(target));
}

void TRectFramePage::enableControls()
{
    for (QWidget* w : m_lineControls)
        w->setEnabled(ckbFrame->isChecked());
    bbtnBackColor->setEnabled(ckbBack->isChecked());
    pnlBackColor->setEnabled(ckbBack->isChecked());
}

void TRectFramePage::listChanged()
{
    if (m_binding || !m_frame)
        return;
    m_frame->SetDoubleLine(cbxLineCount->currentIndex() == 1);
    m_frame->SetRoundCorner(cbxCorner->currentIndex() == 1);
    m_frame->SetWidthIndex(quint8(qMax(0, cbxLineWidth->currentIndex())));
    if (m_changed)
        m_changed();
}

// The paper dialog of the message-side designer.
#include "designers/NewDesignDialog.h"

#include "core/AppSub.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

TNewDesignDialog::TNewDesignDialog(QWidget* parent, const QString& path) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewDesignDialog"));
    setWindowTitle(QStringLiteral("用紙の設定"));
    m_formats = LoadDesignFormats(path.isEmpty() ? DesignFormatPath() : path);

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cbxKind"));
    m_kind->addItems({QStringLiteral("はがき"), QStringLiteral("普通紙")});
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbFormat"));
    m_list->setUniformItemSizes(true);
    m_vert = new QRadioButton(QStringLiteral("縦"), this);
    m_vert->setObjectName(QStringLiteral("rbVert"));
    m_vert->setChecked(true);
    m_horz = new QRadioButton(QStringLiteral("横"), this);
    m_horz->setObjectName(QStringLiteral("rbHorz"));
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("lblSize"));
    m_image = new QFrame(this);
    m_image->setObjectName(QStringLiteral("pnlImage"));
    m_image->setFixedSize(197, 243);
    m_image->setStyleSheet(QStringLiteral("#pnlImage { background: #808080; }"));
    m_card = new QFrame(m_image);
    m_card->setObjectName(QStringLiteral("pnlCard"));
    m_card->setStyleSheet(QStringLiteral("#pnlCard { background: white; border: 1px solid #404040; }"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("種類"), this));
    left->addWidget(m_kind);
    left->addWidget(new QLabel(QStringLiteral("用紙"), this));
    left->addWidget(m_list);
    auto* direction = new QGroupBox(QStringLiteral("方向"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_vert);
    directionLayout->addWidget(m_horz);
    left->addWidget(direction);
    left->addWidget(m_size);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addWidget(m_image, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_kind, &QComboBox::activated, this, [this] { kindChanged(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { selectFormat(); });
    connect(m_vert, &QRadioButton::toggled, this, [this] { selectFormat(); });
    for (QWidget* w : std::initializer_list<QWidget*>{m_kind, m_list, m_vert, m_horz})
        w->installEventFilter(this);
    updateOk();
}

void TNewDesignDialog::SetChangeMode(bool change)
{
    setWindowTitle(change ? QStringLiteral("用紙の変更") : QStringLiteral("用紙の設定"));
}

void TNewDesignDialog::fillFormatList()
{
    m_list->clear();
    for (const TDesignFormatEntry& entry : DesignFormatList(m_formats, m_kind->currentIndex())) {
        auto* item = new QListWidgetItem(entry.Name, m_list);
        item->setData(Qt::UserRole, entry.Index);
    }
}

void TNewDesignDialog::SetFormat(int index)
{
    if (index < 0 || size_t(index) >= m_formats.size())
        return;
    m_updating = true;
    const TDesignPaperFormat& f = m_formats[size_t(index)];
    m_kind->setCurrentIndex(qBound(0, int(f.Kind()), 1));
    fillFormatList();
    const QList<QListWidgetItem*> found = m_list->findItems(f.Name(), Qt::MatchExactly);
    m_list->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    (f.Direction() != 0 ? m_horz : m_vert)->setChecked(true);
    m_formatIndex = index;
    updatePreview();
    m_updating = false;
    updateOk();
}

void TNewDesignDialog::selectFormat()
{
    if (m_updating || !m_list->currentItem())
        return;
    const int candidate = m_list->currentItem()->data(Qt::UserRole).toInt() + (m_horz->isChecked() ? 1 : 0);
    // A table whose lying twin is missing keeps the upright record.
    const int index = size_t(candidate) < m_formats.size() ? candidate : candidate - 1;
    if (index != m_formatIndex) {
        m_formatIndex = index;
        updatePreview();
    }
    updateOk();
}

void TNewDesignDialog::kindChanged()
{
    m_list->blockSignals(true);
    fillFormatList();
    m_list->setCurrentRow(m_list->count() > 0 ? 0 : -1);
    m_list->blockSignals(false);
    selectFormat();
}

bool TNewDesignDialog::GetFormat(TDesignPaperFormat& out) const
{
    if (m_formatIndex < 0 || size_t(m_formatIndex) >= m_formats.size())
        return false;
    out = m_formats[size_t(m_formatIndex)];
    return true;
}

void TNewDesignDialog::updatePreview()
{
    TDesignPaperFormat f;
    if (!GetFormat(f)) {
        m_size->clear();
        m_card->hide();
        return;
    }
    m_size->setText(QString::asprintf("%.1f x %.1f mm", f.Width() / 10.0, f.Height() / 10.0));
    const int w = qMax<qint64>(1, RoundHalfAway(f.Width() / 254.0 * 96));
    const int h = qMax<qint64>(1, RoundHalfAway(f.Height() / 254.0 * 96));
    const int areaWidth = m_image->width(), areaHeight = m_image->height();
    const double scale = qMin(double(RoundHalfAway(areaHeight * 0.8)) / h, double(RoundHalfAway(areaWidth * 0.8)) / w);
    const int width = int(std::nearbyint(w * scale)), height = int(std::nearbyint(h * scale));
    m_card->setGeometry((areaWidth - width) / 2, (areaHeight - height) / 2, width, height);
    m_card->show();
}

void TNewDesignDialog::updateOk()
{
    m_ok->setEnabled(!m_formats.empty() && m_formatIndex >= 0);
}

bool TNewDesignDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

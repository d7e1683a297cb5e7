// The area lists, listing period and phone kinds of the directory search windows.
#include "search/AreaChoice.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "platform/MessageSeam.h"
#include "search/KanaAdrsDic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QStyledItemDelegate>

namespace {

constexpr int CodeRole = Qt::UserRole;
constexpr int ChildCountRole = Qt::UserRole + 1;
constexpr int NameRole = Qt::UserRole + 2;
constexpr int FirstYear = 2016, LastYear = 1995;

// Area list rows: the group head in a column 24 pixels wide, the name after it.
class TAreaItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, p, opt.widget);
        const qsizetype tab = text.indexOf(u'\t');
        const int head = ScaleByDpi(24, 1), pad = ScaleByDpi(2, 1);
        const bool selected = opt.state & QStyle::State_Selected;
        const bool enabled = opt.state & QStyle::State_Enabled;
        p->setPen(opt.palette.color(enabled ? QPalette::Active : QPalette::Disabled,
                                    selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = opt.rect;
        p->drawText(QRect(r.left() + pad, r.top(), head - pad, r.height()), Qt::AlignVCenter, text.left(tab));
        p->drawText(QRect(r.left() + head + pad, r.top(), r.width() - head - pad, r.height()),
                    Qt::AlignVCenter, text.mid(tab + 1));
    }
};

QListWidgetItem* AreaItem(QListWidget* list, const QString& head, const QString& name, const AnsiString& code,
                          int childCount)
{
    auto* item = new QListWidgetItem(head + u'\t' + name, list);
    item->setData(CodeRole, code);
    item->setData(ChildCountRole, childCount);
    item->setData(NameRole, name);
    return item;
}

} // namespace

TAreaChoice::TAreaChoice(QWidget* window, QWidget* parent) : QObject(window), m_window(window)
{
    try {
        m_dic = std::make_unique<TKanaAdrsSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        m_dic->ListPrefectures(AllRegions);
    } catch (const EKanaAdrsSearchError& e) {
        m_dic.reset();
        MessageBoxPos(window, e.Message(), ProductTitle, MsgSeam::MbIconStop);
    }
    cbxArea = new QComboBox(parent);
    cbxArea->setObjectName(QStringLiteral("cbxArea"));
    for (int r = 0; r < RegionCaptions().size(); ++r)
        cbxArea->addItem(RegionCaptions()[r], r);
    connect(cbxArea, &QComboBox::activated, this, [this](int index) { SelectRegion(index); });

    splitter = new QSplitter(Qt::Horizontal, parent);
    auto areaList = [this](const char* name, AreaList which) {
        auto* l = new QListWidget(splitter);
        l->setObjectName(QString::fromLatin1(name));
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        l->setItemDelegate(new TAreaItemDelegate(l));
        connect(l, &QListWidget::itemSelectionChanged, this, [this, which] {
            if (!m_updating)
                AreaListClicked(which);
        });
        splitter->addWidget(l);
        return l;
    };
    lbxTdfkn = areaList("lbxTdfkn", alPrefecture);
    lbxCity = areaList("lbxCity", alCity);
    lbxOhaza = areaList("lbxOhaza", alOaza);
    lbxCity->setMinimumWidth(ScaleByDpi(140, 1));
    lbxOhaza->setMinimumWidth(ScaleByDpi(140, 1));
    splitter->setChildrenCollapsible(false);
    SelectRegion(0);
}

TAreaChoice::~TAreaChoice() = default;

QListWidget* TAreaChoice::AreaListWidget(AreaList list) const
{
    return list == alPrefecture ? lbxTdfkn : list == alCity ? lbxCity : lbxOhaza;
}

void TAreaChoice::ResetAreaList(QListWidget* list)
{
    list->clear();
    AreaItem(list, QString(), QStringLiteral("指定しない"), AnsiString(), 0);
}

QList<int> TAreaChoice::SelectedRows(QListWidget* list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

QString TAreaChoice::RememberedName(AreaList which) const
{
    QListWidget* list = AreaListWidget(which);
    const QList<int> rows = SelectedRows(list);
    if (rows.isEmpty() || (list != lbxTdfkn && rows.first() == 0))
        return {};
    return list->item(rows.first())->data(NameRole).toString();
}

bool TAreaChoice::SpecificChosen(AreaList which) const
{
    const QList<int> rows = SelectedRows(AreaListWidget(which));
    return !rows.isEmpty() && rows.first() > 0;
}

void TAreaChoice::RememberSelections()
{
    for (int l = 0; l < 3; ++l) {
        const QList<int> rows = SelectedRows(AreaListWidget(AreaList(l)));
        m_remembered[l] = {rows.isEmpty() ? -1 : rows.first(), int(rows.size())};
    }
}

void TAreaChoice::SetEnabled(bool enable)
{
    cbxArea->setEnabled(enable);
    for (QListWidget* l : {lbxTdfkn, lbxCity, lbxOhaza})
        l->setEnabled(enable && m_region > 0);
}

QWidget* TAreaChoice::EnterTarget(QWidget* w, QWidget* search) const
{
    if (w == cbxArea)
        return lbxTdfkn->isEnabled() ? static_cast<QWidget*>(lbxTdfkn) : search;
    if (w == lbxOhaza)
        return search;
    return nullptr;
}

void TAreaChoice::SelectRegion(int region)
{
    m_updating = true;
    m_region = region;
    cbxArea->setCurrentIndex(region);
    lbxTdfkn->clear();
    lbxCity->clear();
    lbxOhaza->clear();
    m_areaCodes.clear();
    if (region == 0 || !m_dic) {
        m_areaCodes << TAreaCode{};
    } else {
        for (int index : RegionPrefectureIndexes(region)) {
            const TKanaPrefRec pref = m_dic->GetPrefecture(index);
            AreaItem(lbxTdfkn, QString(), ToWide(FieldText(pref.Name)),
                     QByteArray::number(pref.Code).rightJustified(2, '0'), pref.CityCount);
        }
        lbxTdfkn->item(0)->setSelected(true);
        lbxTdfkn->setCurrentRow(0, QItemSelectionModel::Current);
        m_areaCodes << TAreaCode{lbxTdfkn->item(0)->data(CodeRole).toByteArray(), AreaKindPrefecture};
        FillCities();
    }
    for (QListWidget* l : {lbxTdfkn, lbxCity, lbxOhaza}) {
        l->setEnabled(region > 0 && cbxArea->isEnabled());
        QPalette pal = l->palette();
        pal.setColor(QPalette::Base, region > 0 ? m_window->palette().color(QPalette::Base)
                                                : m_window->palette().color(QPalette::Button));
        l->setPalette(pal);
    }
    RememberSelections();
    m_updating = false;
}

void TAreaChoice::SelectCodes(QListWidget* list, const QList<QByteArray>& codes)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (codes.contains(list->item(i)->data(CodeRole).toByteArray()))
            rows << i;
    if (!rows.isEmpty())
        ClickAreaList(list == lbxTdfkn ? alPrefecture : list == lbxCity ? alCity : alOaza, rows);
}

void TAreaChoice::SelectRegionCodes(int region, const TAreaCodeList& codes)
{
    SelectRegion(region >= 0 && region < RegionCaptions().size() ? region : 0);
    if (m_region == 0 || codes.isEmpty())
        return;
    QList<QByteArray> list;
    for (const TAreaCode& c : codes)
        list << c.code;
    const int kind = codes.first().kind;
    const QByteArray first = list.first();
    if (kind == AreaKindPrefecture) {
        SelectCodes(lbxTdfkn, list);
    } else if (kind == AreaKindCity) {
        SelectCodes(lbxTdfkn, {first.left(2)});
        SelectCodes(lbxCity, list);
    } else if (kind == AreaKindOaza) {
        SelectCodes(lbxTdfkn, {first.left(2)});
        SelectCodes(lbxCity, {first.left(5)});
        SelectCodes(lbxOhaza, list);
    }
}

void TAreaChoice::FillCities()
{
    ResetAreaList(lbxCity);
    const QList<int> prefs = SelectedRows(lbxTdfkn);
    if (prefs.size() == 1 && m_dic) {
        QListWidgetItem* pref = lbxTdfkn->item(prefs.first());
        try {
            if (m_dic->ListCities(pref->data(CodeRole).toByteArray().toInt(),
                                  pref->data(ChildCountRole).toInt()) == 0) {
                QString lastHead;
                for (int i = 0; i < m_dic->CityCount(); ++i) {
                    const TKanaCityRec city = m_dic->GetCity(i);
                    const QString head = GroupHeadText(city.Head);
                    AreaItem(lbxCity, head == lastHead ? QString() : head, ToWide(FieldText(city.Name)),
                             FieldText(city.Code), city.OazaCount);
                    lastHead = head;
                }
            }
        } catch (const EKanaAdrsSearchError& e) {
            ResetAreaList(lbxCity);
            MessageBoxPos(m_window, e.Message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    lbxCity->item(0)->setSelected(true);
    lbxCity->setCurrentRow(0, QItemSelectionModel::Current);
    FillOazas();
}

void TAreaChoice::FillOazas()
{
    ResetAreaList(lbxOhaza);
    const QList<int> cities = SelectedRows(lbxCity);
    if (cities.size() == 1 && cities.first() > 0 && m_dic) {
        QListWidgetItem* city = lbxCity->item(cities.first());
        try {
            if (m_dic->ListOazas(city->data(CodeRole).toByteArray(), city->data(ChildCountRole).toInt(),
                                 true) == 0) {
                QString lastHead;
                for (int i = 0; i < m_dic->OazaCount(); ++i) {
                    const TKanaOazaRec oaza = m_dic->GetOaza(i);
                    const QString name = ToWide(FieldText(oaza.Name));
                    if (name.isEmpty())
                        continue;
                    const QString head = GroupHeadText(oaza.Head);
                    AreaItem(lbxOhaza, head == lastHead ? QString() : head, name, FieldText(oaza.AreaCode),
                             oaza.AreaCount);
                    lastHead = head;
                }
            }
        } catch (const EKanaAdrsSearchError& e) {
            ResetAreaList(lbxOhaza);
            MessageBoxPos(m_window, e.Message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    lbxOhaza->item(0)->setSelected(true);
    lbxOhaza->setCurrentRow(0, QItemSelectionModel::Current);
}

void TAreaChoice::ClickAreaList(AreaList list, const QList<int>& rows)
{
    QListWidget* l = AreaListWidget(list);
    m_updating = true;
    l->clearSelection();
    for (int r : rows)
        if (QListWidgetItem* item = l->item(r))
            item->setSelected(true);
    if (!rows.isEmpty())
        l->setCurrentRow(rows.last(), QItemSelectionModel::Current);
    m_updating = false;
    AreaListClicked(list);
}

void TAreaChoice::AreaListClicked(AreaList list)
{
    QListWidget* l = AreaListWidget(list);
    m_updating = true;
    QList<int> rows = SelectedRows(l);
    if (rows.isEmpty() && l->currentRow() >= 0) {
        l->item(l->currentRow())->setSelected(true);
        rows = SelectedRows(l);
    }
    if (list != alPrefecture && rows.size() > 1 && rows.first() == 0) {
        for (int r : rows.mid(1))
            l->item(r)->setSelected(false);
        rows = {0};
    }
    const Remembered& before = m_remembered[list];
    const bool unchanged = !rows.isEmpty() && rows.first() == before.first && rows.size() == before.count;
    const bool ignored =
        (list == alCity && m_remembered[alPrefecture].count > 1) ||
        (list == alOaza && (m_remembered[alCity].count > 1 || m_remembered[alCity].first == 0));
    if (unchanged || ignored || rows.isEmpty()) {
        m_updating = false;
        return;
    }
    m_areaCodes.clear();
    for (int r : rows) {
        const AnsiString code = l->item(r)->data(CodeRole).toByteArray();
        if (list == alPrefecture)
            m_areaCodes << TAreaCode{code, AreaKindPrefecture};
        else if (r > 0)
            m_areaCodes << TAreaCode{code, list == alCity ? AreaKindCity : AreaKindOaza};
        else {
            QListWidget* parent = list == alCity ? lbxTdfkn : lbxCity;
            const QList<int> parentRows = SelectedRows(parent);
            m_areaCodes << TAreaCode{parent->item(parentRows.value(0))->data(CodeRole).toByteArray(),
                                     list == alCity ? AreaKindPrefecture : AreaKindCity};
        }
    }
    if (list == alPrefecture)
        FillCities();
    else if (list == alCity)
        FillOazas();
    RememberSelections();
    m_updating = false;
}

// ---- listing period and phone kinds ----

void FillPeriodCombos(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth)
{
    fromYear->addItem(QStringLiteral("指定しない"), 0);
    for (int y = FirstYear; y >= LastYear; --y) {
        fromYear->addItem(QString::number(y) + QStringLiteral("年"), y);
        toYear->addItem(QString::number(y) + QStringLiteral("年"), y);
    }
    for (int m = 1; m <= 12; ++m) {
        fromMonth->addItem(QString::number(m) + QStringLiteral("月"), m);
        toMonth->addItem(QString::number(m) + QStringLiteral("月"), m);
    }
    for (QComboBox* c : {fromYear, fromMonth, toYear, toMonth})
        c->setMaxVisibleItems(c->count());
    QObject::connect(fromYear, &QComboBox::currentIndexChanged, fromYear,
                     [=] { UpdatePeriodState(fromYear, fromMonth, toYear, toMonth); });
    UpdatePeriodState(fromYear, fromMonth, toYear, toMonth);
}

void UpdatePeriodState(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth)
{
    const bool on = fromYear->isEnabled() && fromYear->currentIndex() > 0;
    for (QComboBox* c : {fromMonth, toYear, toMonth})
        c->setEnabled(on);
}

void ShowPeriod(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth,
                const QString& from, const QString& to)
{
    auto pick = [](QComboBox* combo, int value, int fallback) {
        const int i = combo->findData(value);
        combo->setCurrentIndex(i >= 0 ? i : fallback);
    };
    if (from.isEmpty()) {
        fromYear->setCurrentIndex(0);
        fromMonth->setCurrentIndex(0);
        toYear->setCurrentIndex(0);
        toMonth->setCurrentIndex(11);
    } else {
        pick(fromYear, from.left(4).toInt(), 0);
        pick(fromMonth, from.mid(4, 2).toInt(), 0);
        pick(toYear, to.left(4).toInt(), 0);
        pick(toMonth, to.mid(4, 2).toInt(), 11);
    }
    UpdatePeriodState(fromYear, fromMonth, toYear, toMonth);
}

void ShowPhoneKinds(QCheckBox* const (&boxes)[4], int kinds, const QColor& text)
{
    for (int i = 0; i < 4; ++i) {
        const bool on = kinds & (1 << i);
        boxes[i]->setChecked(on);
        QPalette pal = boxes[i]->palette();
        pal.setColor(QPalette::WindowText, on ? QColor(Qt::blue) : text);
        boxes[i]->setPalette(pal);
    }
}

void MakePhoneKindBoxes(QWidget* parent, QCheckBox* (&boxes)[4],
                        const std::function<void(int, bool)>& clicked)
{
    auto* tel = new QHBoxLayout(parent);
    tel->setContentsMargins(0, 0, 0, 0);
    const char* names[] = {"chkNormal", "chkFax", "chkFaxCombi", "chkMainNumber"};
    const QString captions[] = {QStringLiteral("通常"), QStringLiteral("FAX"), QStringLiteral("FAX兼用"),
                                QStringLiteral("代表")};
    for (int i = 0; i < 4; ++i) {
        boxes[i] = new QCheckBox(captions[i], parent);
        boxes[i]->setObjectName(QString::fromLatin1(names[i]));
        boxes[i]->setChecked(true);
        const int tag = 1 << i;
        QObject::connect(boxes[i], &QCheckBox::clicked, parent,
                         [clicked, tag](bool on) { clicked(tag, on); });
        tel->addWidget(boxes[i]);
    }
}

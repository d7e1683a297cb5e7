// The constant dialog of the import mapping.
#include "dataexchange/ConstIn.h"

#include "core/ButtonPictures.h"
#include "core/DialogSub.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TConstantInput::TConstantInput(QWidget* owner, int maxBytes) : QDialog(owner)
{
    setObjectName(QStringLiteral("ConstantInput"));
    setWindowTitle(QStringLiteral("固定値の入力"));
    setProperty("helpTopic", HelpTopic);
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(new QLabel(QStringLiteral("固定値を入力してください。"), this));
    root->addWidget(
        new QLabel(QStringLiteral("入力された値は、取り込むすべてのデータにセットされます。"), this));
    m_edtConst = Named<QLineEdit>(this, "edtConst");
    m_edtConst->setMinimumWidth(320);
    SetImeMode(m_edtConst, imClose);
    LimitAnsiBytes(m_edtConst, maxBytes);
    root->addWidget(m_edtConst);

    const auto stampButton = [this](const char* name, const QString& caption, const QString& picture) {
        auto* button = Named<QToolButton>(this, name);
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        SetButtonPicture(button, picture);
        button->setFocusPolicy(Qt::TabFocus);
        return button;
    };
    m_bbtnDate =
        stampButton("bbtnDate", QStringLiteral("現在の日付をセット（年月日）"), QStringLiteral("DATESET"));
    m_bbtnTime =
        stampButton("bbtnTime", QStringLiteral("現在の時刻をセット（時分秒）"), QStringLiteral("TIMESET"));
    auto* stamps = new QHBoxLayout;
    stamps->addWidget(m_bbtnDate);
    stamps->addWidget(m_bbtnTime);
    stamps->addStretch();
    root->addLayout(stamps);

    m_btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"));
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    root->addLayout(ButtonRow({m_btnOk, m_btnCancel}));

    const auto stamp = [this](const QString& text) {
        m_edtConst->setText(text);
        m_edtConst->setFocus();
    };
    connect(m_bbtnDate, &QToolButton::clicked, this,
            [stamp] { stamp(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))); });
    connect(m_bbtnTime, &QToolButton::clicked, this,
            [stamp] { stamp(QTime::currentTime().toString(QStringLiteral("HHmmss"))); });
    connect(m_btnOk, &QPushButton::clicked, this, [this] {
        if (GetConstant().isEmpty())
            reject();
        else
            accept();
    });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(m_edtConst, [this]() -> QWidget* {
        return GetConstant().isEmpty() ? static_cast<QWidget*>(m_btnCancel) : m_btnOk;
    });
}

QString TConstantInput::GetConstant() const
{
    return m_edtConst->text().trimmed();
}

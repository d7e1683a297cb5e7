// The colour dialog and its shared custom colours.
#include "core/CstmClr.h"

#include "core/MainSettings.h"
#include "platform/IniFile.h"

#include <QColorDialog>
#include <QEvent>
#include <QPointer>

namespace {

const QString Section = QStringLiteral("COMMON");

// Runs a callback when the watched dialog shows, once its size is known.
class TShowHook : public QObject
{
public:
    TShowHook(QWidget* dialog, std::function<void(QWidget*)> onShow)
        : QObject(dialog), m_dialog(dialog), m_onShow(std::move(onShow))
    {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_dialog && e->type() == QEvent::Show && m_onShow)
            m_onShow(m_dialog);
        return false;
    }

private:
    QWidget* m_dialog;
    std::function<void(QWidget*)> m_onShow;
};

} // namespace

QColor ColorFromValue(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 ColorToValue(const QColor& color)
{
    return qint32(color.red() | (color.green() << 8) | (color.blue() << 16));
}

QString CustomColorsFileName()
{
    return DataRootFolder + QStringLiteral("CstmClr.ini");
}

TCustomColors ReadCustomColors(const QString& fileName)
{
    const TMemIniFile ini(fileName);
    TCustomColors colors{};
    for (int i = 0; i < CustomColorCount; ++i) {
        bool ok = false;
        const QString text = ini.ReadString(Section, QString::number(i), QStringLiteral("000000")).trimmed();
        const uint value = text.toUInt(&ok, 16);
        colors[size_t(i)] = ok && value <= 0xFFFFFF ? qint32(value) : 0;
    }
    return colors;
}

bool WriteCustomColors(const QString& fileName, const TCustomColors& colors)
{
    TMemIniFile ini(fileName);
    for (int i = 0; i < CustomColorCount; ++i)
        ini.WriteString(Section, QString::number(i),
                        QStringLiteral("%1").arg(colors[size_t(i)], 6, 16, QLatin1Char('0')).toUpper());
    return ini.UpdateFile();
}

bool ExecuteColorDialog(QWidget* owner, qint32& color, const std::function<void(QWidget*)>& placeOnShow)
{
    return ExecuteColorDialog(owner, color, TCustomColorFile::WriteOnOK, placeOnShow);
}

bool ExecuteColorDialog(QWidget* owner, qint32& color, TCustomColorFile file,
                        const std::function<void(QWidget*)>& placeOnShow)
{
    const QString fileName = CustomColorsFileName();
    if (file != TCustomColorFile::None) {
        const TCustomColors custom = ReadCustomColors(fileName);
        for (int i = 0; i < CustomColorCount; ++i)
            QColorDialog::setCustomColor(i, ColorFromValue(custom[size_t(i)]));
    }

    QPointer<QColorDialog> dialog = new QColorDialog(ColorFromValue(color), owner);
    dialog->setObjectName(QStringLiteral("ColorDialog"));
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    if (placeOnShow)
        new TShowHook(dialog, placeOnShow);
    const bool ok = dialog->exec() == QDialog::Accepted && dialog;
    if (ok)
        color = ColorToValue(dialog->selectedColor());
    if (file == TCustomColorFile::WriteAlways || (ok && file == TCustomColorFile::WriteOnOK)) {
        TCustomColors chosen{};
        for (int i = 0; i < CustomColorCount; ++i)
            chosen[size_t(i)] = ColorToValue(QColorDialog::customColor(i));
        WriteCustomColors(fileName, chosen);
    }
    delete dialog.data();
    return ok;
}

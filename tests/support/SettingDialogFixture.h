// Frame settings dialog tests: a settings root of their own, and the widgets they reach by name.
#pragma once

#include "core/MainSettings.h"
#include "core/UpDownEdit.h"
#include "platform/IniFile.h"
#include "support/DrawingFixture.h"

#include <QLineEdit>
#include <QTemporaryDir>

class SettingDialogTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = DataRootFolder;
        DataRootFolder = m_dir.path() + QStringLiteral("/");
    }
    void TearDown() override { DataRootFolder = m_root; }

    static void writeDesign(const QString& key, int value)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteInteger(QStringLiteral("DESIGN"), key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    static int readDesign(const QString& key)
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadInteger(QStringLiteral("DESIGN"), key, -99);
    }
    template <class W> static W* child(QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types text into a number edit and leaves it; answers what the edit then shows.
    static QString leave(TUpDownEdit* edit, const QString& text)
    {
        edit->findChild<QLineEdit*>()->setText(text);
        emit edit->editingFinished();
        return edit->findChild<QLineEdit*>()->text();
    }
    static bool blue(const QWidget* w)
    {
        return w->palette().color(QPalette::WindowText) == QColor(Qt::blue);
    }

    QTemporaryDir m_dir;
    QString m_root;
};

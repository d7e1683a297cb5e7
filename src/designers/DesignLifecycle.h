// What the message-side window decides around its document without widgets: the save-changes question on
// closing or replacing a design, and the start menu's default choice and last file.
#pragma once

#include <QStringList>

#include <functional>

class QWidget;
class TDesignDocument;

inline const QString DesignSaveQuestion = QStringLiteral("文面印刷のデザインの変更を保存しますか？  ");
inline const QString DesignRevertQuestion =
    QStringLiteral("文面印刷のデザインは変更前の状態に戻ります  \r\n本当によろしいですか？");
inline const QString DesignDiscardQuestion =
    QStringLiteral("作成した文面印刷のデザインは破棄されます  \r\n本当によろしいですか？");

// True when the caller may discard the design. save writes it (to its file or through the save-as
// command); the design still modified afterwards counts as not saved.
bool ConfirmDesignSave(QWidget* owner, TDesignDocument& document, const std::function<void()>& save);

// Start menu choices.
constexpr int StartNew = 0;
constexpr int StartOpen = 1;
constexpr int StartLastFile = 2;
// The last file when the newest recent path exists, else a new design.
int StartMenuDefaultChoice(const QStringList& recentFiles);
// The file the last-file choice loads: the newest recent file's title in the design folder.
QString LastDesignPath(const QStringList& recentFiles, const QString& designFolder);

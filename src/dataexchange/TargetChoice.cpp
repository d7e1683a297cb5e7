#include "dataexchange/TargetChoice.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>

int ChooseOutputTarget(QWidget* owner, QString& remembered, bool overwriteOnly,
                       const std::function<bool(QString&)>& saveDialog)
{
    QString name = remembered;
    bool askDialog = true;
    if (!name.isEmpty()) {
        const QFileInfo info(name);
        if (info.absoluteDir().exists()) {
            const int answer = MessageBoxPos(
                owner,
                QDir::toNativeSeparators(name) +
                    QStringLiteral("  \r\nへ出力します  \r\n\r\n出力先を変更しますか？  "),
                ProductTitle, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2);
            if (answer == MsgSeam::IdCancel)
                return tcAbandon;
            askDialog = answer == MsgSeam::IdYes;
        } else {
            name = DataFolder + info.fileName();
        }
    }
    if (askDialog && !saveDialog(name))
        return tcAbandon;

    const QFileInfo info(name);
    if (!QDir().mkpath(info.absolutePath())) {
        MessageBoxPos(owner, QStringLiteral("フォルダーが作成できませんでした  "), ProductTitle,
                      MsgSeam::MbIconStop);
        return tcAbandon;
    }
    if (!info.exists()) {
        remembered = name;
        return tcNew;
    }
    if (overwriteOnly) {
        if (MessageBoxPos(
                owner, QStringLiteral("既にあるファイルを指定しました  \r\n上書きしてもよろしいですか？  "),
                ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
            return tcAbandon;
        remembered = name;
        return tcNew;
    }
    const int answer = MessageBoxPos(
        owner,
        QStringLiteral(
            "既にあるファイルを指定しました  \r\n上書きするなら「はい」  \r\n追加するなら「いいえ」  \r\n"
            "中止するなら「キャンセル」  \r\nを選択してください  "),
        ProductTitle, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2);
    if (answer == MsgSeam::IdCancel)
        return tcAbandon;
    remembered = name;
    return answer == MsgSeam::IdYes ? tcNew : tcAppend;
}

void PlaceSaveDialog(QFileDialog& dialog, QWidget* owner)
{
    dialog.adjustSize();
    QPoint at = owner ? owner->pos() + QPoint(15, 15) : QPoint(15, 15);
    if (const QScreen* screen = owner ? owner->screen() : nullptr) {
        const QRect work = screen->availableGeometry();
        at.setX(std::max(0, std::min(at.x(), work.right() + 1 - dialog.width())));
        at.setY(std::max(0, std::min(at.y(), work.bottom() + 1 - dialog.height())));
    }
    dialog.move(at);
}

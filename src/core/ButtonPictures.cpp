// The one table from button picture names to icons of the picture theme.
#include "core/ButtonPictures.h"

#include <QAbstractButton>
#include <QStandardPaths>

#include <utility>

namespace {

// Picture name -> theme icon name. The names in capitals are the windows' own; the list window's tool
// buttons have names of their own here.
const std::pair<const char*, const char*> PictureIcons[] = {
    // moving rows and records
    {"TOP", "go-top"},
    {"UP", "go-up"},
    {"DOWN", "go-down"},
    {"BOTTOM", "go-bottom"},
    {"LEFTEND", "go-first"},
    {"LEFT", "go-previous"},
    {"RIGHT", "go-next"},
    {"RIGHTEND", "go-last"},
    // choices in lists
    {"ALLVIEW", "edit-select-all"},
    {"REVIEW", "edit-undo"},
    {"RESORT", "view-refresh"},
    {"LISTADD", "list-add"},
    {"LISTUPD", "document-save-as"},
    {"LISTDEL", "list-remove"},
    {"LISTCLEAR", "edit-clear"},
    {"LISTEDIT", "document-properties"},
    // records and patterns
    {"NEWADD", "document-new"},
    {"EDIT", "accessories-text-editor"},
    {"VIEW", "document-open"},
    {"SAVE", "document-save"},
    {"DELETE", "edit-delete"},
    {"RENAME", "accessories-text-editor"},
    {"COPY", "edit-copy"},
    {"COLORSET", "applications-graphics"},
    // the record card
    {"TELSCH", "edit-find"},
    {"POSSCH", "edit-find"},
    {"ADRSSCH", "edit-find"},
    {"MAP", "applications-internet"},
    {"QRCODE", "image-x-generic"},
    {"TRAIN", "go-jump"},
    {"HOME", "user-home"},
    {"CORP", "system-users"},
    {"WEBSEARCH", "system-search"},
    {"GETURL", "edit-paste"},
    {"OPENURL", "internet-web-browser"},
    {"MAIL", "mail-message-new"},
    {"PRINTER", "document-print"},
    {"NOPRINT", "printer-error"},
    {"SETFILE", "list-add"},
    {"DELFILE", "list-remove"},
    {"INQUIRY", "document-open"},
    {"FOLDER", "folder"},
    // the directory search windows
    {"SEARCHCOUNT", "accessories-calculator"},
    {"SEARCH", "system-search"},
    {"SEARCHSTOP", "process-stop"},
    {"RESEARCH", "view-refresh"},
    {"FILEEXPORT", "document-save-as"},
    {"ITEMSETTING", "document-properties"},
    {"CLOSE", "system-log-out"},
    // the list window's tool buttons
    {"NAMESCH", "system-search"},
    {"CTGRYSCH", "x-office-address-book"},
    {"NUMSCH", "edit-find"},
    {"NARROW", "edit-find-replace"},
    {"PRINT", "document-print"},
    {"EXIT", "system-log-out"},
    // settings, disc drives and the own number
    {"CD_DRIVE", "drive-optical"},
    {"CD1", "media-optical"},
    {"CD2", "drive-optical"},
    {"HDDINSTALL", "drive-harddisk"},
    {"FOLDER", "folder"},
    {"COLORDELETE", "edit-clear"},
    {"COMM", "network-transmit-receive"},
    {"MYNUMBERPRIV", "contact-new"},
    {"MYNUMBERCORP", "system-users"},
};

} // namespace

void InstallButtonPictureTheme()
{
    if (QIcon::themeName() == ButtonPictureTheme)
        return;
    // Some platforms (offscreen, minimal) search no system folder for themes.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder : QStandardPaths::locateAll(
             QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory))
        if (!paths.contains(folder))
            paths.append(folder);
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(ButtonPictureTheme);
}

QString ButtonPictureIconName(const QString& name)
{
    for (const auto& [picture, icon] : PictureIcons)
        if (name == QLatin1String(picture))
            return QString::fromLatin1(icon);
    return QString();
}

QStringList ButtonPictureNames()
{
    QStringList names;
    for (const auto& entry : PictureIcons)
        names.append(QString::fromLatin1(entry.first));
    return names;
}

QIcon ButtonPicture(const QString& name)
{
    const QString icon = ButtonPictureIconName(name);
    if (icon.isEmpty())
        return QIcon();
    InstallButtonPictureTheme();
    return QIcon::fromTheme(icon);
}

void SetButtonPicture(QAbstractButton* button, const QString& name)
{
    if (button)
        button->setIcon(ButtonPicture(name));
}

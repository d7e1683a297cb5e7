// The record card's map, route, QR code, web search, URL entry, browser and mail buttons.
#include "links/LinkServices.h"

#include "addressbook/CardServices.h"
#include "addressbook/DtInqiry.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "links/AddExtURL.h"
#include "links/ExpertRoute.h"
#include "links/MapAdaptors.h"
#include "links/MapSearch.h"
#include "links/NorikaeRoute.h"
#include "links/QRCodeMap.h"
#include "links/WebSearch.h"
#include "maintenance/VerInfo.h"

#include <QApplication>
#include <QLineEdit>

#include <memory>

void ShowQRCodeMap(TDataInquiry& card)
{
    // The hourglass while the dialog is made; the dialog itself shows the normal cursor.
    std::unique_ptr<TQRCodeMap> dialog;
    {
        TBusyCursor busy;
        dialog = std::make_unique<TQRCodeMap>(&card);
        CenterForm(dialog.get(), &card);
        dialog->SetAddress(card.edtTdfkn->text() + card.edtAdrs1->text() + card.edtAdrs2->text() +
                           card.edtAdrs3->text());
    }
    dialog->exec();
}

void ShowWebSearch(TDataInquiry& card)
{
    std::unique_ptr<TWebSearch> dialog;
    {
        TBusyCursor busy;
        dialog = std::make_unique<TWebSearch>(&card);
        CenterForm(dialog.get(), &card);
        dialog->SetWord(card.WebSearchWord());
    }
    dialog->exec();
}

void ShowAddExtURL(TDataInquiry& card)
{
    TAddExtURL dialog(&card);
    CenterForm(&dialog, &card);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString url = dialog.GetURL();
    if (!url.isEmpty())
        card.AddExtLink(url);
}

namespace {

// The help context of the windows the card's map and route buttons open.
constexpr int MapHelpContext = 61;
constexpr int RouteHelpContext = 62;

void ShowCardInfo(TDataInquiry& card, const QString& text)
{
    MessageBoxPos(&card, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

void FocusAtEnd(QLineEdit* edit)
{
    edit->setCursorPosition(int(edit->text().size()));
    edit->setFocus();
}

} // namespace

void ShowCardMap(TDataInquiry& card)
{
    // The dispatch shows the hourglass while it works.
    const int soft = MainSettings.Map;
    bool takeOver = !card.LoadedRecord();
    if (card.LoadedRecord() &&
        (soft == msAtlasMate || soft == msProAtlas || soft == msProAtlasW || soft == msMapFan))
        takeOver =
            MessageBoxPos(&card, QStringLiteral("地図で指定した座標の緯度経度を保存してもよろしいですか？  "),
                          ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdYes;

    TMapSearchParams params;
    params.SearchKind = MainSettings.MapSearchKind;
    params.Latitude = quint32(card.Latitude());
    params.Longitude = quint32(card.Longitude());
    params.Tel = ToWide(KeepNumberChars(ToAnsi(card.edtTel->text()), KeepDigits));
    for (const QLineEdit* edit : {card.edtTdfkn, card.edtAdrs1, card.edtAdrs2, card.edtAdrs3})
        params.Address += edit->text().trimmed();

    switch (DispatchMap(soft, &card, ProgramFolder, MapHelpContext, params, TMapCaller::Card)) {
    case TMapDispatchResult::Missing:
        return;
    case TMapDispatchResult::NothingToSearch:
        ShowCardInfo(card, QStringLiteral("電話番号を入力してください  "));
        card.edtTel->setFocus();
        return;
    case TMapDispatchResult::Shown:
        break;
    }
    if (takeOver)
        card.TakeMapPosition(params.Latitude, params.Longitude);
}

void StartExpertRoute(TDataInquiry& card)
{
    // The station library counts in 1/256 second of arc.
    uint32_t latitude = 0, longitude = 0;
    if (card.Latitude() != 0 && card.Longitude() != 0) {
        latitude = uint32_t(RoundHalfAway(double(quint32(card.Latitude())) * 256 / 1000));
        longitude = uint32_t(RoundHalfAway(double(quint32(card.Longitude())) * 256 / 1000));
    }
    TExpertMain window(&card, SystemWindowDirectory());
    {
        TBusyCursor busy;
        CenterForm(&window, &card);
        SetHelpContext(&window, RouteHelpContext);
        window.SetFolders(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        window.SetColors(Qt::blue, QApplication::palette().color(QPalette::WindowText));
        window.SetHelpContexts({RouteHelpContext, RouteHelpContext, RouteHelpContext, RouteHelpContext});
        window.SetPosition(latitude, longitude);
    }
    window.exec();
}

void StartNorikaeRoute(TDataInquiry& card)
{
    TNorikaeMain window(&card);
    if (!window.ConnectRouteServer())
        return;
    {
        TBusyCursor busy;
        CenterForm(&window, &card);
        SetHelpContext(&window, RouteHelpContext);
        window.SetProgramFolder(ProgramFolder);
        window.SetHelpContexts({RouteHelpContext, RouteHelpContext, RouteHelpContext});
        window.SetPosition(quint32(card.Latitude()), quint32(card.Longitude()));
    }
    window.exec();
}

void StartCardRoute(TDataInquiry& card)
{
    if (MainSettings.Root == 0)
        StartExpertRoute(card);
    else if (MainSettings.Root == 1)
        StartNorikaeRoute(card);
}

QString UrlToOpen(const QString& url)
{
    if (url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://")))
        return url;
    return QStringLiteral("http://") + url;
}

QString MailtoOf(const QString& address)
{
    return address.startsWith(QLatin1String("mailto:")) ? address : QStringLiteral("mailto:") + address;
}

void OpenCardURL(TDataInquiry& card)
{
    const QString url = card.edtURL->text().trimmed();
    if (url.isEmpty()) {
        ShowCardInfo(card, QStringLiteral("ホームページURLを入力してください  "));
        FocusAtEnd(card.edtURL);
        return;
    }
    OpenWebPage(UrlToOpen(url));
}

void OpenCardMail(TDataInquiry& card, int which)
{
    QLineEdit* edit = which == 2 ? card.edtEMail2 : card.edtEMail1;
    const QString address = edit->text().trimmed();
    if (address.isEmpty()) {
        ShowCardInfo(card, QStringLiteral("メールアドレスを入力してください  "));
        FocusAtEnd(edit);
        return;
    }
    EnsureMailtoProtocol();
    const int result = ShellOpen(MailtoOf(address), QString(), QString(), true);
    if (result != 0)
        ShowCardInfo(card, QStringLiteral("メールソフトが起動できませんでした  \r\nResult = ") +
                               QString::number(result) + QStringLiteral("  "));
}

void RegisterLinkServices()
{
    RegisterMapAdaptors();
    RegisterCardService(TCardService::Map, [](TDataInquiry& card, int) { ShowCardMap(card); });
    RegisterCardService(TCardService::Route, [](TDataInquiry& card, int) { StartCardRoute(card); });
    RegisterCardService(TCardService::OpenURL, [](TDataInquiry& card, int) { OpenCardURL(card); });
    RegisterCardService(TCardService::Mail, [](TDataInquiry& card, int which) { OpenCardMail(card, which); });
    RegisterCardService(TCardService::QRMap, [](TDataInquiry& card, int) { ShowQRCodeMap(card); });
    RegisterCardService(TCardService::WebSearch, [](TDataInquiry& card, int) { ShowWebSearch(card); });
    RegisterCardService(TCardService::AddExtLink, [](TDataInquiry& card, int) { ShowAddExtURL(card); });
}

// The record card's QR code, web search and URL entry buttons.
#include "links/LinkServices.h"

#include "addressbook/CardServices.h"
#include "addressbook/DtInqiry.h"
#include "core/DialogSub.h"
#include "core/ShellSub.h"
#include "links/AddExtURL.h"
#include "links/MapAdaptors.h"
#include "links/QRCodeMap.h"
#include "links/WebSearch.h"

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

void RegisterLinkServices()
{
    RegisterMapAdaptors();
    RegisterCardService(TCardService::QRMap, [](TDataInquiry& card, int) { ShowQRCodeMap(card); });
    RegisterCardService(TCardService::WebSearch, [](TDataInquiry& card, int) { ShowWebSearch(card); });
    RegisterCardService(TCardService::AddExtLink, [](TDataInquiry& card, int) { ShowAddExtURL(card); });
}

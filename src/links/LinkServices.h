// The record card's links to the web and mobile services: registration of the windows its buttons open.
#pragma once

class TDataInquiry;

// Registers the card services of the QR code, the web search and the URL entry; called once at start-up.
void RegisterLinkServices();

// The openers, each modal and owned by the card. The QR code shows the prefecture and address fields joined
// as typed; the web search starts with the card's company name; an accepted URL becomes an external link.
void ShowQRCodeMap(TDataInquiry& card);
void ShowWebSearch(TDataInquiry& card);
void ShowAddExtURL(TDataInquiry& card);

// The record card's links to the map and route programs, the web, mail and mobile services: registration of
// what its buttons open.
#pragma once

class TDataInquiry;

// Registers the card services of the map, the route, the QR code, the web search, the URL entry, the browser
// and the mail client (the URL capture stays unregistered: no window of another program can be read here);
// called once at start-up.
void RegisterLinkServices();

// The openers, each modal and owned by the card. The QR code shows the prefecture and address fields joined
// as typed; the web search starts with the card's company name; an accepted URL becomes an external link.
void ShowQRCodeMap(TDataInquiry& card);
void ShowWebSearch(TDataInquiry& card);
void ShowAddExtURL(TDataInquiry& card);

// The map button: shows the card's place in the map program of [COOPERATE] Map. With a loaded record and
// program 0, 1, 2 or 5 it asks before the map opens whether a position chosen there is saved; without a
// loaded record a position handed back is taken over without asking.
void ShowCardMap(TDataInquiry& card);
// The route button: the route front end of [COOPERATE] Root (0 or 1) with the card's position.
void StartCardRoute(TDataInquiry& card);
void StartExpertRoute(TDataInquiry& card);
void StartNorikaeRoute(TDataInquiry& card);
// The browser button and the mail buttons (which: 1 or 2).
void OpenCardURL(TDataInquiry& card);
void OpenCardMail(TDataInquiry& card, int which);

// What the browser opens: "http://" before a URL that does not begin with exactly "http://" or "https://".
QString UrlToOpen(const QString& url);
// What the mail client opens: "mailto:" before an address that does not begin with it.
QString MailtoOf(const QString& address);

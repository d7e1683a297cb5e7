// The addresses of the web services the links open, and the two URL encodings they use.
#pragma once

#include "platform/Cp932.h"

#include <QString>

namespace WebLinks {

// The web map: MapEndpoint + "/maps?q=" + the query.
inline const QString MapEndpoint = QStringLiteral("https://www.google.com");
// The mobile map link that the QR code carries: MobileMapHost + "/link.cgi?" + the query.
inline const QString MobileMapHost = QStringLiteral("https://i.mapfan.com");
// The four search engines, in the order of the engine box.
inline const QString GooHost = QStringLiteral("https://search.goo.ne.jp");
inline const QString GooPartnerCode = QStringLiteral("tovarel");
inline const QString YahooHost = QStringLiteral("https://search.yahoo.co.jp");
inline const QString ExciteHost = QStringLiteral("https://www.excite.co.jp");
inline const QString InfoseekHost = QStringLiteral("https://search.www.infoseek.co.jp");

} // namespace WebLinks

// Byte-wise form encoding of CP932 text: a blank becomes "+", the bytes of letters, digits and "*-.@_" stay,
// every other byte (each byte of a double-byte character by itself) becomes "%" and two upper-case hex
// digits.
QString FormEncodeShiftJis(const AnsiString& text);
// Every byte of the text's UTF-8 form, letters and digits included, as "%" and two upper-case hex digits.
QString EncodeUrlUtf8(const QString& text);

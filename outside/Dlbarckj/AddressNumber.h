// The address number of the customer barcode: the part of an address after its town, folded to digits,
// "-" and single letters, and the symbol data of postal code and number cut to the symbol's 20 characters.
#pragma once

#include "../AddressDic/AddressMaster.h"

#include <string>

namespace Barcode {

// The address number of a decoded address; dic (may be null) names the town of the 7-digit postal code.
std::string AddressNumber(const AddressMaster::Dictionary* dic, std::string_view postal,
                          const std::u32string& address);
// Postal code and address number as far as they fill 20 symbol characters (a letter takes two; a letter
// that would be split is left out and the symbol pads the place).
std::string SymbolData(std::string_view postal, std::string_view number);

} // namespace Barcode

// The program's private window messages, as custom event types posted to the window that handles them.
#pragma once

#include <QEvent>

// Start-up step of the hidden main form, posted once the create step is through.
inline constexpr QEvent::Type MainStartupMessage = QEvent::Type(0x8100);
// A reading-copy edit tells its owner, after the input-method event, that the popup needs an update.
inline constexpr QEvent::Type MsgConvertNeed = QEvent::Type(0x83E8);
// The name-reading popup tells its owner that a written form was picked.
inline constexpr QEvent::Type MsgNameChosen = QEvent::Type(0x83E9);
// The address list's deferred start, posted to itself when it first shows.
inline constexpr QEvent::Type MsgAddressListStart = QEvent::Type(0x8101);
// The record card opens the number look-up after the current event, posted to itself.
inline constexpr QEvent::Type MsgOpenNumberSearch = QEvent::Type(0x8102);

// The record card's look-ups: the lookup dialog started from the card and what the card takes over from
// its answer, and the municipality codes of the typed address.
#pragma once

#include "search/DicSchLogic.h"

#include <QString>

class TDataInquiry;
struct TCardValues;

// True when the text is not blank and, as it stands, begins with start (case-sensitive).
bool StartsWithText(const QString& text, const QString& start);
// Puts a lookup answer of the given result kind (0, 1, 2, 9) on the card's values.
void ApplyDicResult(TCardValues& values, const TDicResultRec& result, int kind);

// The three lookup buttons: tag 0 telephone, 1 postal code, 2 address.
void bbtnDicSchClick(TDataInquiry& card, int tag);
// Runs the lookup dialog of the kind with the text; keepAreaCode offers the box that keeps the area code.
void OpenDicSearch(TDataInquiry& card, int kind, const QString& text, bool keepAreaCode);
// "市町村コード取得".
void bbtnGetJisCodeClick(TDataInquiry& card);

// Registers the card services above.
void RegisterCardLookups();

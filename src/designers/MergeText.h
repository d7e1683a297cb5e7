// Name and text forms shared by the merges of the designer documents: surname and given name, full width,
// hex-coded names, numbered field names, joint lines.
#pragma once

#include "designers/DesignerData.h"
#include "layoutobjects/CorpRect.h"

#include <optional>

namespace MergeText {

struct TNameParts
{
    QString Surname; // up to and including the first half-width space
    QString Given;
};

TNameParts Split(const QString& name);
bool IsBlank(const QString& text);
QString FullWidth(const AnsiString& text);
// A hex-coded name field, full width; a damaged code is taken as plain text.
QString DecodedName(const TMergeRow& row, const QString& field);
QString Numbered(const char* field, int i);
// The joint text of a co-resident: own surname when it has a different one, else the record's.
QString JointText(const TNameParts& joint, const QString& surname, bool haveNameLine);
void AppendJoint(TNameRect* name, const QString& text, const QString& honorific);
// The joint lines of a sender person under the name: notes unless joint names go together, same-surname
// lines then joined to the line before with "・".
void MergeSenderJoints(const TMergeRow& row, TNameRect* frame, const QString& surname, bool together);
struct TContactText
{
    QString Heading;
    QString Text;
};
// A sender's contact n (1-4) as shown; nullopt when the row has no text for it.
std::optional<TContactText> SenderContactText(const TMergeRow& row, int n, bool kanji, bool vertical);
// A sender's contact line n (1-4): telephone headings hyphenated; all but web and mail addresses in full
// width, kanji numerals and vertical dashes as asked.
void MergeSenderContact(const TMergeRow& row, TAdditionRect* item, int n, bool kanji, bool vertical);

} // namespace MergeText

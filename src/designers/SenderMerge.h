// The merge of one sender row into the texts of a sender block's items: postal mark, address lines and their
// conversions, the name with joint names and notes, company lines, contacts.
#pragma once

#include "designers/DesignerData.h"
#include "designers/PrintDataFile.h"

#include <array>
#include <vector>

class TSenderRect;

struct TSenderJointLine
{
    QString Name;
    QString Note;
};

// One contact of the row (Head k, Addition k).
struct TSenderContactText
{
    QString Heading;
    QString Text;
};

struct TSenderItemTexts
{
    QString Postal;
    std::array<QString, 3> AddressLines;
    quint8 NameKind = 0;
    bool IgnoreName = false;
    QString Name;
    QString Note;
    std::vector<TSenderJointLine> Joints;
    quint8 NameAlign = 0;
    // The name item's company lines in the simple set, the company items in the detailed set.
    QString Company;
    QString Department;
    QString Title;
    bool WidenSpacing = false;
    bool CorpBreak = false;
    // Item kinds (19 to 22) of the simple set's two additions, 0 for an addition that is not shown.
    std::array<quint8, 2> SimpleAdditionKinds{};
    // Contacts 1 to 4.
    std::array<TSenderContactText, 4> Contacts;
};

// The texts of the block's items for a sender row, the design's settings and the paper's direction (0
// vertical: dashes become long-vowel marks). simpleSet chooses how a company sender's lines are placed.
TSenderItemTexts SenderItemTexts(const TMergeRow& row, const TLayoutSettings& settings, bool simpleSet,
                                 qint32 paperDirection);

// Puts the texts into the block's items of the set it shows (the items cleared first).
void ApplySenderItemTexts(TSenderRect& block, const TSenderItemTexts& texts);

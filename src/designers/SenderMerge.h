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

// Puts the texts into the block's items of the set it shows (the items cleared first). Without
// additionsFromRow the simple set's additions keep their kinds and visibility.
void ApplySenderItemTexts(TSenderRect& block, const TSenderItemTexts& texts, bool additionsFromRow = true);

// What differs between merging into a design's block and into the look dialog's copy of it.
struct TSenderMergePolicy
{
    // The row to show; 0: the row whose Title is the block's key, else the first row (the key follows).
    qint32 RecNo = 0;
    // The simple set's additions take their kinds and visibility from the row's AdditionPrint flags.
    bool AdditionsFromRow = true;
    // Names, address lines, company lines and contacts take the vertical dash forms.
    bool VerticalDashes = false;
};
// Fills the block from a sender row of the source; the row used, null when there is none (the block then
// stays cleared).
const TMergeRow* ShowSenderData(TSenderRect& block, TSenderSource* senders, const TLayoutSettings& settings,
                                const TSenderMergePolicy& policy);

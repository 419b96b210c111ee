#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The eight link settings, in the order the configuration file stores them.
enum class LinkSetting { SEL_COM, SEL_INTER, SEL_NBR_DIGI, SEL_COUL, SEL_DCF77, SEL_REL1, SEL_REL2, SEL_REP };

constexpr int LinkSettingCount = 8;

// One drop-down list of the link settings: its control name, items (trailing
// blanks are part of the texts) and default position.
struct LinkSettingList
{
    LinkSetting setting;
    QString name;
    QStringList items;
    int defaultIndex;
};

// The lists in file order.
const std::array<LinkSettingList, LinkSettingCount> &linkSettingLists();
const LinkSettingList &linkSettingList(LinkSetting setting);

// Selected list positions, in file order.
using LinkPositions = std::array<int, LinkSettingCount>;
LinkPositions defaultLinkPositions();

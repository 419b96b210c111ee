#include "link/link_settings.h"

namespace {
QStringList comItems()
{
    QStringList items;
    for (int k = 1; k <= 12; ++k)
        items.append(QStringLiteral("COM%1:").arg(k));
    return items;
}

const QStringList noYes{QStringLiteral("NON"), QStringLiteral("OUI")};
} // namespace

const std::array<LinkSettingList, LinkSettingCount> &linkSettingLists()
{
    static const std::array<LinkSettingList, LinkSettingCount> lists{{
        {LinkSetting::SEL_COM, QStringLiteral("SEL_COM"), comItems(), 2},
        {LinkSetting::SEL_INTER, QStringLiteral("SEL_INTER"),
         {QStringLiteral("Filaire "), QStringLiteral("Sans fil")}, 0},
        {LinkSetting::SEL_NBR_DIGI, QStringLiteral("SEL_NBR_DIGI"),
         {QStringLiteral("8 Digits 99 heu 59 min 59 sec 99 cen"), QStringLiteral("6 Digits 99 min 59 sec 99 cen"),
          QStringLiteral("4 Digits 99 sec 99 cen"), QStringLiteral("2 Digits 99 cen")},
         2},
        {LinkSetting::SEL_COUL, QStringLiteral("SEL_COUL"),
         {QStringLiteral("Mono couleur"), QStringLiteral("Tri couleur ")}, 1},
        {LinkSetting::SEL_DCF77, QStringLiteral("SEL_DCF77"), noYes, 0},
        {LinkSetting::SEL_REL1, QStringLiteral("SEL_REL1"), noYes, 0},
        {LinkSetting::SEL_REL2, QStringLiteral("SEL_REL2"), noYes, 0},
        {LinkSetting::SEL_REP, QStringLiteral("SEL_REP"), noYes, 1},
    }};
    return lists;
}

const LinkSettingList &linkSettingList(LinkSetting setting)
{
    return linkSettingLists().at(static_cast<int>(setting));
}

LinkPositions defaultLinkPositions()
{
    LinkPositions positions{};
    for (int i = 0; i < LinkSettingCount; ++i)
        positions[i] = linkSettingLists()[i].defaultIndex;
    return positions;
}

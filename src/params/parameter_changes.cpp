#include "params/parameter_changes.h"

#include "params/number_text.h"

#include <functional>
#include <vector>

namespace {

const QString Unknown = QStringLiteral("inconnu");
const QString Blank = QStringLiteral("non programmé");
const QString NoChoice = QStringLiteral("aucun choix");

// A card's bytes, with the choices decoded by the codec's own tables; the
// numbers are read raw, so that a value out of the controls' range shows as
// the card holds it.
class Card
{
public:
    explicit Card(const MemoryBytes &bytes)
        : m_bytes(bytes)
    {
        MemoryImage image;
        for (int a = ParameterBlockFirst; a < ParameterBlockFirst + ParameterBlockSize; ++a) {
            if (bytes[a])
                image.setText(a, hexText(*bytes[a]).rightJustified(2, QLatin1Char('0')));
        }
        decoded = DECODE_PARAMETRES(image).parameters;
    }

    bool known(int address) const { return m_bytes[address].has_value(); }
    int byte(int address) const { return *m_bytes[address]; }
    int word(int address) const { return byte(address) << 8 | byte(address + 1); }
    int threshold(int address) const { return word(address) & 0x3FFF; }
    bool blank() const { return known(79) && known(80) && byte(79) != 0x4F && byte(80) != 0x4D; }

    JEU_PARAMETRES decoded;

private:
    const MemoryBytes &m_bytes;
};

using Key = std::function<qint64(const Card &)>;
using Text = std::function<QString(qint64)>;
using Take = std::function<void(EditorSettings &, const EditorSettings &)>;

struct Field
{
    QString caption;
    std::vector<int> addresses;
    Key key;
    Text text;
    Take take;
};

QString speed(qint64 tenths)
{
    return tenthsText(tenths) + QStringLiteral(" Km/h");
}

Text captionOf(const QStringList &captions)
{
    return [&captions](qint64 index) { return index < 0 ? NoChoice : captions.value(int(index)).trimmed(); };
}

Text number(const QString &format)
{
    return [format](qint64 value) { return format.arg(value); };
}

std::vector<int> span(int first, int count)
{
    std::vector<int> addresses;
    for (int a = first; a < first + count; ++a)
        addresses.push_back(a);
    return addresses;
}

#define TAKE(member) [](EditorSettings &t, const EditorSettings &s) { t.parameters.member = s.parameters.member; }

void addRelay(std::vector<Field> &fields, int number, int activation, RelaySettings JEU_PARAMETRES::*relay)
{
    const QString name = QStringLiteral("Relais %1 : ").arg(number);
    const auto take = [relay](auto member) -> Take {
        return [relay, member](EditorSettings &t, const EditorSettings &s) {
            t.parameters.*relay.*member = s.parameters.*relay.*member;
        };
    };
    fields.push_back({QStringLiteral("Relais %1:").arg(number), {activation},
                      [relay](const Card &c) { return qint64((c.decoded.*relay).inUse); },
                      captionOf(EditorCaptions::relayStates()), take(&RelaySettings::inUse)});
    fields.push_back({name + QStringLiteral("contact"), {activation},
                      [relay](const Card &c) { return qint64((c.decoded.*relay).normallyClosed); },
                      captionOf(EditorCaptions::contacts()), take(&RelaySettings::normallyClosed)});
    fields.push_back({name + QStringLiteral("Seuil d'ACTIVATION."), span(activation, 2),
                      [activation](const Card &c) { return qint64(c.threshold(activation)); }, speed,
                      take(&RelaySettings::activation)});
    fields.push_back({name + QStringLiteral("Seuil de DESACTIVATION."), span(activation + 2, 2),
                      [activation](const Card &c) { return qint64(c.threshold(activation + 2)); }, speed,
                      take(&RelaySettings::deactivation)});
}

// In the order of the editor's pages, as the commissioning sheet lists them.
const std::vector<Field> &fields()
{
    using namespace EditorCaptions;
    static const std::vector<Field> table = [] {
        std::vector<Field> f{
            {QStringLiteral("Nombre de digits d'affichage:"), {96},
             [](const Card &c) { return qint64(c.decoded.digits.value_or(-1)); }, captionOf(digits()), TAKE(digits)},
            {QStringLiteral("Affichage :"), {96}, [](const Card &c) { return qint64(c.decoded.integerOnly ? 1 : 2); },
             captionOf(decimals()), TAKE(integerOnly)},
            {QStringLiteral("Suppression des zéros de têtes:"), {96},
             [](const Card &c) { return qint64(c.decoded.suppressZeros ? 1 : 2); }, captionOf(suppression()),
             TAKE(suppressZeros)},
            {QStringLiteral("Remise à zéro du maximum :"), {96},
             [](const Card &c) { return qint64(c.decoded.resetMode); }, captionOf(resetModes()), TAKE(resetMode)},
            {QStringLiteral("Mode d'affichage:"), {96}, [](const Card &c) { return qint64(c.decoded.displayMode); },
             captionOf(displayModes()), TAKE(displayMode)},
            // The distance per pulse and the factory constant are the editor's
            // only; the card keeps what the write derives from them.
            {QStringLiteral("Coefficient de vitesse (Étalonnage usine.)"), span(87, 4),
             [](const Card &c) { return qint64(c.decoded.coefficient); },
             [](qint64 value) { return coefficientDecimalText(quint32(value)); },
             [](EditorSettings &t, const EditorSettings &s) {
                 t.parameters.coefficient = s.parameters.coefficient;
                 t.coefficient = s.coefficient;
                 t.dimpulse = s.dimpulse;
                 t.etalon = s.etalon;
             }},
            {QStringLiteral("Nombre d'impulsion utilisée pour le calcul instantané:"), {91},
             [](const Card &c) { return qint64(c.byte(91)); }, number(QStringLiteral("%1")), TAKE(pulseCount)},
            {QStringLiteral("2-Moyenne réalisée sur :"), {85},
             [](const Card &c) { return qint64(c.decoded.averaging.value_or(-1)); },
             [](qint64 exponent) {
                 return exponent < 0 ? NoChoice : QStringLiteral("%1 mesures").arg(1 << exponent);
             },
             TAKE(averaging)},
            {QStringLiteral("3- Durée sans impulsion pour le 0Km/h:"), {78},
             [](const Card &c) { return qint64(c.byte(78)); }, number(QStringLiteral("%1 Secondes")),
             TAKE(zeroPulseSeconds)},
            {QStringLiteral("Affichage rafraîchi"), {86}, [](const Card &c) { return qint64(c.byte(86)); },
             [](qint64 setting) {
                 return setting >= 1 && setting <= 20
                     ? refreshRateText(int(setting)) + QStringLiteral(" fois par secondes")
                     : QStringLiteral("réglage %1").arg(setting);
             },
             TAKE(refresh)},
        };
        for (int i = 0; i < 4; ++i) {
            const int address = 64 + 2 * i;
            f.push_back({QStringLiteral("Plage %1: limite").arg(i + 1), span(address, 2),
                         [address](const Card &c) { return qint64(c.threshold(address)); }, speed,
                         [i](EditorSettings &t, const EditorSettings &s) {
                             t.parameters.ranges[i].threshold = s.parameters.ranges[i].threshold;
                         }});
        }
        for (int i = 0; i < 5; ++i) {
            f.push_back({QStringLiteral("Plage %1: couleur").arg(i + 1), {64 + 2 * i},
                         [i](const Card &c) { return qint64(c.decoded.ranges[i].colour); }, captionOf(colours()),
                         [i](EditorSettings &t, const EditorSettings &s) {
                             t.parameters.ranges[i].colour = s.parameters.ranges[i].colour;
                         }});
        }
        f.push_back({QStringLiteral("Programmer un Maximum :"), span(72, 2),
                     [](const Card &c) { return qint64(c.threshold(72)); }, speed,
                     [](EditorSettings &t, const EditorSettings &s) {
                         t.parameters.ranges[4].threshold = s.parameters.ranges[4].threshold;
                     }});
        f.push_back({QStringLiteral("Luminosité"), {82},
                     [](const Card &c) { return qint64(c.decoded.luminosity.value_or(-1)); }, captionOf(luminosity()),
                     TAKE(luminosity)});
        f.push_back({QStringLiteral("Fréquence de Commutation"), {97},
                     [](const Card &c) { return qint64(c.byte(97) / 2 + 1); }, number(QStringLiteral("%1 secondes")),
                     TAKE(measuringPeriod)});
        f.push_back({QStringLiteral("Commutation JOUR/NUIT"), {98}, [](const Card &c) { return qint64(c.byte(98)); },
                     number(QStringLiteral("%1")), TAKE(switchingThreshold)});
        addRelay(f, 1, 92, &JEU_PARAMETRES::relay1);
        addRelay(f, 2, 74, &JEU_PARAMETRES::relay2);
        return f;
    }();
    return table;
}

#undef TAKE

// What one field of a card reads: nothing, its key, or unknown.
struct Reading
{
    enum State { Blank, Unknown, Value } state;
    qint64 key = 0;
    bool operator==(const Reading &) const = default;
};

Reading read(const Field &field, const Card &card)
{
    if (card.blank())
        return {Reading::Blank};
    for (int a : field.addresses) {
        if (!card.known(a))
            return {Reading::Unknown};
    }
    return {Reading::Value, field.key(card)};
}

QString textOf(const Field &field, const Reading &reading)
{
    switch (reading.state) {
    case Reading::Blank:
        return Blank;
    case Reading::Unknown:
        return Unknown;
    case Reading::Value:
        break;
    }
    return field.text(reading.key);
}

QString bytesText(const MemoryBytes &bytes, int first, int last)
{
    QStringList texts;
    for (int a = first; a <= last; ++a)
        texts.append(hexText(*bytes[a]).rightJustified(2, QLatin1Char('0')));
    return texts.join(QLatin1Char(' '));
}

bool inBlock(int address)
{
    return address >= ParameterBlockFirst && address < ParameterBlockFirst + ParameterBlockSize;
}

} // namespace

QList<SettingValue> parameterValues(const MemoryBytes &card)
{
    const Card c(card);
    QList<SettingValue> values;
    for (std::size_t i = 0; i < fields().size(); ++i)
        values.append({int(i), fields()[i].caption, textOf(fields()[i], read(fields()[i], c))});
    return values;
}

QList<SettingChange> parameterChanges(const MemoryBytes &from, const MemoryBytes &to)
{
    const Card a(from);
    const Card b(to);
    QList<SettingChange> changes;
    for (std::size_t i = 0; i < fields().size(); ++i) {
        const Field &field = fields()[i];
        const Reading before = read(field, a);
        const Reading after = read(field, b);
        if (before != after)
            changes.append({int(i), field.caption, textOf(field, before), textOf(field, after)});
    }
    return changes;
}

QList<SettingChange> memoryChanges(const MemoryBytes &from, const MemoryBytes &to)
{
    QList<SettingChange> changes;
    const auto differs = [&](int a) { return !inBlock(a) && from[a] && to[a] && *from[a] != *to[a]; };
    for (int a = 0; a < MemoryImage::Size; ++a) {
        if (!differs(a))
            continue;
        int last = a;
        while (last + 1 < MemoryImage::Size && differs(last + 1))
            ++last;
        const QString caption = last == a ? QStringLiteral("Octet %1").arg(cellName(a))
                                          : QStringLiteral("Octets %1 à %2").arg(cellName(a), cellName(last));
        changes.append({-1, caption, bytesText(from, a, last), bytesText(to, a, last)});
        a = last;
    }
    return changes;
}

QList<SettingChange> cardChanges(const MemoryBytes &from, const MemoryBytes &to)
{
    return parameterChanges(from, to) + memoryChanges(from, to);
}

QList<ChangeRow> changeRows(const QList<SettingChange> &changes)
{
    QList<ChangeRow> rows;
    for (const SettingChange &c : changes)
        rows.append({c.caption, c.from, c.to});
    return rows;
}

namespace {
int settingCaptioned(const QString &caption)
{
    for (std::size_t i = 0; i < fields().size(); ++i) {
        if (fields()[i].caption == caption)
            return int(i);
    }
    return -1;
}
} // namespace

int coefficientSetting()
{
    static const int setting = settingCaptioned(QStringLiteral("Coefficient de vitesse (Étalonnage usine.)"));
    return setting;
}

int rangeLimitSetting(int range)
{
    return range == 4 ? settingCaptioned(QStringLiteral("Programmer un Maximum :"))
                      : settingCaptioned(QStringLiteral("Plage %1: limite").arg(range + 1));
}

void takeSettings(EditorSettings &target, const EditorSettings &source, const QList<int> &settings)
{
    for (int setting : settings) {
        if (setting >= 0 && setting < int(fields().size()))
            fields()[setting].take(target, source);
    }
}

MemoryBytes withParameters(const MemoryBytes &base, const JEU_PARAMETRES &parameters)
{
    MemoryImage image;
    for (int a = 0; a < MemoryImage::Size; ++a) {
        if (base[a])
            image.setText(a, hexText(*base[a]).rightJustified(2, QLatin1Char('0')));
    }
    CODE_PARAMETRES(parameters, image);
    return image.bytes();
}

std::optional<MemoryBytes> withEditorState(const MemoryBytes &base, const EditorState &state)
{
    const std::optional<quint32> coefficient = coefficientToSend(state);
    if (!coefficient)
        return std::nullopt;
    return withParameters(base, parametersToSend(state, *coefficient));
}

#include "records/parameter_file.h"

#include "panel/report.h"
#include "params/number_text.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace {

const QString FormatName = QStringLiteral("KVL_PWS paramètres");

// How a setting's value is written: one of the control's captions, a number
// of tenths shown in km/h, a whole number, the number of measures averaged
// (2 to the slider's power), or a text box's own text.
enum class Kind { Choice, Tenths, Whole, Measures, Text };

using Getter = std::function<std::optional<int>(const EditorSettings &)>;
using Setter = std::function<void(EditorSettings &, std::optional<int>)>;

struct Setting
{
    QString name;
    Kind kind;
    QString field = {}; // French, for the out-of-range report
    int min = 0;
    int max = 0;
    const QStringList *choices = nullptr; // Choice: captions by index, empty for no button
    bool noneAllowed = false;             // Choice, Measures: an empty value is "no choice"
    Getter get = {};
    Setter set = {};
    // Text: the box's text, and whether a text is one the box can hold.
    std::function<QString &(EditorSettings &)> text = {};
    std::function<bool(const QString &)> valid = {};
};

#define MEMBER(expr) [](const EditorSettings &s) -> std::optional<int> { return expr; }
#define STORE(target) [](EditorSettings &s, std::optional<int> v) { target; }

Setting choice(const QString &name, const QStringList &choices, Getter get, Setter set, bool noneAllowed = false)
{
    return {name, Kind::Choice, {}, 0, 0, &choices, noneAllowed, get, set};
}

Setting number(const QString &name, Kind kind, const QString &field, int min, int max, Getter get, Setter set)
{
    return {name, kind, field, min, max, nullptr, false, get, set};
}

bool positiveDistance(const QString &text)
{
    return readFrenchNumber(QString(text).replace(QLatin1Char('.'), QLatin1Char(','))).value_or(0) > 0;
}

// In the order of the editor's pages.
const std::vector<Setting> &settings()
{
    using namespace EditorCaptions;
    static const std::vector<Setting> table = [] {
        std::vector<Setting> t{
            choice("NB_DIGIT", digits(), MEMBER(s.parameters.digits), STORE(s.parameters.digits = v), true),
            choice("DECI_ENT", decimals(), MEMBER(s.parameters.integerOnly ? 1 : 2),
                   STORE(s.parameters.integerOnly = v == 1)),
            choice("SUPRESS", suppression(), MEMBER(s.parameters.suppressZeros ? 1 : 2),
                   STORE(s.parameters.suppressZeros = v == 1)),
            choice("RAZ_TYPE", resetModes(), MEMBER(s.parameters.resetMode), STORE(s.parameters.resetMode = *v)),
            choice("AFF_TYPE", displayModes(), MEMBER(s.parameters.displayMode), STORE(s.parameters.displayMode = *v)),
            {"etalon", Kind::Text, {}, 0, 0, nullptr, false, {}, {}, [](EditorSettings &s) -> QString & { return s.etalon; },
             [](const QString &text) { return readFrenchNumber(text).has_value(); }},
            {"Text4", Kind::Text, {}, 0, 0, nullptr, false, {}, {},
             [](EditorSettings &s) -> QString & { return s.coefficient; },
             [](const QString &text) { return coefficientFromText(text).has_value(); }},
            {"Dimpulse", Kind::Text, {}, 0, 0, nullptr, false, {}, {},
             [](EditorSettings &s) -> QString & { return s.dimpulse; }, positiveDistance},
            number("Slider_Nbr_IMPULS", Kind::Whole, "Nombre d'impulsions", 1, 8, MEMBER(s.parameters.pulseCount),
                   STORE(s.parameters.pulseCount = *v)),
            {"Slider_MOY", Kind::Measures, "Moyenne", 0, 4, nullptr, true, MEMBER(s.parameters.averaging),
             STORE(s.parameters.averaging = v)},
            number("Slider_ZEROPULSE", Kind::Whole, "Durée sans impulsion", 1, 10,
                   MEMBER(s.parameters.zeroPulseSeconds), STORE(s.parameters.zeroPulseSeconds = *v)),
            number("DURE_LDR", Kind::Whole, "Fréquence de Commutation", 1, 128, MEMBER(s.parameters.measuringPeriod),
                   STORE(s.parameters.measuringPeriod = *v)),
            number("COMP_LDR", Kind::Whole, "Commutation JOUR/NUIT", 0, 15, MEMBER(s.parameters.switchingThreshold),
                   STORE(s.parameters.switchingThreshold = *v)),
            choice("Option1", luminosity(), MEMBER(s.parameters.luminosity), STORE(s.parameters.luminosity = v), true),
        };
        for (int i = 0; i < 5; ++i) {
            t.push_back(choice(QStringLiteral("COULE_%1").arg(i + 1), colours(),
                               [i](const EditorSettings &s) { return std::optional<int>(int(s.parameters.ranges[i].colour)); },
                               [i](EditorSettings &s, std::optional<int> v) { s.parameters.ranges[i].colour = RangeColour(*v); }));
        }
        for (int i = 0; i < 5; ++i) {
            t.push_back(number(QStringLiteral("HScroll1_%1").arg(i + 1), Kind::Tenths, QStringLiteral("Plage %1").arg(i + 1),
                               i < 4 ? 1 : 0, 9999,
                               [i](const EditorSettings &s) { return std::optional<int>(s.parameters.ranges[i].threshold); },
                               [i](EditorSettings &s, std::optional<int> v) { s.parameters.ranges[i].threshold = *v; }));
        }
        struct Relay
        {
            int number;
            RelaySettings JEU_PARAMETRES::*member;
            const char *check, *contact, *on, *off;
        };
        for (const Relay &r : {Relay{1, &JEU_PARAMETRES::relay1, "Check1", "Option3", "HScroll6", "HScroll7"},
                               Relay{2, &JEU_PARAMETRES::relay2, "Check2", "Option4", "HScroll8", "HScroll5"}}) {
            const auto m = r.member;
            t.push_back(choice(r.check, relayStates(),
                               [m](const EditorSettings &s) { return std::optional<int>((s.parameters.*m).inUse); },
                               [m](EditorSettings &s, std::optional<int> v) { (s.parameters.*m).inUse = v == 1; }));
            t.push_back(choice(r.contact, contacts(),
                               [m](const EditorSettings &s) { return std::optional<int>((s.parameters.*m).normallyClosed); },
                               [m](EditorSettings &s, std::optional<int> v) { (s.parameters.*m).normallyClosed = v == 1; }));
            t.push_back(number(r.on, Kind::Tenths, QStringLiteral("Seuil d'activation du relais %1").arg(r.number), 0,
                               9999, [m](const EditorSettings &s) { return std::optional<int>((s.parameters.*m).activation); },
                               [m](EditorSettings &s, std::optional<int> v) { (s.parameters.*m).activation = *v; }));
            t.push_back(number(r.off, Kind::Tenths, QStringLiteral("Seuil de désactivation du relais %1").arg(r.number),
                               0, 9999,
                               [m](const EditorSettings &s) { return std::optional<int>((s.parameters.*m).deactivation); },
                               [m](EditorSettings &s, std::optional<int> v) { (s.parameters.*m).deactivation = *v; }));
        }
        t.push_back(number("HScroll3", Kind::Whole, "Rafraîchissement", 1, 20, MEMBER(s.parameters.refresh),
                           STORE(s.parameters.refresh = *v)));
        return t;
    }();
    return table;
}

#undef MEMBER
#undef STORE

QString valueText(const Setting &setting, const EditorSettings &s)
{
    if (setting.kind == Kind::Text)
        return setting.text(const_cast<EditorSettings &>(s)).trimmed();
    const std::optional<int> value = setting.get(s);
    if (!value)
        return {};
    switch (setting.kind) {
    case Kind::Choice:
        return setting.choices->value(*value).trimmed();
    case Kind::Tenths:
        return tenthsText(*value);
    case Kind::Measures:
        return QString::number(1 << std::clamp(*value, 0, 4));
    case Kind::Whole:
    case Kind::Text:
        break;
    }
    return QString::number(*value);
}

// A whole number of the value's unit (tenths for km/h), or nothing.
std::optional<qint64> wholeNumber(const QString &text, int scale)
{
    const std::optional<double> read = readFrenchNumber(text);
    if (!read)
        return std::nullopt;
    const double scaled = *read * scale;
    constexpr double Limit = 1e12; // far beyond any control, still exact
    const double bounded = std::clamp(scaled, -Limit, Limit);
    const double rounded = std::round(bounded);
    if (std::abs(bounded - rounded) > 1e-6)
        return std::nullopt;
    return qint64(rounded);
}

class Applier
{
public:
    explicit Applier(LoadedParameters &loaded)
        : m_loaded(loaded)
    {
    }

    void apply(const Setting &setting, const QString &value)
    {
        EditorSettings &s = m_loaded.settings;
        switch (setting.kind) {
        case Kind::Text:
            if (setting.valid(value)) {
                setting.text(s) = value;
                if (setting.name == QLatin1String("Text4"))
                    s.parameters.coefficient = *coefficientFromText(value);
            } else {
                unreadable(setting, value);
            }
            return;
        case Kind::Choice:
            applyChoice(setting, value);
            return;
        case Kind::Tenths:
        case Kind::Whole:
            applyNumber(setting, value);
            return;
        case Kind::Measures:
            applyMeasures(setting, value);
            return;
        }
    }

private:
    void unreadable(const Setting &setting, const QString &value)
    {
        m_loaded.unreadable.append(setting.name + QStringLiteral(" = ") + value);
    }

    void applyChoice(const Setting &setting, const QString &value)
    {
        if (value.isEmpty() && setting.noneAllowed) {
            setting.set(m_loaded.settings, std::nullopt);
            return;
        }
        for (int i = 0; i < setting.choices->size(); ++i) {
            const QString caption = setting.choices->at(i).trimmed();
            if (!caption.isEmpty() && caption == value) {
                setting.set(m_loaded.settings, i);
                return;
            }
        }
        unreadable(setting, value);
    }

    void applyNumber(const Setting &setting, const QString &value)
    {
        const bool tenths = setting.kind == Kind::Tenths;
        const std::optional<qint64> read = wholeNumber(value, tenths ? 10 : 1);
        if (!read) {
            unreadable(setting, value);
            return;
        }
        const int held = int(std::clamp<qint64>(*read, setting.min, setting.max));
        if (held != *read)
            outOfRange(setting, value, tenths ? tenthsText(held) : QString::number(held));
        setting.set(m_loaded.settings, held);
    }

    void applyMeasures(const Setting &setting, const QString &value)
    {
        if (value.isEmpty()) {
            setting.set(m_loaded.settings, std::nullopt);
            return;
        }
        const std::optional<qint64> read = wholeNumber(value, 1);
        const qint64 most = 1 << setting.max;
        if (read && (*read < 1 || *read > most)) {
            const qint64 held = *read < 1 ? 1 : most;
            outOfRange(setting, value, QString::number(held));
            setting.set(m_loaded.settings, *read < 1 ? 0 : setting.max);
            return;
        }
        for (int exponent = setting.min; read && exponent <= setting.max; ++exponent) {
            if (*read == 1 << exponent) {
                setting.set(m_loaded.settings, exponent);
                return;
            }
        }
        unreadable(setting, value);
    }

    void outOfRange(const Setting &setting, const QString &read, const QString &shown)
    {
        m_loaded.outOfRange.append(outOfRangeEntry(setting.field, read, shown));
    }

    LoadedParameters &m_loaded;
};

std::optional<int> versionOf(const QString &line)
{
    static const QRegularExpression pattern(QStringLiteral("^KVL_PWS paramètres ([1-9][0-9]{0,8})$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

} // namespace

QByteArray parameterFileText(const EditorSettings &s)
{
    QString text = FormatName + QLatin1Char(' ') + QString::number(ParameterFileVersion) + QLatin1Char('\n');
    for (const Setting &setting : settings()) {
        const QString value = valueText(setting, s);
        text += setting.name + (value.isEmpty() ? QStringLiteral(" =") : QStringLiteral(" = ") + value)
            + QLatin1Char('\n');
    }
    return text.toUtf8();
}

std::optional<LoadedParameters> readParameterFile(const QByteArray &file, const EditorSettings &current)
{
    if (file.size() > ParameterFileLimit || file.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(file);
    if (decoder.hasError())
        return std::nullopt;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        lines.first().remove(0, 1);
    const std::optional<int> version = versionOf(lines.value(0));
    if (!version)
        return std::nullopt;

    LoadedParameters loaded;
    loaded.settings = current;
    loaded.version = *version;
    Applier applier(loaded);
    std::set<QString> seen;
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const QString line = lines[k].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        const auto setting = std::find_if(settings().begin(), settings().end(),
                                          [&](const Setting &s) { return s.name == name; });
        if (setting == settings().end()) {
            if (!loaded.unknownNames.contains(name))
                loaded.unknownNames.append(name);
            continue;
        }
        seen.insert(name);
        applier.apply(*setting, value);
    }
    for (const Setting &setting : settings()) {
        if (!seen.count(setting.name))
            loaded.missing.append(setting.name);
    }
    return loaded;
}

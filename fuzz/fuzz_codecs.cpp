// Feeds arbitrary bytes to every pure codec: as cell texts of a memory image
// (one line per cell, from address 60 on, wrapping), as a live speed answer,
// as calibration texts, and as every file the tool reads: configuration file,
// parameter file, memory backup, ports.conf. Besides crashes and
// sanitizer reports, it stops on any result outside what a control or the
// panel can take.

#include "config/config_text.h"
#include "port/port_map.h"
#include "luminosity/luminosity_codec.h"
#include "panel/backup.h"
#include "panel/memory_image.h"
#include "params/calibration.h"
#include "params/live_speed.h"
#include "params/parameter_codec.h"
#include "records/parameter_file.h"
#include "switches/switch_codec.h"

#include <QByteArray>
#include <QList>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#define REQUIRE(condition)                                                                 \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

namespace {

bool within(int value, int min, int max)
{
    return value >= min && value <= max;
}

// Every value within its control's range; range limits from `lowestLimit`
// (a read shows a stored 0 as 2, a parameter file may hold 0).
void checkParameters(const JEU_PARAMETRES &p, int lowestLimit)
{
    for (const ColourRange &range : p.ranges)
        REQUIRE(within(range.threshold, lowestLimit, 9999));
    for (const RelaySettings &relay : {p.relay1, p.relay2})
        REQUIRE(within(relay.activation, 0, 9999) && within(relay.deactivation, 0, 9999));
    REQUIRE(within(p.zeroPulseSeconds, 1, 10) && within(p.refresh, 1, 20) && within(p.pulseCount, 1, 8));
    REQUIRE(within(p.measuringPeriod, 1, 128) && within(p.switchingThreshold, 0, 15));
    REQUIRE(!p.luminosity || within(*p.luminosity, 0, 6));
    REQUIRE(!p.averaging || within(*p.averaging, 0, 4));
    REQUIRE(!p.digits || within(*p.digits, 1, 3));
    REQUIRE(within(p.displayMode, 0, 3) && within(p.resetMode, 0, 3));
}

void fuzzParameters(const MemoryImage &image)
{
    (void)TEST_VIERGE(image);
    const DecodedParameters decoded = DECODE_PARAMETRES(image);
    checkParameters(decoded.parameters, 1);
    REQUIRE(coefficientFromText(decoded.coefficientDecimal) == decoded.parameters.coefficient);

    // What the editor shows, written back, must be panel bytes that read the same.
    MemoryImage written;
    REQUIRE(CODE_PARAMETRES(decoded.parameters, written).size() == 8);
    for (int address = 64; address <= 98; ++address) {
        const bool keptText = (address == 82 && !decoded.parameters.luminosity)
            || (address == 85 && !decoded.parameters.averaging);
        REQUIRE(keptText || holdsValidByte(written.text(address)));
    }
    REQUIRE(!TEST_VIERGE(written));
    const DecodedParameters again = DECODE_PARAMETRES(written);
    REQUIRE(again.parameters == decoded.parameters);
    REQUIRE(again.outOfRange.isEmpty());
}

void fuzzSwitchesAndLuminosity(const MemoryImage &image)
{
    const SwitchReading switches = DECODE_SW(image.value(74), image.value(75), image.value(76));
    REQUIRE((switches.variant == CardVariant::ThreeColour) == (image.value(76) == 84));

    const LuminositySettings read = DECODE_LUM(image.value(60), image.value(61), image.value(62));
    REQUIRE(read.period >= 1);
    const LuminosityCells cells = ENCODE_LUM(read.mode, int(qMin<quint32>(read.period, 1000)),
                                             int(qMin<quint32>(read.threshold, 1000)));
    REQUIRE(holdsValidByte(cells.cell61) && holdsValidByte(cells.cell62));
    REQUIRE(cells.cell60.has_value() == read.mode.has_value());
    const LuminositySettings back =
        DECODE_LUM(hexPrefixValue(cells.cell60.value_or(QString())), hexPrefixValue(cells.cell61), hexPrefixValue(cells.cell62));
    REQUIRE(back.mode == read.mode && back.period == qMin<quint32>(read.period, 128)
            && back.threshold == qMin<quint32>(read.threshold, 15));
}

// Whether each 6-character part holds two hexadecimal digits in its 4th and
// 5th characters, where the panel puts its byte; the rest is not compared.
bool bytesInPlace(const QByteArray &answer)
{
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    for (int part = 0; part + 6 <= answer.size(); part += 6) {
        if (!hex(answer[part + 3]) || !hex(answer[part + 4]))
            return false;
    }
    return true;
}

void fuzzLiveSpeed(const QByteArray &data)
{
    for (const QByteArray &answer : {data, data.left(24)}) {
        const std::optional<LiveSpeed> speed = decodeLiveSpeed(answer);
        REQUIRE(!speed || (answer.size() == 24 && bytesInPlace(answer)));
        if (speed)
            REQUIRE(within(speed->maximum, 0, 0x3FFF) && within(speed->instantaneous, 0, 0xFFFF));
    }
}

void fuzzConfiguration(const QByteArray &data)
{
    const std::optional<QList<int>> positions = readConfigurationPositions(data);
    if (!positions)
        return;
    REQUIRE(positions->size() <= LinkSettingCount);
    LinkPositions all = defaultLinkPositions();
    for (int i = 0; i < positions->size(); ++i) {
        REQUIRE(within(positions->at(i), 0, int(linkSettingLists()[i].items.size()) - 1));
        all[i] = positions->at(i);
    }
    const QByteArray saved = TEXTE_CONFIGURATION(all, QDateTime(QDate(2024, 3, 5), QTime(14, 5)), QLocale::c());
    REQUIRE(readConfigurationPositions(saved) == QList<int>(all.begin(), all.end()));
}

// A file that loads applies only values its controls can show, and what the
// editor then saves loads back to the same settings without a remark.
void fuzzParameterFile(const QByteArray &data)
{
    const std::optional<LoadedParameters> loaded = readParameterFile(data, EditorSettings{});
    REQUIRE(!loaded || data.size() <= ParameterFileLimit);
    if (!loaded)
        return;
    const JEU_PARAMETRES &p = loaded->settings.parameters;
    checkParameters(p, 0);
    REQUIRE(coefficientFromText(loaded->settings.coefficient) == p.coefficient);

    const std::optional<LoadedParameters> again = readParameterFile(parameterFileText(loaded->settings), EditorSettings{});
    REQUIRE(again.has_value());
    REQUIRE(again->settings == loaded->settings);
    REQUIRE(again->outOfRange.isEmpty() && again->unreadable.isEmpty());
    REQUIRE(again->unknownNames.isEmpty() && again->missing.isEmpty());
}

void fuzzBackup(const QByteArray &data)
{
    const std::optional<MemoryBackup> backup = readBackup(data);
    if (!backup)
        return;
    const std::optional<MemoryBackup> again = readBackup(backupText(*backup));
    REQUIRE(again.has_value());
    REQUIRE(again->window == backup->window && again->port == backup->port && again->bytes == backup->bytes);
}

void fuzzPortMap(const QByteArray &data)
{
    PortMap map;
    const QStringList problems = map.applyOverrides(QString::fromUtf8(data));
    REQUIRE(problems.size() <= data.count('\n') + 1);
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port)
        REQUIRE(!map.device(port).trimmed().isEmpty());
}

void fuzzCalibration(const QString &dimpulse, const QString &etalon)
{
    const PulseCalibration result = calibratePulses(dimpulse, etalon);
    REQUIRE(!result.dimpulse.contains(QLatin1Char('.')));
    REQUIRE(result.succeeded() == (result.columns.size() == referenceSpeedTexts().size()));
    REQUIRE(result.succeeded() != result.coefficient.isEmpty());
    (void)coefficientFromText(result.coefficient);
    (void)coefficientFromText(dimpulse);
}

} // namespace

// The default quarantine lets a long run grow past libFuzzer's memory limit;
// a smaller one still catches use after free in code this size.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=64";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const QList<QByteArray> lines = data.split('\n');

    MemoryImage image;
    for (int k = 0; k < lines.size(); ++k)
        image.setText((60 + k) % MemoryImage::Size, QString::fromUtf8(lines[k]));

    fuzzParameters(image);
    fuzzSwitchesAndLuminosity(image);
    fuzzLiveSpeed(data);
    fuzzConfiguration(data);
    fuzzParameterFile(data);
    fuzzBackup(data);
    fuzzPortMap(data);
    fuzzCalibration(QString::fromUtf8(lines.value(0)), QString::fromUtf8(lines.value(1)));
    return 0;
}

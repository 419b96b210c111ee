#include "params/parameter_codec.h"

#include <algorithm>

namespace {

// The ranges of the editor's controls.
struct Range
{
    int min;
    int max;
};
constexpr Range Threshold{0, 9999};
constexpr Range ZeroPulse{1, 10};
constexpr Range Refresh{1, 20};
constexpr Range PulseCount{1, 8};
constexpr Range Period{1, 128};
constexpr Range Switching{0, 15};

int held(qint64 value, Range range)
{
    return int(std::clamp<qint64>(value, range.min, range.max));
}

constexpr int FirstRange = 64; // range i (0-based) at 64 + 2i
constexpr int Relay2Activation = 74;
constexpr int Relay2Deactivation = 76;
constexpr int ZeroPulseAddress = 78;
constexpr int MarkerAddress = 79;
constexpr int LuminosityAddress = 82;
constexpr int ReservedAddress = 83;
constexpr int AveragingAddress = 85;
constexpr int RefreshAddress = 86;
constexpr int CoefficientAddress = 87; // least significant byte first
constexpr int PulseCountAddress = 91;
constexpr int Relay1Activation = 92;
constexpr int Relay1Deactivation = 94;
constexpr int OptionsAddress = 96;
constexpr int PeriodAddress = 97;
constexpr int SwitchingAddress = 98;

constexpr quint32 ThresholdMask = 0x3FFF;
constexpr quint32 FirstFlag = 0x4000;
constexpr quint32 SecondFlag = 0x8000;

constexpr std::array<quint32, 3> Marker{0x4F, 0x4D, 0x52}; // "OMR"

// Indexed by Option1: the light sensor's code carries the 100% bit as well.
constexpr std::array<quint32, 7> LuminosityCodes{0x03, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};

// Display options, indexed as the editor's option groups; each table holds
// every value its mask can give, so decoding always finds an index.
constexpr quint32 DigitMask = 0xC0;
constexpr std::array<quint32, 4> DigitCodes{0x00, 0x80, 0x40, 0xC0}; // index 0: no choice
constexpr quint32 DisplayModeMask = 0x30;
constexpr std::array<quint32, 4> DisplayModeCodes{0x20, 0x10, 0x30, 0x00};
constexpr quint32 ResetMask = 0x0C;
constexpr std::array<quint32, 4> ResetCodes{0x00, 0x08, 0x04, 0x0C};
constexpr quint32 IntegerOnlyBit = 0x02;
constexpr quint32 SuppressZerosBit = 0x01;

template<std::size_t N>
quint32 codeAt(const std::array<quint32, N> &codes, int index)
{
    return index >= 0 && index < int(N) ? codes[index] : 0;
}

template<std::size_t N>
int indexOfCode(const std::array<quint32, N> &codes, quint32 code)
{
    return int(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

// Reads the image and notes every value its control cannot show.
class Reader
{
public:
    explicit Reader(const MemoryImage &image)
        : m_image(image)
    {
    }

    quint32 byte(int address) const { return m_image.value(address); }

    // The texts are joined, not the byte values: that is the established
    // reading, and with it a one-digit box shifts the digits of the word.
    // Texts longer than two digits leave the low 16 bits of what they read.
    quint32 word(int address) const
    {
        return hexPrefixValue(m_image.text(address) + m_image.text(address + 1)) & 0xFFFF;
    }

    // Highest address first: the stored number is little-endian.
    QString joinedTexts(int address, int count) const
    {
        QString text;
        for (int k = count - 1; k >= 0; --k)
            text += m_image.text(address + k);
        return text;
    }

    int fitted(qint64 read, Range range, const QString &field)
    {
        const int shown = held(read, range);
        if (shown != read)
            outOfRange.append({field, read, shown});
        return shown;
    }

    QList<OutOfRangeValue> outOfRange;

private:
    const MemoryImage &m_image;
};

ColourRange decodeRange(Reader &reader, int index)
{
    const quint32 word = reader.word(FirstRange + 2 * index);
    RangeColour colour = RangeColour::Orange;
    if (word & FirstFlag)
        colour = RangeColour::Green;
    if (word & SecondFlag)
        colour = RangeColour::Red;
    // A stored limit of 0 is shown as 2 (0,2 km/h), the established reading.
    const quint32 threshold = word & ThresholdMask;
    const int shown = reader.fitted(threshold == 0 ? 2 : threshold, Threshold, QStringLiteral("Plage %1").arg(index + 1));
    return {shown, colour};
}

RelaySettings decodeRelay(Reader &reader, int activation, int deactivation, int number)
{
    const quint32 on = reader.word(activation);
    const quint32 off = reader.word(deactivation);
    RelaySettings relay{bool(on & SecondFlag), bool(on & FirstFlag), 0, 0};
    relay.activation =
        reader.fitted(on & ThresholdMask, Threshold, QStringLiteral("Seuil d'activation du relais %1").arg(number));
    relay.deactivation =
        reader.fitted(off & ThresholdMask, Threshold, QStringLiteral("Seuil de désactivation du relais %1").arg(number));
    return relay;
}

std::optional<int> decodeLuminosity(quint32 byte)
{
    if (byte & 0x01)
        return 0;
    std::optional<int> choice;
    for (int i = 1; i < int(LuminosityCodes.size()); ++i) {
        if (byte & LuminosityCodes[i])
            choice = i;
    }
    return choice;
}

std::optional<int> decodeAveraging(quint32 byte)
{
    for (int exponent = 0; exponent <= 4; ++exponent) {
        if (byte == 1u << exponent)
            return exponent;
    }
    return std::nullopt;
}

void decodeOptions(quint32 byte, JEU_PARAMETRES &parameters)
{
    const int digits = indexOfCode(DigitCodes, byte & DigitMask);
    parameters.digits = digits == 0 ? std::nullopt : std::optional<int>(digits);
    parameters.displayMode = indexOfCode(DisplayModeCodes, byte & DisplayModeMask);
    parameters.resetMode = indexOfCode(ResetCodes, byte & ResetMask);
    parameters.integerOnly = byte & IntegerOnlyBit;
    parameters.suppressZeros = byte & SuppressZerosBit;
}

QString paddedHex(quint32 value, int digits)
{
    return (QString(digits, QLatin1Char('0')) + hexText(value)).right(digits);
}

void writeByte(MemoryImage &image, int address, quint32 value)
{
    image.setText(address, hexText(value));
}

// Big-endian: the first two digits go to the lower address.
void writeWord(MemoryImage &image, int address, quint32 word)
{
    const QString digits = paddedHex(word, 4);
    image.setText(address, digits.left(2));
    image.setText(address + 1, digits.mid(2));
}

quint32 flaggedThreshold(int threshold, bool first, bool second)
{
    return quint32(held(threshold, Threshold)) | (first ? FirstFlag : 0) | (second ? SecondFlag : 0);
}

void writeRelay(MemoryImage &image, const RelaySettings &relay, int activation, int deactivation)
{
    writeWord(image, activation, flaggedThreshold(relay.activation, relay.normallyClosed, relay.inUse));
    writeWord(image, deactivation, flaggedThreshold(relay.deactivation, false, false));
}

// Little-endian: the last two digits go to the lowest address.
QString writeCoefficient(MemoryImage &image, quint32 coefficient)
{
    const QString digits = paddedHex(coefficient, 8);
    for (int k = 0; k < 4; ++k)
        image.setText(CoefficientAddress + k, digits.mid(6 - 2 * k, 2));
    return digits;
}

quint32 optionsByte(const JEU_PARAMETRES &parameters)
{
    return codeAt(DigitCodes, parameters.digits.value_or(0)) | codeAt(DisplayModeCodes, parameters.displayMode)
        | codeAt(ResetCodes, parameters.resetMode) | (parameters.integerOnly ? IntegerOnlyBit : 0)
        | (parameters.suppressZeros ? SuppressZerosBit : 0);
}

} // namespace

bool TEST_VIERGE(const MemoryImage &image)
{
    return image.value(MarkerAddress) != Marker[0] && image.value(MarkerAddress + 1) != Marker[1];
}

DecodedParameters DECODE_PARAMETRES(const MemoryImage &image)
{
    Reader reader(image);
    DecodedParameters decoded;
    JEU_PARAMETRES &p = decoded.parameters;
    for (int i = 0; i < int(p.ranges.size()); ++i) {
        p.ranges[i] = decodeRange(reader, i);
        decoded.zeroLimits[i] = (reader.word(FirstRange + 2 * i) & ThresholdMask) == 0;
    }
    p.relay2 = decodeRelay(reader, Relay2Activation, Relay2Deactivation, 2);
    p.zeroPulseSeconds = reader.fitted(reader.byte(ZeroPulseAddress), ZeroPulse, QStringLiteral("Durée sans impulsion"));
    p.luminosity = decodeLuminosity(reader.byte(LuminosityAddress));
    p.averaging = decodeAveraging(reader.byte(AveragingAddress));
    p.refresh = reader.fitted(reader.byte(RefreshAddress), Refresh, QStringLiteral("Rafraîchissement"));

    decoded.coefficientHex = reader.joinedTexts(CoefficientAddress, 4);
    p.coefficient = hexPrefixValue(decoded.coefficientHex);
    decoded.coefficientDecimal = coefficientDecimalText(p.coefficient);

    p.pulseCount = reader.fitted(reader.byte(PulseCountAddress), PulseCount, QStringLiteral("Nombre d'impulsions"));
    p.relay1 = decodeRelay(reader, Relay1Activation, Relay1Deactivation, 1);
    decodeOptions(reader.byte(OptionsAddress), p);
    p.measuringPeriod =
        reader.fitted(qint64(reader.byte(PeriodAddress)) / 2 + 1, Period, QStringLiteral("Fréquence de Commutation"));
    p.switchingThreshold =
        reader.fitted(reader.byte(SwitchingAddress), Switching, QStringLiteral("Commutation JOUR/NUIT"));
    decoded.outOfRange = reader.outOfRange;
    return decoded;
}

QString CODE_PARAMETRES(const JEU_PARAMETRES &p, MemoryImage &image)
{
    for (int i = 0; i < int(p.ranges.size()); ++i) {
        const ColourRange &range = p.ranges[i];
        writeWord(image, FirstRange + 2 * i,
                  flaggedThreshold(range.threshold, range.colour == RangeColour::Green, range.colour == RangeColour::Red));
    }
    writeRelay(image, p.relay2, Relay2Activation, Relay2Deactivation);
    writeByte(image, ZeroPulseAddress, held(p.zeroPulseSeconds, ZeroPulse));
    for (int k = 0; k < int(Marker.size()); ++k)
        writeByte(image, MarkerAddress + k, Marker[k]);
    if (p.luminosity && *p.luminosity >= 0 && *p.luminosity < int(LuminosityCodes.size()))
        image.setText(LuminosityAddress, paddedHex(LuminosityCodes[*p.luminosity], 2));
    image.setText(ReservedAddress, QStringLiteral("00"));
    image.setText(ReservedAddress + 1, QStringLiteral("00"));
    if (p.averaging)
        image.setText(AveragingAddress, paddedHex(1u << std::clamp(*p.averaging, 0, 4), 2));
    writeByte(image, RefreshAddress, held(p.refresh, Refresh));
    const QString coefficientHex = writeCoefficient(image, p.coefficient);
    writeByte(image, PulseCountAddress, held(p.pulseCount, PulseCount));
    writeRelay(image, p.relay1, Relay1Activation, Relay1Deactivation);
    writeByte(image, OptionsAddress, optionsByte(p));
    writeByte(image, PeriodAddress, 2 * held(p.measuringPeriod, Period) - 1);
    writeByte(image, SwitchingAddress, held(p.switchingThreshold, Switching));
    return coefficientHex;
}

QString coefficientDecimalText(quint32 coefficient)
{
    return QString::number(qint32(coefficient));
}

std::optional<quint32> coefficientFromText(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative || digits.startsWith(QLatin1Char('+')))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    qint64 magnitude = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > qint64(0xFFFFFFFF))
            return std::nullopt;
    }
    if (negative && magnitude > qint64(1) << 31)
        return std::nullopt;
    return quint32(negative ? -magnitude : magnitude); // two's complement for negatives
}

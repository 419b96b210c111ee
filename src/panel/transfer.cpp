#include "panel/transfer.h"

#include "port/serial_port.h"
#include "panel/exchange.h"
#include "panel/memory_image.h"

namespace {
const QByteArray shortPrefix = QByteArrayLiteral("31");
const QByteArray longPrefix = QByteArrayLiteral("_31");

// The four set-up frames draw 5-character acknowledgements; each fetched byte
// comes in a 6-character answer, its two digits at offsets 3 and 4.
constexpr int SetUpAnswer = 20;
constexpr int ByteAnswer = 6;
// Every frame of a 16-byte page (SSS, ZA0, address, data, WWW) is acknowledged.
constexpr int PageAnswer = 20 * 5;

QByteArray addressCommand(int address)
{
    return QByteArrayLiteral("Y") + QByteArray::number(address, 16).toUpper().rightJustified(2, '0').right(2);
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Answers are taken by their size and the places of the bytes; panels of
// other addresses or firmware acknowledge with other characters, which are not
// compared. A place that holds no two hexadecimal digits is no byte: the cells
// never receive one.
bool bytesInPlace(const QByteArray &answer, int bytes)
{
    if (answer.size() < SetUpAnswer + ByteAnswer * bytes)
        return false;
    for (int i = 0; i < bytes; ++i) {
        const int at = SetUpAnswer + ByteAnswer * i + 3;
        if (!isHexDigit(answer[at]) || !isHexDigit(answer[at + 1]))
            return false;
    }
    return true;
}

void markAllFailed(MemoryImage &image)
{
    for (int k = 0; k < MemoryImage::Size; ++k)
        image.set(k, QStringLiteral("Er"), CellState::Red);
}

// Opens the panel's transaction and leaves only the answers to come.
void openTransaction(Exchange &exchange, const QByteArray &prefix, int frames)
{
    exchange.ENVOI_TRAME(prefix, QByteArrayLiteral("SSS"), frames);
    exchange.PAUSE(0.5);
    exchange.VIDE_RECEPTION();
    exchange.dtrOff();
}
} // namespace

const TransferProfile EditorTransfer{.readPrefix = shortPrefix,
                                     .readOpeningFrames = 1,
                                     .clearBeforeRead = true,
                                     .readFirst = 64,
                                     .readCount = 64,
                                     .markEachRequest = true,
                                     .requestPause = 0.02,
                                     .closeReadWithRRR = true,
                                     .writable = true,
                                     .whitenBeforeWrite = true,
                                     .writeFirst = 64,
                                     .writePages = 4,
                                     .markEachByte = true,
                                     .bytePause = 0.000002};
const TransferProfile SwitchesTransfer{.readPrefix = longPrefix,
                                       .readOpeningFrames = 5,
                                       .clearBeforeRead = false,
                                       .readFirst = 0,
                                       .readCount = 128,
                                       .markEachRequest = false,
                                       .requestPause = 0,
                                       .closeReadWithRRR = true,
                                       .writable = false,
                                       .whitenBeforeWrite = false,
                                       .writeFirst = 0,
                                       .writePages = 0,
                                       .markEachByte = false,
                                       .bytePause = 0};
const TransferProfile LuminosityTransfer{.readPrefix = longPrefix,
                                         .readOpeningFrames = 5,
                                         .clearBeforeRead = false,
                                         .readFirst = 0,
                                         .readCount = 128,
                                         .markEachRequest = false,
                                         .requestPause = 0,
                                         .closeReadWithRRR = false,
                                         .writable = true,
                                         .whitenBeforeWrite = false,
                                         .writeFirst = 0,
                                         .writePages = 8,
                                         .markEachByte = false,
                                         .bytePause = 0};

bool LIT_24C01(Exchange &exchange, MemoryImage &image, const TransferProfile &p)
{
    Exchange::Scope busy(exchange);
    if (p.clearBeforeRead) {
        for (int k = 0; k < MemoryImage::Size; ++k)
            image.set(k, QStringLiteral(" "), CellState::White);
    }
    openTransaction(exchange, p.readPrefix, p.readOpeningFrames);
    for (const QByteArray &command :
         {QByteArrayLiteral("SSS"), QByteArrayLiteral("ZA0"), addressCommand(p.readFirst), QByteArrayLiteral("ZA1")})
        exchange.ENVOI_TRAME(p.readPrefix, command);
    for (int a = p.readFirst; a < p.readFirst + p.readCount; ++a) {
        exchange.ENVOI_TRAME(p.readPrefix, QByteArrayLiteral("X1X"));
        if (p.markEachRequest) {
            image.set(a, QStringLiteral("?"), CellState::White);
            exchange.PAUSE(p.requestPause);
        }
    }
    exchange.ENVOI_TRAME(p.readPrefix, QByteArrayLiteral("X6X"));
    if (p.closeReadWithRRR)
        exchange.ENVOI_TRAME(p.readPrefix, QByteArrayLiteral("RRR"));

    // The whole answer, last byte included.
    const bool timedOut =
        exchange.ATTENTE_REPONSE({AnswerCondition::AtLeast, SetUpAnswer + ByteAnswer * p.readCount});
    const QByteArray answer = exchange.takeAnswer();
    if (timedOut || !bytesInPlace(answer, p.readCount)) {
        markAllFailed(image);
        return true;
    }
    for (int i = 0; i < p.readCount; ++i) {
        const int at = SetUpAnswer + ByteAnswer * i + 3;
        image.set(p.readFirst + i, QString::fromLatin1(answer.mid(at, 2)), CellState::Green);
    }
    exchange.record().learn(exchange.session(), image, p.readFirst, p.readCount);
    return false;
}

int firstInvalidCell(const MemoryImage &image, int first, int count)
{
    for (int a = first; a < first + count; ++a) {
        if (!holdsValidByte(image.text(a)))
            return a;
    }
    return -1;
}

WriteOutcome ECRIT_24C01(Exchange &exchange, MemoryImage &image, const TransferProfile &p)
{
    const int written = 16 * p.writePages;
    const int invalid = firstInvalidCell(image, p.writeFirst, written);
    if (invalid >= 0)
        return {.invalidAddress = invalid};

    Exchange::Scope busy(exchange);
    if (p.whitenBeforeWrite) {
        for (int k = 0; k < MemoryImage::Size; ++k)
            image.setState(k, CellState::White);
    }
    openTransaction(exchange, longPrefix, 5);
    for (int g = 0; g < p.writePages; ++g) {
        const int page = p.writeFirst + 16 * g;
        for (const QByteArray &command : {QByteArrayLiteral("SSS"), QByteArrayLiteral("ZA0"), addressCommand(page)})
            exchange.ENVOI_TRAME(longPrefix, command);
        for (int j = page; j < page + 16; ++j) {
            const QByteArray data = (QByteArrayLiteral("0") + image.text(j).toLatin1()).right(2);
            exchange.ENVOI_TRAME(longPrefix, QByteArrayLiteral("Y") + data);
            if (p.markEachByte) {
                image.setState(j, CellState::Green);
                exchange.PAUSE(p.bytePause);
            }
        }
        exchange.ENVOI_TRAME(longPrefix, QByteArrayLiteral("WWW"));
    }
    const bool timedOut = exchange.ATTENTE_REPONSE({AnswerCondition::Exactly, PageAnswer * p.writePages});
    exchange.takeAnswer();
    if (timedOut) {
        // Some pages may have reached the panel: what it holds is unknown.
        exchange.record().forget(p.writeFirst, written);
        markAllFailed(image);
        return {.timedOut = true};
    }
    exchange.record().learn(exchange.session(), image, p.writeFirst, written, true);
    for (int k = 0; k < MemoryImage::Size; ++k)
        image.setState(k, CellState::Green);
    return {};
}

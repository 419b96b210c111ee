#include "panel_model.h"

#include "frame_scanner.h"

#include <optional>

namespace sim {

namespace {

constexpr int SwitchesSw3Address = 74;
constexpr int SwitchesSw2Address = 75;
constexpr int VariantAddress = 76;

std::optional<int> hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

std::optional<std::uint8_t> hexByte(char high, char low)
{
    const auto h = hexDigit(high);
    const auto l = hexDigit(low);
    if (!h || !l)
        return std::nullopt;
    return std::uint8_t(*h * 16 + *l);
}

std::string hexPayload(std::uint8_t byte)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

} // namespace

std::string answerFrame(std::string_view payload, std::string_view address)
{
    std::string frame(address);
    frame.push_back(STX);
    frame += payload;
    frame.push_back(ETX);
    return frame;
}

PanelModel::PanelModel(const PanelState &state)
    : m_state(state)
{
}

std::string PanelModel::handle(std::string_view command, std::string *note)
{
    const std::string ack(1, ACK);
    if (command == "X1X") {
        const std::uint8_t byte = std::uint8_t(readByte(m_address) ^ (m_address == m_spoiledRead ? 1 : 0));
        m_address = (m_address + 1) % MemorySize;
        return hexPayload(byte);
    }
    if (command == "AAA")
        return hexPayload(std::uint8_t(m_state.maximum >> 8));
    if (command == "BBB")
        return hexPayload(std::uint8_t(m_state.maximum & 0xFF));
    if (command == "CCC")
        return hexPayload(std::uint8_t(m_state.speed >> 8));
    if (command == "DDD")
        return hexPayload(std::uint8_t(m_state.speed & 0xFF));
    if (command.size() == 3 && command[0] == 'Y')
        return handleValue(command, note);

    if (command == "SSS" || command == "ZA0" || command == "ZA1" || command == "RRR") {
        closePage();
        m_addressExpected = command == "ZA0";
        m_reading = command == "ZA1";
        if (command == "RRR")
            m_switchesShown = false;
    } else if (command == "PPP") {
        m_switchesShown = true;
    } else if (command == "WWW") {
        if (!m_pageOpen) {
            *note = "« WWW » sans page ouverte";
        } else if (m_pageSpoiled) {
            *note = "page à " + std::to_string(m_pageAddress) + " non écrite";
        } else {
            for (std::size_t i = 0; i < m_page.size(); ++i)
                m_state.memory[(m_pageAddress + i) % MemorySize] = m_page[i];
        }
        closePage();
    } else if (command != "X6X" && command != "OOO" && command != "LLL") {
        *note = "commande inconnue « " + printable(command) + " »";
    }
    return ack;
}

// "Yhh": the address after "ZA0", a data byte of the open page otherwise.
std::string PanelModel::handleValue(std::string_view command, std::string *note)
{
    const std::string ack(1, ACK);
    const auto value = hexByte(command[1], command[2]);
    const std::string shown = "« " + printable(command) + " »";
    if (m_addressExpected) {
        m_addressExpected = false;
        m_pageOpen = !m_reading;
        m_page.clear();
        m_pageSpoiled = !value;
        if (value) {
            m_address = *value % MemorySize;
            m_pageAddress = m_address;
        } else {
            *note = "adresse non hexadécimale " + shown;
        }
    } else if (m_reading || !m_pageOpen) {
        *note = "donnée hors page " + shown + " ignorée";
    } else if (!value) {
        *note = "donnée non hexadécimale " + shown + " : page ignorée";
        m_pageSpoiled = true;
    } else if (m_pageSpoiled) {
        // already lost; its bytes are not kept
    } else if (m_page.size() == MemorySize) {
        *note = "page de plus de 128 octets ignorée";
        m_pageSpoiled = true;
    } else {
        m_page.push_back(*value);
    }
    return ack;
}

std::uint8_t PanelModel::readByte(int address) const
{
    if (m_switchesShown) {
        if (address == SwitchesSw3Address)
            return m_state.switchesSw3;
        if (address == SwitchesSw2Address)
            return m_state.switchesSw2;
        if (address == VariantAddress)
            return m_state.variant;
    }
    return m_state.memory[address];
}

void PanelModel::closePage()
{
    m_pageOpen = false;
    m_pageSpoiled = false;
    m_page.clear();
}

} // namespace sim

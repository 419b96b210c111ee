#pragma once

#include "panel_state.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The card's side of the protocol: the command of one received frame in, the
// payload of its answer out. Every command is answered: "X1X" and the four
// speed requests with a byte as two hexadecimal digits, everything else with
// ACK. Not thread-safe; the panel serialises calls.
class PanelModel
{
public:
    explicit PanelModel(const PanelState &state);

    // Anything odd about the command (unknown, out of place, not hexadecimal)
    // is described in *note, which stays empty otherwise.
    std::string handle(std::string_view command, std::string *note);

    // Every read of `address` answers its byte with the lowest bit flipped, as
    // a line that spoils one character would; -1: none.
    void spoilReadsOf(int address) { m_spoiledRead = address; }

    PanelState &state() { return m_state; }
    const PanelState &state() const { return m_state; }

private:
    std::string handleValue(std::string_view command, std::string *note);
    std::uint8_t readByte(int address) const;
    void closePage();

    PanelState m_state;
    int m_address = 0;             // the card's address counter
    int m_spoiledRead = -1;
    bool m_addressExpected = false; // after "ZA0"
    bool m_reading = false;         // after "ZA1"
    bool m_switchesShown = false;   // from "PPP" to "RRR"
    // The write page being collected: nothing reaches the memory before "WWW".
    bool m_pageOpen = false;
    bool m_pageSpoiled = false;
    int m_pageAddress = 0;
    std::vector<std::uint8_t> m_page;
};

// The answer frame around a payload: the panel's address ("01" unless it was
// given another), STX, payload, ETX.
std::string answerFrame(std::string_view payload, std::string_view address = "01");

} // namespace sim

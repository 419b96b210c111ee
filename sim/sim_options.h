#pragma once

#include "fault.h"
#include "panel_state.h"

#include <string>
#include <vector>

namespace sim {

// What the kvl-panel-sim command line asks for.
struct SimOptions
{
    PanelState state = PanelState::programmed();
    std::string link;
    Fault fault = Fault::None;
    int hangUpAfterFrames = 1;
    std::string answerAddress = "01";
    bool lineRate = false;
    bool log = false;
    bool help = false;
};

// Fills options from the arguments (without the program name); returns an
// empty text when they are all understood, else what is wrong.
std::string parseOptions(const std::vector<std::string> &arguments, SimOptions &options);

std::string usage();

} // namespace sim

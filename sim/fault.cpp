#include "fault.h"

namespace sim {

std::string shapeAnswer(Fault fault, std::string answer)
{
    switch (fault) {
    case Fault::Silent:
        answer.clear();
        break;
    case Fault::Truncated:
        if (!answer.empty())
            answer.pop_back();
        break;
    case Fault::Extra:
        answer.push_back('!');
        break;
    case Fault::Garbled:
        for (char &c : answer)
            c = char(c ^ 0x40);
        break;
    case Fault::None:
    case Fault::Late:
    case Fault::HangUp:
        break;
    }
    return answer;
}

} // namespace sim

#include "sim_options.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

namespace sim {

namespace {

// A whole number within [0, limit]: decimal, or hexadecimal after "0x" (or
// always, with base 16).
std::optional<unsigned> parseNumber(std::string text, unsigned limit, int base = 10)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.erase(0, 2);
        base = 16;
    }
    unsigned value = 0;
    const char *end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || at != end || value > limit)
        return std::nullopt;
    return value;
}

std::string loadMemory(const std::string &name, Memory &memory)
{
    if (name == "blank" || name == "programmed") {
        memory = (name == "blank" ? PanelState::blank() : PanelState::programmed()).memory;
        return {};
    }
    std::ifstream file(name, std::ios::binary);
    if (!file)
        return "impossible de lire le fichier mémoire " + name;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.size() != memory.size())
        return "le fichier mémoire " + name + " fait " + std::to_string(bytes.size())
               + " octets au lieu de 128";
    std::copy(bytes.begin(), bytes.end(), memory.begin());
    return {};
}

std::string parseFault(const std::string &text, SimOptions &options)
{
    static const std::pair<const char *, Fault> names[] = {
        {"none", Fault::None},           {"silent", Fault::Silent}, {"late", Fault::Late},
        {"truncated", Fault::Truncated}, {"extra", Fault::Extra},   {"garbled", Fault::Garbled},
        {"hangup", Fault::HangUp},
    };
    const std::string name = text.substr(0, text.find(':'));
    for (const auto &[known, fault] : names) {
        if (name != known)
            continue;
        options.fault = fault;
        if (name.size() == text.size())
            return {};
        const auto frames = parseNumber(text.substr(name.size() + 1), 1'000'000);
        if (fault != Fault::HangUp || !frames || *frames < 1)
            return "défaut invalide : " + text;
        options.hangUpAfterFrames = int(*frames);
        return {};
    }
    return "défaut inconnu : " + text;
}

} // namespace

std::string parseOptions(const std::vector<std::string> &arguments, SimOptions &options)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--line-rate") {
            options.lineRate = true;
            continue;
        }
        if (option == "--log") {
            options.log = true;
            continue;
        }
        if (i + 1 == arguments.size())
            return "option inconnue ou sans valeur : " + option;
        const std::string &value = arguments[++i];
        const std::string invalid = "valeur invalide pour " + option + " : " + value;
        PanelState &state = options.state;
        if (option == "--link") {
            options.link = value;
        } else if (option == "--memory") {
            if (std::string error = loadMemory(value, state.memory); !error.empty())
                return error;
        } else if (option == "--maximum" || option == "--speed") {
            const auto number = parseNumber(value, 0xFFFF);
            if (!number)
                return invalid;
            (option == "--maximum" ? state.maximum : state.speed) = std::uint16_t(*number);
        } else if (option == "--sw3" || option == "--sw2") {
            const auto number = parseNumber(value, 0xFF, 16);
            if (!number)
                return invalid;
            (option == "--sw3" ? state.switchesSw3 : state.switchesSw2) = std::uint8_t(*number);
        } else if (option == "--variant") {
            const auto number = value == "T" || value == "M" ? std::optional<unsigned>(value[0])
                                                             : parseNumber(value, 0xFF, 16);
            if (!number)
                return invalid;
            state.variant = std::uint8_t(*number);
        } else if (option == "--address") {
            if (value.size() != 2)
                return invalid;
            options.answerAddress = value;
        } else if (option == "--fault") {
            if (std::string error = parseFault(value, options); !error.empty())
                return error;
        } else {
            return "option inconnue : " + option;
        }
    }
    return {};
}

std::string usage()
{
    return "Usage : kvl-panel-sim [options]\n"
           "Panneau virtuel sur un pseudo-terminal ; la première ligne affichée est son chemin.\n"
           "  --link CHEMIN        crée un lien symbolique vers le pseudo-terminal\n"
           "  --memory blank|programmed|FICHIER\n"
           "                       mémoire vierge (FF), programmée (par défaut) ou un fichier\n"
           "                       d'exactement 128 octets\n"
           "  --maximum N          maximum enregistré (dixièmes de km/h ou mot brut, 0 à 65535)\n"
           "  --speed N            vitesse instantanée (idem)\n"
           "  --sw3 HEX --sw2 HEX  positions des microswitches SW3 et SW2 (00 à FF)\n"
           "  --variant T|M|HEX    variante de carte (T trois couleurs, M une couleur)\n"
           "  --fault none|silent|late|truncated|extra|garbled|hangup[:N]\n"
           "                       défaut simulé ; hangup coupe la ligne à la N-ième trame (1)\n"
           "  --address XY         deux caractères en tête de chaque réponse (01)\n"
           "  --line-rate          cadence réelle de 4800 bauds dans les deux sens\n"
           "  --log                une ligne par trame reçue\n"
           "  --help               cette aide\n"
           "S'arrête sur SIGINT ou SIGTERM et retire alors son lien.\n";
}

} // namespace sim

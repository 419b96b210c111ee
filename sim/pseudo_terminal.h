#pragma once

#include <string>

namespace sim {

// A pseudo-terminal pair seen from the panel: the master it talks on, and a
// slave descriptor of its own that it keeps open, so the far end can close
// and reopen the device without the master ever failing. Holding the slave
// would also keep old answers queued across the far end's close and reopen,
// which a serial port does not: a watch on the device tells when the far end
// opens or closes it, so that the queue is emptied then and nothing is sent
// while nobody has the device open.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens the pair; the master non-blocking, the slave raw at 4800 baud.
    bool open(std::string *error);
    // Closes both ends at once: the far end sees a hang-up.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int master() const { return m_master; }
    const std::string &path() const { return m_path; }
    // The line as the far end has set it up, "4800,N,8,1" (empty if unreadable).
    std::string lineSettings() const;

    // Readable when the far end has opened or closed the device.
    int watch() const { return m_watch; }
    // Takes those events; on the far end's first open and last close, drops
    // what the panel sent that nobody has read.
    void followFarEnd();
    // False while nobody but the panel has the device open (always true
    // without the watch).
    bool farEndOpen() const { return m_watch < 0 || m_farEndOpen > 0; }

private:
    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1;
    int m_farEndOpen = 0;
    std::string m_path;
};

// Puts a symbolic link at linkPath to target, replacing a symbolic link
// already there but never any other kind of file.
bool makeLink(const std::string &target, const std::string &linkPath, std::string *error);
// Removes linkPath if it is still a symbolic link to target.
void removeLink(const std::string &target, const std::string &linkPath);

} // namespace sim

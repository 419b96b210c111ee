#include "pseudo_terminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

void setError(std::string *error, const std::string &what)
{
    if (error)
        *error = what + " : " + std::strerror(errno);
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(std::string *error)
{
    close();
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        setError(error, "openpty");
        m_master = m_slave = -1;
        return false;
    }
    char name[256];
    termios tio{};
    const bool ok = ::ttyname_r(m_slave, name, sizeof name) == 0 && ::tcgetattr(m_slave, &tio) == 0;
    if (ok) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B4800);
        ::cfsetospeed(&tio, B4800);
    }
    if (!ok || ::tcsetattr(m_slave, TCSANOW, &tio) != 0
        || ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0
        || ::fcntl(m_master, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(m_slave, F_SETFD, FD_CLOEXEC) != 0) {
        setError(error, "préparation du pseudo-terminal");
        close();
        return false;
    }
    m_path = name;
    // Without the watch only the emptying on close and reopen is lost.
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && ::inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_watch);
        m_watch = -1;
    }
    m_farEndOpen = 0;
    return true;
}

void PseudoTerminal::followFarEnd()
{
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while (m_watch >= 0 && (n = ::read(m_watch, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            bool turned = false;
            if (event->mask & IN_OPEN)
                turned = m_farEndOpen++ == 0;
            else if ((event->mask & IN_CLOSE) && m_farEndOpen > 0)
                turned = --m_farEndOpen == 0;
            if (turned)
                ::tcflush(m_slave, TCIFLUSH);
        }
    }
}

void PseudoTerminal::close()
{
    if (m_watch >= 0)
        ::close(m_watch);
    m_watch = -1;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

std::string PseudoTerminal::lineSettings() const
{
    termios tio{};
    if (m_master < 0 || ::tcgetattr(m_master, &tio) != 0)
        return {};
    static const std::pair<speed_t, const char *> speeds[] = {
        {B1200, "1200"}, {B2400, "2400"}, {B4800, "4800"}, {B9600, "9600"}, {B19200, "19200"}, {B38400, "38400"}};
    std::string line = "?";
    for (const auto &[code, text] : speeds) {
        if (::cfgetospeed(&tio) == code)
            line = text;
    }
    line += tio.c_cflag & PARENB ? (tio.c_cflag & PARODD ? ",O," : ",E,") : ",N,";
    const tcflag_t size = tio.c_cflag & CSIZE;
    line += size == CS5 ? "5" : size == CS6 ? "6" : size == CS7 ? "7" : "8";
    return line + (tio.c_cflag & CSTOPB ? ",2" : ",1");
}

bool makeLink(const std::string &target, const std::string &linkPath, std::string *error)
{
    struct stat st{};
    if (::lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            if (error)
                *error = linkPath + " existe et n'est pas un lien symbolique";
            return false;
        }
        if (::unlink(linkPath.c_str()) != 0) {
            setError(error, "suppression de " + linkPath);
            return false;
        }
    }
    if (::symlink(target.c_str(), linkPath.c_str()) != 0) {
        setError(error, "lien " + linkPath);
        return false;
    }
    return true;
}

void removeLink(const std::string &target, const std::string &linkPath)
{
    char buffer[4096];
    const ssize_t n = ::readlink(linkPath.c_str(), buffer, sizeof buffer);
    if (n >= 0 && std::string(buffer, std::size_t(n)) == target)
        ::unlink(linkPath.c_str());
}

} // namespace sim

#include "Simulator.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace regsim {

namespace {

int g_stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const int saved = errno;
    const char b = 's';
    [[maybe_unused]] ssize_t w = write(g_stopPipe[1], &b, 1);
    errno = saved;
}

bool setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool makeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

std::string sysError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

// Junk that holds no control byte of the protocol.
const std::string kGarbage = "\xFF\x55zq";
// Text idle this long (ms) is handed over as a line.
constexpr int kTextIdleMs = 100;

} // namespace

void installStopSignals()
{
    if (g_stopPipe[0] < 0) {
        if (pipe(g_stopPipe) != 0)
            return;
        fcntl(g_stopPipe[0], F_SETFD, FD_CLOEXEC);
        fcntl(g_stopPipe[1], F_SETFD, FD_CLOEXEC);
        setNonBlocking(g_stopPipe[1]);
    }
    struct sigaction sa{};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

Simulator::Simulator(Responder &responder, Options options)
    : responder_(responder), options_(std::move(options))
{
}

Simulator::~Simulator()
{
    for (const Client &c : clients_)
        close(c.fd);
    if (listen_ >= 0) {
        close(listen_);
        unlink(options_.controlPath.c_str());
    }
    closeLine();
    removeLink();
    if (log_)
        std::fclose(log_);
}

bool Simulator::start(std::string &error)
{
    if (options_.linkPath.empty()) {
        error = "--link PATH is required";
        return false;
    }
    for (const std::string &f : options_.faults)
        if (!faults_.add(f, error))
            return false;
    if (!options_.logPath.empty()) {
        log_ = std::fopen(options_.logPath.c_str(), "w");
        if (!log_) {
            error = sysError("cannot write the log " + options_.logPath);
            return false;
        }
    }
    if (!options_.statePath.empty() && access(options_.statePath.c_str(), F_OK) == 0) {
        if (!responder_.load(options_.statePath, error))
            return false;
    }
    if (!options_.controlPath.empty()) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (options_.controlPath.size() >= sizeof addr.sun_path) {
            error = "control socket path too long: " + options_.controlPath;
            return false;
        }
        std::memcpy(addr.sun_path, options_.controlPath.c_str(), options_.controlPath.size() + 1);
        struct stat st{};
        if (lstat(options_.controlPath.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
            unlink(options_.controlPath.c_str()); // left over from an earlier run
        listen_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0
            || listen(listen_, 8) != 0) {
            error = sysError("cannot listen on " + options_.controlPath);
            if (listen_ >= 0)
                close(listen_);
            listen_ = -1;
            return false;
        }
    }
    // The link appears last: once it exists, everything else is ready.
    return openLine(error) && linkSlave(error);
}

bool Simulator::openLine(std::string &error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = sysError("cannot create a pseudo-terminal");
        closeLine();
        return false;
    }
    const char *name = ptsname(master_);
    if (!name) {
        error = sysError("ptsname");
        closeLine();
        return false;
    }
    slaveName_ = name;
    slave_ = open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    // Raw on both sides: no signals from ETX, no line discipline holding or eating bytes.
    if (slave_ < 0 || !makeRaw(slave_) || !makeRaw(master_) || !setNonBlocking(master_)) {
        error = sysError("cannot set up " + slaveName_);
        closeLine();
        return false;
    }
    return true;
}

void Simulator::closeLine()
{
    if (master_ >= 0)
        close(master_);
    if (slave_ >= 0)
        close(slave_);
    master_ = slave_ = -1;
}

bool Simulator::linkSlave(std::string &error)
{
    const std::string &path = options_.linkPath;
    struct stat st{};
    if (lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = path + " exists and is not a symbolic link; not replacing it";
            return false;
        }
        unlink(path.c_str()); // a stale link of an earlier run, or ours before a reopen
    }
    if (symlink(slaveName_.c_str(), path.c_str()) != 0) {
        error = sysError("cannot link " + path);
        return false;
    }
    linked_ = true;
    return true;
}

void Simulator::removeLink()
{
    if (!linked_)
        return;
    char target[256];
    const ssize_t n = readlink(options_.linkPath.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, size_t(n)) == slaveName_)
        unlink(options_.linkPath.c_str());
    linked_ = false;
}

void Simulator::log(char tag, const std::string &bytes, bool withBytes)
{
    if (!log_)
        return;
    if (withBytes)
        std::fprintf(log_, "%c \"%s\"\n", tag, escapeBytes(bytes).c_str());
    else
        std::fprintf(log_, "%c\n", tag);
    std::fflush(log_);
}

void Simulator::writeLine(const std::string &bytes)
{
    if (bytes.empty() || master_ < 0)
        return;
    log('S', bytes);
    std::size_t done = 0;
    int waits = 0;
    while (done < bytes.size()) {
        const ssize_t w = write(master_, bytes.data() + done, bytes.size() - done);
        if (w > 0) {
            done += size_t(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else if (w < 0 && errno == EAGAIN && waits++ < 10) {
            pollfd p{master_, POLLOUT, 0};
            poll(&p, 1, 100); // nobody reads the line: give up after about a second
        } else {
            return;
        }
    }
}

void Simulator::onLineBytes(const char *data, std::size_t n)
{
    std::vector<LineEvent> events;
    for (std::size_t i = 0; i < n; ++i) {
        reader_.feed(data[i], events);
        for (const LineEvent &e : events) {
            handle(e);
            if (stop_ || master_ < 0)
                return;
        }
        events.clear();
    }
}

void Simulator::handle(const LineEvent &event)
{
    switch (event.kind) {
    case LineEvent::Frame:
        log('F', event.bytes);
        answerFrame(event.bytes);
        break;
    case LineEvent::BadFrame:
        log('B', event.bytes);
        writeLine(std::string(1, kNak));
        break;
    case LineEvent::Overlong:
        log('O', event.bytes);
        break;
    case LineEvent::Text:
        log('L', event.bytes);
        writeLine(responder_.onTextLine(event.bytes));
        break;
    case LineEvent::Ack:
        log('A', {}, false);
        responder_.onAck();
        break;
    case LineEvent::Nak:
        log('N', {}, false);
        break;
    }
}

void Simulator::answerFrame(const std::string &payload)
{
    const std::optional<Fault> fault = faults_.next();
    if (fault) {
        switch (fault->kind) {
        case Fault::Nak:
            writeLine(std::string(1, kNak));
            return;
        case Fault::Silent:
            return;
        case Fault::Drop:
            closeLine();
            removeLink();
            stop_ = true;
            return;
        case Fault::Reopen: {
            closeLine();
            std::string error;
            if (!openLine(error) || !linkSlave(error)) {
                std::fprintf(stderr, "kalvo-regsim: reopen failed: %s\n", error.c_str());
                exitStatus_ = 1;
                stop_ = true;
            }
            return;
        }
        case Fault::Reply:
            writeLine(encodeFrame(fault->data));
            return;
        case Fault::Raw:
            writeLine(fault->data);
            return;
        default:
            break; // the rest change the responder's answer
        }
    }

    const Reply reply = responder_.onFrame(payload);
    std::string out;
    switch (reply.kind) {
    case Reply::Ack: out = std::string(1, kAck); break;
    case Reply::Nak: out = std::string(1, kNak); break;
    case Reply::Frame: out = encodeFrame(reply.payload); break;
    case Reply::Silence: break;
    }
    if (fault) {
        const bool isFrame = reply.kind == Reply::Frame;
        switch (fault->kind) {
        case Fault::BadSum:
            if (isFrame) {
                char &c1 = out[out.size() - 3];
                c1 = static_cast<char>((c1 & 0xF0) | ((c1 + 1) & 0x0F));
            }
            break;
        case Fault::Garbage:
            out = kGarbage + out;
            break;
        case Fault::SecondStx:
            out = std::string(1, kStx) + (isFrame ? reply.payload.substr(0, 2) : std::string("xx")) + out;
            break;
        case Fault::AckInstead:
            out = std::string(1, kAck);
            break;
        default:
            break;
        }
    }
    writeLine(out);
}

std::string Simulator::command(const std::string &lineIn)
{
    std::string line = lineIn;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    log('C', line);
    const auto sep = line.find(' ');
    const std::string verb = line.substr(0, sep);
    const std::string arg = sep == std::string::npos ? std::string() : line.substr(sep + 1);
    std::string error;
    if (verb == "ping") {
        return "ok";
    } else if (verb == "write") {
        std::string bytes;
        if (!parseHex(arg, bytes))
            return "error: write takes hex bytes";
        writeLine(bytes);
        return "ok";
    } else if (verb == "clear") {
        faults_.clear();
        return "ok";
    } else if (verb == "hangup") {
        closeLine();
        removeLink();
        stop_ = true;
        return "ok";
    } else if (verb == "save") {
        return saveState(error) ? "ok" : "error: " + error;
    } else if (faults_.add(line, error)) {
        return "ok";
    }
    return "error: " + error;
}

bool Simulator::saveState(std::string &error)
{
    if (options_.statePath.empty()) {
        error = "no --state file";
        return false;
    }
    return responder_.dump(options_.statePath, error);
}

void Simulator::acceptClient()
{
    for (;;) {
        const int fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        clients_.push_back({fd, {}});
    }
}

void Simulator::serveClient(std::size_t index)
{
    Client &c = clients_[index];
    char buf[512];
    bool closed = false;
    for (;;) {
        const ssize_t n = read(c.fd, buf, sizeof buf);
        if (n > 0) {
            c.pending.append(buf, size_t(n));
            if (c.pending.size() > 65536) {
                closed = true; // no line ends: not a well-behaved client
                break;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    std::size_t nl;
    while ((nl = c.pending.find('\n')) != std::string::npos) {
        const std::string line = c.pending.substr(0, nl);
        c.pending.erase(0, nl + 1);
        const std::string reply = command(line) + "\n";
        [[maybe_unused]] ssize_t w = send(c.fd, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    if (closed) {
        close(c.fd);
        clients_.erase(clients_.begin() + long(index));
    }
}

int Simulator::run()
{
    char buf[4096];
    while (!stop_) {
        std::vector<pollfd> fds;
        fds.push_back({g_stopPipe[0], POLLIN, 0});
        fds.push_back({master_, POLLIN, 0});
        fds.push_back({listen_, POLLIN, 0});
        for (const Client &c : clients_)
            fds.push_back({c.fd, POLLIN, 0});
        const int timeout = reader_.hasPendingText() ? kTextIdleMs : -1;
        const int r = poll(fds.data(), fds.size(), timeout);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            std::perror("kalvo-regsim: poll");
            exitStatus_ = 1;
            break;
        }
        if (r == 0) {
            std::vector<LineEvent> events;
            reader_.flushText(events);
            for (const LineEvent &e : events)
                handle(e);
            continue;
        }
        if (fds[0].revents)
            break; // a stop signal
        if (fds[1].revents & POLLIN) {
            const ssize_t n = read(master_, buf, sizeof buf);
            if (n > 0)
                onLineBytes(buf, size_t(n));
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            // Cannot happen while we hold the slave open; do not spin if it does.
            pollfd none{};
            poll(&none, 0, 50);
        }
        if (!stop_ && fds[2].revents & POLLIN)
            acceptClient();
        // Serve clients from the back so that erasing one keeps earlier indexes valid.
        for (std::size_t i = fds.size(); i-- > 3;) {
            if (fds[i].revents && i - 3 < clients_.size())
                serveClient(i - 3);
        }
    }
    if (!options_.statePath.empty()) {
        std::string error;
        if (!responder_.dump(options_.statePath, error)) {
            std::fprintf(stderr, "kalvo-regsim: cannot write the state: %s\n", error.c_str());
            if (exitStatus_ == 0)
                exitStatus_ = 1;
        }
    }
    return exitStatus_;
}

} // namespace regsim

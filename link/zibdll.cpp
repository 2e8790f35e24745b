// The serial link: port handling, framing and the exchanges. POSIX only.
// See ZibDll.h for the contract of every export.
#include "ZibDll.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr unsigned char kStx = 0x02;
constexpr unsigned char kEtx = 0x03;
constexpr unsigned char kAck = 0x06;
constexpr unsigned char kNak = 0x15;

constexpr int32_t kTimeoutShort = 8000;
constexpr int32_t kTimeoutModem = 20000;
constexpr int32_t kTimeoutLong = 60000;

constexpr int32_t kSendOk = 0, kSendNak = 1, kSendSilent = 2;
constexpr int32_t kGetAck = 0, kGetBadChecksum = -4, kGetTimeout = -5;

const char kTitle[] = "ZibDll";
const char kMsgPortBusy[] = "Port je zauzet!";
const char kMsgTestFailed[] = "Podesite vezu i pokusajte ponovo!";

// Library state: the one port and its transmit buffer.
int g_fd = -1;
unsigned char g_tx[ZIB_MAX_RAW];
ZibMessageHandler g_handler = nullptr;
void *g_handlerUser = nullptr;

void showMessage(const char *text)
{
    if (g_handler)
        g_handler(text, kTitle, g_handlerUser);
    else
        std::fprintf(stderr, "%s: %s\n", kTitle, text);
}

// ---- time ---------------------------------------------------------------------------------

int64_t nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double timeoutScale()
{
    const char *text = std::getenv("ZIB_TIMEOUT_SCALE");
    if (!text || !*text)
        return 1.0;
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (errno != 0 || end == text || (end && *end) || !std::isfinite(value) || value <= 0.0)
        return 1.0;
    return value;
}

// One time-out window: started at construction, limit in milliseconds (scaled).
// Expired when the elapsed time is strictly greater than the limit.
struct Deadline {
    int64_t start;
    int64_t limit; // nanoseconds

    explicit Deadline(int32_t ms) : start(nowNs())
    {
        const double ns = double(ms < 0 ? 0 : ms) * 1e6 * timeoutScale();
        limit = ns >= 4e18 ? int64_t(4e18) : int64_t(ns);
    }
    // Nanoseconds until the limit is exceeded; <= 0 when expired.
    int64_t left() const { return start + limit + 1 - nowNs(); }
    bool expired() const { return left() <= 0; }
};

timespec toTimespec(int64_t ns)
{
    timespec ts{};
    ts.tv_sec = time_t(ns / 1000000000);
    ts.tv_nsec = long(ns % 1000000000);
    return ts;
}

// Sleeps until the deadline has expired (used when the line can bring nothing more).
void sleepOut(const Deadline &d)
{
    const timespec until = toTimespec(d.start + d.limit + 1);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// ---- the port -----------------------------------------------------------------------------

// Waits for one byte until the deadline. Returns the byte, or -1 when none came in time.
// A hung-up or failed device brings no byte: the rest of the time-out is slept out.
int readByte(const Deadline &d)
{
    if (g_fd < 0) {
        sleepOut(d);
        return -1;
    }
    for (;;) {
        const int64_t left = d.left();
        if (left <= 0)
            return -1;
        pollfd p{g_fd, POLLIN, 0};
        const timespec wait = toTimespec(left);
        const int r = ppoll(&p, 1, &wait, nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            sleepOut(d);
            return -1;
        }
        if (r == 0)
            continue; // the loop head sees the deadline
        if (p.revents & POLLIN) {
            unsigned char byte = 0;
            const ssize_t n = read(g_fd, &byte, 1);
            if (n == 1)
                return byte;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
        }
        // POLLHUP/POLLERR/POLLNVAL, read() == 0 or EIO: the other side is gone.
        sleepOut(d);
        return -1;
    }
}

// Hands `n` bytes to the line. Waits (in poll) only while the output queue is full,
// at most `maxWaitMs`. Returns false when the port is not open or the write failed.
bool writeAll(const unsigned char *data, size_t n, int32_t maxWaitMs = 2000)
{
    if (g_fd < 0)
        return false;
    const int64_t giveUp = nowNs() + int64_t(maxWaitMs) * 1000000;
    size_t done = 0;
    while (done < n) {
        const ssize_t w = write(g_fd, data + done, n - done);
        if (w > 0) {
            done += size_t(w);
            continue;
        }
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int64_t left = giveUp - nowNs();
            if (left <= 0)
                return false;
            pollfd p{g_fd, POLLOUT, 0};
            const timespec wait = toTimespec(left);
            if (ppoll(&p, 1, &wait, nullptr) < 0 && errno != EINTR)
                return false;
            if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
                return false;
            continue;
        }
        return false; // EIO and friends: the device is gone
    }
    return true;
}

// Reads and drops whatever is waiting, without waiting for more.
void flushInput()
{
    if (g_fd < 0)
        return;
    unsigned char scratch[256];
    // Bounded, so a line that never stops talking cannot hold the caller here.
    for (int rounds = 0; rounds < 256; ++rounds) {
        const ssize_t n = read(g_fd, scratch, sizeof scratch);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
    tcflush(g_fd, TCIFLUSH);
}

void closePort()
{
    if (g_fd >= 0) {
        // Leave the line open to others again (a pty's other side may keep the tty alive).
        ioctl(g_fd, TIOCNXCL);
        close(g_fd);
        g_fd = -1;
    }
}

std::string devicePath(int32_t port)
{
    if (port < 1)
        return {};
    const std::string var = "ZIB_COM" + std::to_string(port);
    if (const char *env = std::getenv(var.c_str()); env && *env)
        return env;
    return "/dev/ttyS" + std::to_string(port - 1);
}

speed_t speedFor(int32_t baud)
{
    switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
#endif
#ifdef B921600
    case 921600: return B921600;
#endif
    default: return B0;
    }
}

// Applies raw 8N2 at `baud`. False when the line refuses.
bool applyLineSettings(int fd, int32_t baud)
{
    const speed_t speed = speedFor(baud);
    if (speed == B0)
        return false;
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | CRTSCTS);
    t.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0)
        return false;
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        return false;
    // tcsetattr succeeds when any part was taken: check the parts that matter.
    termios check{};
    if (tcgetattr(fd, &check) != 0)
        return false;
    return (check.c_cflag & CSIZE) == CS8 && (check.c_cflag & CSTOPB) && !(check.c_cflag & PARENB)
        && cfgetospeed(&check) == speed;
}

// ---- frames -------------------------------------------------------------------------------

bool payloadOk(const char *payload, int32_t length)
{
    return payload && length >= 1 && length <= ZIB_MAX_PAYLOAD;
}

unsigned char complementOfSum(const unsigned char *bytes, size_t n)
{
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += bytes[i];
    return static_cast<unsigned char>(~sum & 0xFF);
}

// Puts the frame of the payload into the transmit buffer; returns its length.
size_t buildFrame(const char *payload, int32_t length)
{
    const size_t n = size_t(length);
    g_tx[0] = kStx;
    std::memcpy(g_tx + 1, payload, n);
    const unsigned char c = complementOfSum(g_tx + 1, n);
    g_tx[n + 1] = static_cast<unsigned char>(0x30 | (c & 0x0F));
    g_tx[n + 2] = static_cast<unsigned char>(0x30 | (c >> 4));
    g_tx[n + 3] = kEtx;
    return n + 4;
}

int32_t sendFrame(const char *payload, int32_t length, int32_t timeoutMs, int tries)
{
    if (!payloadOk(payload, length) || g_fd < 0)
        return kSendSilent;
    const size_t n = buildFrame(payload, length);
    for (int t = 0; t < tries; ++t) {
        const Deadline d(timeoutMs);
        writeAll(g_tx, n); // a failed write shows up as silence
        for (;;) {
            const int byte = readByte(d);
            if (d.expired())
                break;
            if (byte == kAck)
                return kSendOk;
            if (byte == kNak)
                return kSendNak;
        }
    }
    return kSendSilent;
}

int32_t getFrame(const char *payload, int32_t length, char *buffer, int32_t timeoutMs, int acks)
{
    if (!payloadOk(payload, length) || !buffer || g_fd < 0)
        return kGetTimeout;
    flushInput();
    const Deadline d(timeoutMs);
    writeAll(g_tx, buildFrame(payload, length));

    auto *rx = reinterpret_cast<unsigned char *>(buffer);
    int i = 0;
    for (;;) {
        const int byte = readByte(d);
        if (d.expired())
            return kGetTimeout;
        if (byte < 0)
            continue;
        if (byte == kStx)
            i = 0;
        else if (byte == kAck)
            return kGetAck;
        rx[i++] = static_cast<unsigned char>(byte);
        if (byte == kEtx && i >= 5)
            break;
        if (i >= ZIB_RECEIVE_SIZE)
            break;
    }

    const int n = i;
    if (n < 5)
        return kGetBadChecksum; // cannot happen: an ETX ends only from index 4 on
    const unsigned char c = complementOfSum(rx + 1, size_t(n - 4));
    if ((rx[n - 3] & 0x0F) != (c & 0x0F) || (rx[n - 2] & 0x0F) != (c >> 4))
        return kGetBadChecksum;
    for (int k = 0; k < acks; ++k) {
        const unsigned char ack = kAck;
        writeAll(&ack, 1);
    }
    return n - 3;
}

int32_t readData(int32_t *count, char *buffer, int32_t timeoutMs, bool sendAtmi)
{
    if (count)
        *count = 0;
    if (!buffer || g_fd < 0)
        return 0;
    if (sendAtmi) {
        static const unsigned char atmi[] = {'A', 'T', 'M', 'I'};
        writeAll(atmi, sizeof atmi);
    }
    const Deadline d(timeoutMs);
    int32_t n = 0;
    bool timedOut = false;
    while (n < ZIB_RECEIVE_SIZE) {
        const int byte = readByte(d);
        if (d.expired()) {
            timedOut = true;
            break;
        }
        if (byte >= 0)
            buffer[n++] = static_cast<char>(byte);
    }
    if (timedOut && count)
        *count = n;
    return n;
}

int32_t testLink(int32_t (*send)(const char *, int32_t))
{
    if (g_fd >= 0 && send("T", 1) == kSendOk)
        return 0;
    showMessage(kMsgTestFailed);
    return -2;
}

} // namespace

extern "C" {

void Zib_SetMessageHandler(ZibMessageHandler handler, void *user)
{
    g_handler = handler;
    g_handlerUser = user;
}

int32_t Init_RS232(int32_t port)
{
    return Init_RS232bd(port, 9600);
}

int32_t Init_RS232bd(int32_t port, int32_t baud)
{
    closePort();
    const std::string path = devicePath(port);
    int fd = path.empty() ? -1 : open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && isatty(fd)) {
        // Not shared: refuse a line another process holds, and keep others out.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
            close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        showMessage(kMsgPortBusy);
        return 1;
    }
    g_fd = fd;
    return applyLineSettings(fd, baud) ? 0 : 2;
}

int32_t Close_RS232(void)
{
    closePort();
    return 0;
}

int32_t Testconnessione(void)
{
    return testLink(send_frame);
}

int32_t TestconnessioneM(void)
{
    return testLink(send_frameM);
}

int32_t send_frame(const char *payload, int32_t length)
{
    return sendFrame(payload, length, kTimeoutShort, 3);
}

int32_t send_frame120s(const char *payload, int32_t length)
{
    return sendFrame(payload, length, kTimeoutLong, 3);
}

int32_t send_frameM(const char *payload, int32_t length)
{
    return sendFrame(payload, length, kTimeoutModem, 3);
}

int32_t send_frameMD(const char *payload, int32_t length)
{
    return sendFrame(payload, length, kTimeoutModem, 1);
}

int32_t send_frameT(const char *payload, int32_t length, int32_t timeout_ms)
{
    return sendFrame(payload, length, timeout_ms, 1);
}

int32_t get_frame(const char *payload, int32_t length, char *buffer)
{
    return getFrame(payload, length, buffer, kTimeoutShort, 1);
}

int32_t get_frame120s(const char *payload, int32_t length, char *buffer)
{
    return getFrame(payload, length, buffer, kTimeoutLong, 1);
}

int32_t get_frameM(const char *payload, int32_t length, char *buffer)
{
    return getFrame(payload, length, buffer, kTimeoutModem, 3);
}

int32_t get_frameT(const char *payload, int32_t length, char *buffer, int32_t timeout_ms)
{
    return getFrame(payload, length, buffer, timeout_ms, 1);
}

int32_t send_ack(void)
{
    const unsigned char ack = kAck;
    return writeAll(&ack, 1) ? 1 : 0;
}

int32_t send_data(const char *bytes, int32_t length)
{
    if (length < 0 || length > ZIB_MAX_RAW || (length > 0 && !bytes))
        return -1;
    if (length == 0)
        return g_fd >= 0 ? 0 : -1;
    std::memcpy(g_tx, bytes, size_t(length));
    return writeAll(g_tx, size_t(length)) ? 0 : -1;
}

int32_t read_data(int32_t *count, char *buffer)
{
    return readData(count, buffer, kTimeoutLong, false);
}

int32_t read_data_ini(int32_t *count, char *buffer)
{
    return readData(count, buffer, kTimeoutModem, true);
}

} // extern "C"

#include "RegSim.h"

#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kalvo::test {

namespace {

QString programPath()
{
    QByteArray dir = qgetenv("KALVO_BIN_DIR");
    QString folder = dir.isEmpty() ? binDir() : QString::fromLocal8Bit(dir) + "/";
    return folder + "kalvo-regsim";
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RegSim::RegSim()
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

RegSim::~RegSim()
{
    if (isRunning())
        stop();
}

bool RegSim::start(const QStringList &extraArgs)
{
    if (!dir_.isValid()) {
        error_ = "cannot create a temporary folder";
        return false;
    }
    QStringList args{"--link", linkPath(), "--control", controlPath(), "--log", logPath()};
    args += extraArgs;
    process_.start(programPath(), args);
    if (!process_.waitForStarted(5000)) {
        error_ = "cannot start " + programPath() + ": " + process_.errorString();
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    // Our link: a symbolic link whose target exists (a stale one of an earlier run does not count).
    const auto linked = [this] { const QFileInfo fi(linkPath()); return fi.isSymLink() && fi.exists(); };
    while (!linked()) {
        if (process_.state() != QProcess::Running || timer.elapsed() > 5000) {
            process_.waitForFinished(100);
            error_ = "kalvo-regsim did not come up: " + QString::fromLocal8Bit(output());
            if (isRunning())
                kill();
            return false;
        }
        QThread::msleep(5);
    }
    return true;
}

void RegSim::usePort(int port) const
{
    qputenv(("ZIB_COM" + QByteArray::number(port)).constData(), QFile::encodeName(linkPath()));
}

bool RegSim::command(const QString &line, QString *reply)
{
    const QByteArray path = QFile::encodeName(controlPath());
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof addr.sun_path) {
        error_ = "control path too long";
        return false;
    }
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()) + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        error_ = QString("cannot reach the control socket: ") + std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    const QByteArray out = line.toLatin1() + "\n";
    bool ok = send(fd, out.constData(), size_t(out.size()), MSG_NOSIGNAL) == out.size();
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    while (ok && !answer.contains('\n') && timer.elapsed() < 5000) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[256];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        answer.append(buf, int(n));
    }
    close(fd);
    answer = answer.trimmed();
    if (reply)
        *reply = QString::fromLatin1(answer);
    if (answer != "ok")
        error_ = "command '" + line + "': " + QString::fromLatin1(answer);
    return answer == "ok";
}

bool RegSim::parseLogLine(const QByteArray &line, Entry &entry)
{
    if (line.isEmpty())
        return false;
    entry.tag = line[0];
    entry.bytes.clear();
    if (line.size() == 1)
        return true;
    if (line.size() < 4 || line[1] != ' ' || line[2] != '"' || !line.endsWith('"'))
        return false;
    const QByteArray body = line.mid(3, line.size() - 4);
    for (int i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c != '\\') {
            entry.bytes += c;
            continue;
        }
        if (i + 1 >= body.size())
            return false;
        const char e = body[++i];
        if (e == '\\' || e == '"') {
            entry.bytes += e;
        } else if (e == 'x' && i + 2 < body.size() && hexValue(body[i + 1]) >= 0
                   && hexValue(body[i + 2]) >= 0) {
            entry.bytes += char(hexValue(body[i + 1]) * 16 + hexValue(body[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

QList<RegSim::Entry> RegSim::log() const
{
    QList<Entry> entries;
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.readAll().split('\n')) {
        Entry e;
        if (parseLogLine(line, e))
            entries.append(e);
    }
    return entries;
}

QList<QByteArray> RegSim::payloads() const
{
    QList<QByteArray> out;
    for (const Entry &e : log())
        if (e.tag == 'F')
            out.append(e.bytes);
    return out;
}

QList<QByteArray> RegSim::textLines() const
{
    QList<QByteArray> out;
    for (const Entry &e : log())
        if (e.tag == 'L')
            out.append(e.bytes);
    return out;
}

int RegSim::acksReceived() const
{
    int n = 0;
    for (const Entry &e : log())
        n += e.tag == 'A';
    return n;
}

int RegSim::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void RegSim::kill()
{
    process_.kill();
    process_.waitForFinished(5000);
}

bool RegSim::isRunning() const
{
    return process_.state() != QProcess::NotRunning;
}

bool RegSim::waitForExit(int ms)
{
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(ms);
}

QByteArray RegSim::output()
{
    output_ += process_.readAll();
    return output_;
}

} // namespace kalvo::test

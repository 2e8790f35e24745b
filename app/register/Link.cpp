#include "register/Link.h"

#include "shell/AppError.h"
#include "shell/Prompter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include <dlfcn.h>

namespace kalvo {

namespace {

using MessageHandler = void (*)(const char *, const char *, void *);
using SetHandlerFn = void (*)(MessageHandler, void *);
using PortFn = int32_t (*)(int32_t);
using PortBaudFn = int32_t (*)(int32_t, int32_t);
using VoidFn = int32_t (*)();
using SendFn = int32_t (*)(const char *, int32_t);
using SendTFn = int32_t (*)(const char *, int32_t, int32_t);
using GetFn = int32_t (*)(const char *, int32_t, char *);
using GetTFn = int32_t (*)(const char *, int32_t, char *, int32_t);
using ReadFn = int32_t (*)(int32_t *, char *);

// The Link whose hook the library calls (the library has one hook per process).
Link *g_hookOwner = nullptr;

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath() + '/';
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path() + '/';
}

int32_t length(const QByteArray &bytes)
{
    return bytes.size() > INT32_MAX ? INT32_MAX : int32_t(bytes.size());
}

} // namespace

void Delay(qint16 milliseconds)
{
    if (milliseconds <= 0)
        return;
    timespec until{};
    clock_gettime(CLOCK_MONOTONIC, &until);
    until.tv_sec += milliseconds / 1000;
    until.tv_nsec += long(milliseconds % 1000) * 1000000;
    if (until.tv_nsec >= 1000000000) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

Link::Link(Prompter *const *prompterSlot)
    : ReplyBuffer(kReplyBufferSize, '\0'), prompterSlot_(prompterSlot)
{
}

Link::~Link()
{
    unload();
}

void Link::setLibraryPath(const QString &path)
{
    unload();
    libraryPath_ = path;
}

QString Link::libraryPath() const
{
    return libraryPath_.isEmpty() ? executableFolder() + QStringLiteral("libZibDll.so") : libraryPath_;
}

void Link::load()
{
    if (handle_)
        return;
    const QString path = libraryPath();
    dlerror();
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char *why = dlerror();
        throw AppError(kErrLinkLibrary, QStringLiteral("Biblioteka za vezu sa kasom nije ucitana: %1 (%2)")
                                            .arg(path, QString::fromLocal8Bit(why ? why : "")));
    }
    // Route the library's messages to our Prompter. An older library without the hook
    // writes them to stderr itself.
    if (auto setHandler = reinterpret_cast<SetHandlerFn>(dlsym(handle_, "Zib_SetMessageHandler"))) {
        setHandler(&Link::onLibraryMessage, this);
        g_hookOwner = this;
    }
}

void Link::unload()
{
    if (!handle_)
        return;
    if (g_hookOwner == this) {
        if (auto setHandler = reinterpret_cast<SetHandlerFn>(dlsym(handle_, "Zib_SetMessageHandler")))
            setHandler(nullptr, nullptr);
        g_hookOwner = nullptr;
    }
    symbols_.clear();
    dlclose(handle_);
    handle_ = nullptr;
}

void *Link::resolve(const char *name)
{
    if (auto it = symbols_.find(name); it != symbols_.end())
        return it->second;
    load();
    dlerror();
    void *symbol = dlsym(handle_, name);
    if (!symbol)
        throw AppError(kErrLinkEntry, QStringLiteral("Biblioteka %1 nema funkciju %2")
                                          .arg(libraryPath(), QString::fromLatin1(name)));
    symbols_.emplace(name, symbol);
    return symbol;
}

void Link::onLibraryMessage(const char *text, const char *title, void *user)
{
    auto *self = static_cast<Link *>(user);
    if (Prompter *prompter = self ? self->prompter() : nullptr)
        prompter->ask(QString::fromLatin1(text), QString::fromLatin1(title), Icon::None, Buttons::Ok);
    else
        std::fprintf(stderr, "%s: %s\n", title, text);
}

char *Link::replyData()
{
    if (ReplyBuffer.size() < kReplyBufferSize)
        ReplyBuffer.resize(kReplyBufferSize);
    return ReplyBuffer.data();
}

qint32 Link::afterGet(qint32 result)
{
    if (result > 0)
        ReplyText = ReplyBuffer.mid(1, qMin<qint32>(result, kReplyBufferSize - 1));
    return store(result);
}

// ---- exports ----------------------------------------------------------------------------------

qint32 Link::Init_RS232(qint32 port) { return store(bind<PortFn>("Init_RS232")(port)); }
qint32 Link::Init_RS232bd(qint32 port, qint32 baud) { return store(bind<PortBaudFn>("Init_RS232bd")(port, baud)); }
qint32 Link::Close_RS232() { return store(bind<VoidFn>("Close_RS232")()); }
qint32 Link::Testconnessione() { return store(bind<VoidFn>("Testconnessione")()); }
qint32 Link::TestconnessioneM() { return store(bind<VoidFn>("TestconnessioneM")()); }

qint32 Link::send_frame(const QByteArray &p) { return store(bind<SendFn>("send_frame")(p.constData(), length(p))); }
qint32 Link::send_frame120s(const QByteArray &p) { return store(bind<SendFn>("send_frame120s")(p.constData(), length(p))); }
qint32 Link::send_frameM(const QByteArray &p) { return store(bind<SendFn>("send_frameM")(p.constData(), length(p))); }
qint32 Link::send_frameMD(const QByteArray &p) { return store(bind<SendFn>("send_frameMD")(p.constData(), length(p))); }
qint32 Link::send_frameT(const QByteArray &p, qint32 timeoutMs)
{
    return store(bind<SendTFn>("send_frameT")(p.constData(), length(p), timeoutMs));
}

qint32 Link::get_frame(const QByteArray &r)
{
    auto fn = bind<GetFn>("get_frame");
    return afterGet(fn(r.constData(), length(r), replyData()));
}
qint32 Link::get_frame120s(const QByteArray &r)
{
    auto fn = bind<GetFn>("get_frame120s");
    return afterGet(fn(r.constData(), length(r), replyData()));
}
qint32 Link::get_frameM(const QByteArray &r)
{
    auto fn = bind<GetFn>("get_frameM");
    return afterGet(fn(r.constData(), length(r), replyData()));
}
qint32 Link::get_frameT(const QByteArray &r, qint32 timeoutMs)
{
    auto fn = bind<GetTFn>("get_frameT");
    return afterGet(fn(r.constData(), length(r), replyData(), timeoutMs));
}

qint32 Link::send_ack() { return store(bind<VoidFn>("send_ack")()); }
qint32 Link::send_data(const QByteArray &b) { return store(bind<SendFn>("send_data")(b.constData(), length(b))); }

qint32 Link::read_data(qint32 &count, QByteArray &received)
{
    auto fn = bind<ReadFn>("read_data");
    QByteArray buffer(kReplyBufferSize, '\0');
    int32_t n = 0;
    const qint32 result = fn(&n, buffer.data());
    count = n;
    received = buffer.left(qBound(0, result, 250));
    return store(result);
}

qint32 Link::read_data_ini(qint32 &count, QByteArray &received)
{
    auto fn = bind<ReadFn>("read_data_ini");
    QByteArray buffer(kReplyBufferSize, '\0');
    int32_t n = 0;
    const qint32 result = fn(&n, buffer.data());
    count = n;
    received = buffer.left(qBound(0, result, 250));
    return store(result);
}

// ---- line-dependent variants ------------------------------------------------------------------

qint32 Link::sendFrame()
{
    return ModemLink ? send_frameM(FrameText) : send_frame(FrameText);
}

qint32 Link::getFrame()
{
    return ModemLink ? get_frameM(FrameText) : get_frame(FrameText);
}

qint32 Link::testConnection()
{
    return ModemLink ? TestconnessioneM() : Testconnessione();
}

qint16 Link::TestLink()
{
    return qint16(testConnection());
}

} // namespace kalvo

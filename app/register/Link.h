#pragma once
// The program's side of the serial-link library (libZibDll.so, see link/ZibDll.h): binds its
// exports by name at their first call and keeps the program-wide exchange state.
//
// Binding: the library is loaded with dlopen from libraryPath() (default: the running
// executable's folder + "libZibDll.so") at the first call of any export, and every export is
// looked up once and cached. A library that cannot be loaded, or an export it lacks, throws
// kalvo::AppError (code kErrLinkLibrary / kErrLinkEntry) for the caller's handler to report.
//
// Messages: the library's own two messages ("Port je zauzet!", "Podesite vezu i pokusajte
// ponovo!") are shown through the Prompter (title "ZibDll", OK, no icon): the one given with
// setPrompter(), else the one the slot given to the constructor points to at that moment
// (AppContext passes &AppContext::prompter); with neither they go to stderr.
//
// Every export method stores its result in LinkResult and returns it.
#include <QByteArray>
#include <QString>

#include <string>
#include <unordered_map>

namespace kalvo {

class Prompter;

// Error codes of a failed binding (the codes a caller's ShowError displays).
constexpr qint32 kErrLinkLibrary = 48;  // the library could not be loaded
constexpr qint32 kErrLinkEntry = 453;   // the library lacks an export

// Waits at least `milliseconds` (0 or less: no wait). User input is not processed meanwhile;
// the thread sleeps rather than spinning.
void Delay(qint16 milliseconds);

class Link {
public:
    // Size of ReplyBuffer; the library needs at least 250 bytes.
    static constexpr int kReplyBufferSize = 256;

    Link() : Link(nullptr) {}
    // `prompterSlot`: where to find the program's Prompter when a message comes (may be null).
    explicit Link(Prompter *const *prompterSlot);
    ~Link();
    Link(const Link &) = delete;
    Link &operator=(const Link &) = delete;

    // Where the library is loaded from. Setting it unloads a library already loaded.
    void setLibraryPath(const QString &path);
    QString libraryPath() const;
    // Where the library's messages go (may be null: stderr).
    void setPrompter(Prompter *prompter) { prompter_ = prompter; }
    Prompter *prompter() const { return prompter_ ? prompter_ : prompterSlot_ ? *prompterSlot_ : nullptr; }

    // ---- program-wide exchange state ----
    QByteArray FrameText;   // the payload being sent (bytes)
    qint32 LinkResult = 0;  // result of the last library call
    // The answer frame of the last get exchange: [0] STX, [1..L] the payload, [L+1] the first
    // checksum character. Always kReplyBufferSize bytes.
    QByteArray ReplyBuffer;
    // Positions 1 to n of ReplyBuffer after a get exchange with the result n > 0 (so its last
    // byte is the first checksum character); left as it was by any other result.
    QByteArray ReplyText;
    bool ModemLink = false; // true while a modem connection is up

    // ---- the exports (see link/ZibDll.h for results and time-outs) ----
    qint32 Init_RS232(qint32 port);
    qint32 Init_RS232bd(qint32 port, qint32 baud);
    qint32 Close_RS232();
    qint32 Testconnessione();
    qint32 TestconnessioneM();
    qint32 send_frame(const QByteArray &payload);
    qint32 send_frame120s(const QByteArray &payload);
    qint32 send_frameM(const QByteArray &payload);
    qint32 send_frameMD(const QByteArray &payload);
    qint32 send_frameT(const QByteArray &payload, qint32 timeoutMs);
    // Get exchanges: the answer goes to ReplyBuffer (and ReplyText when the result is > 0).
    qint32 get_frame(const QByteArray &request);
    qint32 get_frame120s(const QByteArray &request);
    qint32 get_frameM(const QByteArray &request);
    qint32 get_frameT(const QByteArray &request, qint32 timeoutMs);
    qint32 send_ack();
    qint32 send_data(const QByteArray &bytes);
    // `received` gets the bytes stored (as many as the result); `count` the out count.
    qint32 read_data(qint32 &count, QByteArray &received);
    qint32 read_data_ini(qint32 &count, QByteArray &received);

    // ---- the line-dependent variants, picked by ModemLink ----
    // Sends FrameText with send_frameM (modem) or send_frame (direct).
    qint32 sendFrame();
    // Requests FrameText with get_frameM (modem) or get_frame (direct).
    qint32 getFrame();
    // TestconnessioneM (modem) or Testconnessione (direct).
    qint32 testConnection();
    // The shared link test: 0 the register answered, -2 not.
    qint16 TestLink();

private:
    void *resolve(const char *name);
    template <typename Fn> Fn bind(const char *name) { return reinterpret_cast<Fn>(resolve(name)); }
    void load();
    void unload();
    qint32 store(qint32 result) { return LinkResult = result; }
    qint32 afterGet(qint32 result);
    char *replyData();

    static void onLibraryMessage(const char *text, const char *title, void *user);

    QString libraryPath_;
    void *handle_ = nullptr;
    std::unordered_map<std::string, void *> symbols_;
    Prompter *prompter_ = nullptr;
    Prompter *const *prompterSlot_ = nullptr;
};

} // namespace kalvo

#pragma once
// Runs the register simulator (kalvo-regsim from the program folder) for a test.
//
//   kalvo::test::RegSim sim;
//   QVERIFY2(sim.start({"--basic", "--fault", "nak:1"}), qPrintable(sim.errorString()));
//   sim.usePort(3);                  // ZIB_COM3 = the simulator's line
//   link.Init_RS232bd(3, 9600);      // the workstation opens "COM3"
//   QVERIFY(sim.command("reply 414243"));  // answer the next frame with payload "ABC"
//   ...
//   QCOMPARE(sim.payloads(), QList<QByteArray>{"T", "n"});
//
// Every simulator gets its own temporary folder holding its line link ("line"), its control
// socket ("control") and its log ("log"). The destructor stops it. Commands and fault
// specifications are those of `kalvo-regsim --help`.
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kalvo::test {

class RegSim {
public:
    struct Entry {
        char tag;        // F, B, O, L, A, N, S or C (see kalvo-regsim --help)
        QByteArray bytes;
    };

    RegSim();
    ~RegSim();
    RegSim(const RegSim &) = delete;
    RegSim &operator=(const RegSim &) = delete;

    // Starts the simulator with extra arguments (--fault, --state, ...; --link, --control
    // and --log are supplied) and waits up to 5 s for its line to appear.
    // False with errorString() when it did not come up.
    bool start(const QStringList &extraArgs = {});
    // Sets the environment variable ZIB_COM<port> to the line, so that Init_RS232(port)
    // opens the simulator.
    void usePort(int port) const;

    // Sends one control command and waits for its reply; true when it was "ok".
    bool command(const QString &line, QString *reply = nullptr);

    // The log, entry by entry, read afresh on every call.
    QList<Entry> log() const;
    // Payloads of the good frames received, in order.
    QList<QByteArray> payloads() const;
    // Unframed text lines received (modem commands, the password).
    QList<QByteArray> textLines() const;
    // Number of ACK bytes the workstation sent outside frames.
    int acksReceived() const;

    // Stops the simulator with SIGTERM and waits for it (its state file is written).
    // Returns its exit code, or -1 when it crashed or had to be killed.
    int stop();
    // Kills the simulator at once: the line vanishes under the workstation.
    void kill();
    bool isRunning() const;
    // Waits up to `ms` for the simulator to exit on its own (after "hangup" or "drop").
    bool waitForExit(int ms = 5000);

    QString linkPath() const { return dir_.filePath("line"); }
    QString controlPath() const { return dir_.filePath("control"); }
    QString logPath() const { return dir_.filePath("log"); }
    QString folder() const { return dir_.path(); }
    QString errorString() const { return error_; }
    // Whatever the simulator wrote to stdout/stderr so far.
    QByteArray output();

    // Parses one log line ("F \"T\\x03\""); false when it is not a log line.
    static bool parseLogLine(const QByteArray &line, Entry &entry);

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString error_;
    QByteArray output_;
};

} // namespace kalvo::test

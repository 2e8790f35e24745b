#pragma once
// A workstation context wired to a fresh register simulator, for the send and receive
// routine tests: the real link library on a pty, a scripted prompter, a SQLite article
// database in a temporary folder.
#include "RegSim.h"
#include "TestSupport.h"

#include "data/ArticleStore.h"
#include "register/SendRoutines.h"
#include "shell/AppContext.h"
#include "shell/Prompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

namespace kalvo::test {

inline QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

// Payload bytes as readable text in a failure message.
inline QByteArray shownBytes(const QByteArray &b)
{
    QByteArray out;
    for (char c : b) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            out += c;
        else
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out;
}

struct RoutineRig {
    static constexpr int kPort = 7;

    ScriptedPrompter prompter;
    AppContext ctx;
    RegSim sim;
    QTemporaryDir dbDir;
    std::vector<int> records;          // every recordNumber report
    std::vector<QString> captions;     // every kindCaption report
    RoutineCallbacks callbacks;

    RoutineRig()
    {
        ctx.prompter = &prompter;
        ctx.link.setLibraryPath(binDir() + "libZibDll.so");
        ctx.settings.connectionString = "Driver=QSQLITE;Database=" + dbDir.filePath("kalvo.db");
        ctx.data.ResetTables();
        ctx.data.ResetUnitNames();
        ctx.data.ResetArticleTypeNames();
        callbacks.recordNumber = [this](int n) { records.push_back(n); };
        callbacks.kindCaption = [this](const QString &c) { captions.push_back(c); };
    }
    ~RoutineRig() { ctx.link.Close_RS232(); }

    // Starts the simulator and opens the port on it.
    bool open(const QStringList &args = {})
    {
        if (!sim.start(args)) {
            qWarning("%s", qPrintable(sim.errorString()));
            return false;
        }
        sim.usePort(kPort);
        return ctx.link.Init_RS232bd(kPort, 9600) == 0;
    }
    // A simulator state file (see kalvo-regsim --help) for open({"--state", statePath()}).
    QString statePath() const { return dbDir.filePath("register.state"); }
    bool writeState(const QByteArray &text) const
    {
        QFile file(statePath());
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }
    bool queue(const QString &fault) { return sim.command(fault); }
    // The answer frame with this payload for the next frame.
    bool reply(const QByteArray &payload) { return sim.command("reply:" + QString::fromLatin1(payload.toHex())); }

    ArticleStore store() const { return ArticleStore(ctx.settings.connectionString); }

    // Compares the payloads the simulator received with the expected ones, byte for byte.
    bool payloadsAre(const QList<QByteArray> &expected) const
    {
        const QList<QByteArray> got = sim.payloads();
        bool same = got == expected;
        if (!same) {
            for (const auto &p : got)
                qWarning("got      %s", shownBytes(p).constData());
            for (const auto &p : expected)
                qWarning("expected %s", shownBytes(p).constData());
        }
        return same;
    }
};

} // namespace kalvo::test

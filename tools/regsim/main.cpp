// kalvo-regsim: a simulated cash register on a pseudo-terminal.
#include "BasicResponder.h"
#include "RegisterModel.h"
#include "Simulator.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: kalvo-regsim --link PATH [options]\n"
    "\n"
    "Answers as a cash register on a pseudo-terminal whose slave is linked to PATH.\n"
    "Point the workstation's port at it, e.g. ZIB_COM1=PATH (or [ports] com1=PATH in Kalvo.ini).\n"
    "\n"
    "Options:\n"
    "  --link PATH      symbolic link to create for the line (a stale link is replaced;\n"
    "                   removed at exit)\n"
    "  --control PATH   unix stream socket for commands, one per line, each answered with\n"
    "                   \"ok\" or \"error: ...\" (see Commands)\n"
    "  --log FILE       log every event, one line each (see Log)\n"
    "  --state FILE     register state: loaded at start when the file exists, written at exit\n"
    "  --fault FAULT    queue a fault for the next frames (repeatable; see Faults)\n"
    "  --set RECORD     one register-state record, applied after --state (repeatable;\n"
    "                   see Register state)\n"
    "  --dial TEXT      the modem's answer to the next dial (repeatable: answered in turn)\n"
    "  --basic          no register: acknowledge every frame, answer no text (line tests)\n"
    "  --help           this text\n"
    "\n"
    "Faults (FAULT is kind, kind:arg or \"kind arg\"; N is 1..1000, default 1):\n"
    "  nak[:N]      NAK the next N frames\n"
    "  silent[:N]   do not answer the next N frames\n"
    "  badsum[:N]   spoil the checksum of the next N answer frames\n"
    "  garbage[:N]  send junk bytes before the next N answers\n"
    "  stx2[:N]     start the next N answers, then restart them with a second STX\n"
    "  ack[:N]      send a lone ACK instead of the next N answers\n"
    "  drop         on the next frame close the line and exit\n"
    "  reopen       on the next frame close the line and open a new one on the same link\n"
    "  reply:HEX    answer the next frame with a good frame of this payload\n"
    "  raw:HEX      answer the next frame with exactly these bytes\n"
    "\n"
    "Commands (control socket): any FAULT; \"write HEX\" writes bytes to the line now;\n"
    "  \"clear\" forgets queued faults; \"save\" writes the state file now; \"hangup\" closes\n"
    "  the line and exits; \"ping\".\n"
    "\n"
    "Log: a tag, then the bytes in double quotes, printable ASCII as is, \\\\ and \\\" escaped,\n"
    "  every other byte as \\xHH (exactly two hex digits). Tags: F good frame's payload,\n"
    "  B frame with a bad checksum (payload and checksum characters), O overlong frame,\n"
    "  L unframed text line (ended by CR/LF or 100 ms of quiet), A ACK received,\n"
    "  N NAK received, S bytes sent, C control command.\n"
    "\n"
    "Stops cleanly on SIGTERM, SIGINT or SIGHUP.\n";

bool takeValue(int &i, int argc, char **argv, std::string &value)
{
    if (i + 1 >= argc) {
        std::fprintf(stderr, "kalvo-regsim: %s needs a value\n", argv[i]);
        return false;
    }
    value = argv[++i];
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    regsim::Options options;
    std::vector<std::string> stateRecords, dialResults;
    bool basic = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs("\n", stdout);
            std::fputs(regsim::RegisterModel::helpText(), stdout);
            return 0;
        } else if (arg == "--link") {
            if (!takeValue(i, argc, argv, options.linkPath))
                return 2;
        } else if (arg == "--control") {
            if (!takeValue(i, argc, argv, options.controlPath))
                return 2;
        } else if (arg == "--log") {
            if (!takeValue(i, argc, argv, options.logPath))
                return 2;
        } else if (arg == "--state") {
            if (!takeValue(i, argc, argv, options.statePath))
                return 2;
        } else if (arg == "--fault") {
            if (!takeValue(i, argc, argv, value))
                return 2;
            options.faults.push_back(value);
        } else if (arg == "--basic") {
            basic = true;
        } else if (arg == "--set" || arg == "--dial") {
            if (!takeValue(i, argc, argv, value))
                return 2;
            (arg == "--set" ? stateRecords : dialResults).push_back(value);
        } else {
            std::fprintf(stderr, "kalvo-regsim: unknown argument %s (see --help)\n", arg.c_str());
            return 2;
        }
    }
    if (options.linkPath.empty()) {
        std::fputs("kalvo-regsim: --link PATH is required (see --help)\n", stderr);
        return 2;
    }

    auto model = std::make_unique<regsim::RegisterModel>();
    regsim::BasicResponder acknowledger;
    regsim::Responder &responder = basic ? static_cast<regsim::Responder &>(acknowledger) : *model;

    // Records given with --set are checked before the line comes up, applied after --state.
    std::string error;
    regsim::RegisterModel probe;
    for (const std::string &record : stateRecords) {
        if (!probe.applyLine(record, error)) {
            std::fprintf(stderr, "kalvo-regsim: --set %s: %s\n", record.c_str(), error.c_str());
            return 2;
        }
    }

    regsim::installStopSignals();
    regsim::Simulator sim(responder, options);
    if (!sim.start(error)) {
        std::fprintf(stderr, "kalvo-regsim: %s\n", error.c_str());
        return 1;
    }
    for (const std::string &record : stateRecords)
        model->applyLine(record, error);
    if (!dialResults.empty())
        model->dialResults = dialResults;
    return sim.run();
}

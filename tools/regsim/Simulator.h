#pragma once
// The simulator's line: a pseudo-terminal whose slave is linked to a path the workstation
// opens as its serial port, the frame reader, fault injection, the control channel and the
// payload log. What the register answers is the Responder's business.
#include "Faults.h"
#include "Framing.h"
#include "Responder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace regsim {

struct Options {
    std::string linkPath;    // --link: symlink to the pty slave (required)
    std::string controlPath; // --control: unix stream socket taking command lines
    std::string logPath;     // --log: one line per event
    std::string statePath;   // --state: loaded at start when present, written at exit
    std::vector<std::string> faults; // --fault, queued in order
};

class Simulator {
public:
    Simulator(Responder &responder, Options options);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Creates the pty, the control socket and the link. False with a message on failure.
    bool start(std::string &error);
    // Serves until SIGTERM/SIGINT/SIGHUP, a "hangup" command or a "drop" fault.
    // Returns the exit status.
    int run();

    // Runs one control command line; the reply text ("ok" or "error: ...").
    std::string command(const std::string &line);

private:
    bool openLine(std::string &error);
    void closeLine();
    bool linkSlave(std::string &error);
    void removeLink();
    void onLineBytes(const char *data, std::size_t n);
    void handle(const LineEvent &event);
    void answerFrame(const std::string &payload);
    void writeLine(const std::string &bytes);
    void log(char tag, const std::string &bytes, bool withBytes = true);
    void acceptClient();
    void serveClient(std::size_t index);
    bool saveState(std::string &error);

    Responder &responder_;
    Options options_;
    FaultQueue faults_;
    LineReader reader_;
    int master_ = -1;
    int slave_ = -1; // kept open so the master never sees a hang-up between workstation opens
    std::string slaveName_;
    int listen_ = -1;
    struct Client {
        int fd;
        std::string pending;
    };
    std::vector<Client> clients_;
    std::FILE *log_ = nullptr;
    bool linked_ = false;
    bool stop_ = false;
    int exitStatus_ = 0;
};

// Installs SIGTERM/SIGINT/SIGHUP handlers that make Simulator::run() return.
void installStopSignals();

} // namespace regsim

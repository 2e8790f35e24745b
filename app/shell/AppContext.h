#pragma once
// The program-wide state, owned by one object. The running program has exactly one
// (AppContext::instance()); tests build a fresh one per case.
#include "data/ProgrammingData.h"
#include "register/Link.h"
#include "shell/AppGlobals.h"
#include "shell/AppSettings.h"
#include "shell/IniFile.h"
#include "shell/Prompter.h"

#include <QString>

namespace kalvo {

struct AppContext {
    // Program folder with exactly one trailing '/'; defaults to the executable's folder.
    QString appFolder = AppFolder();
    AppSettings settings;       // Kalvo.ini values
    cIniFile ini;               // the shared Kalvo.ini object
    ProgrammingData data;       // programming tables, link settings, Cyrillic flags
    Link link{&prompter};       // FrameText, LinkResult, ReplyBuffer, ReplyText, ModemLink
    QString CurrentFormName;    // editor window loaded last
    Prompter *prompter = nullptr;

    Prompter &ui() { return *prompter; }

    // The running program's one instance (set up by main()).
    static AppContext &instance();
    static void setInstance(AppContext *context);
};

} // namespace kalvo

#pragma once
// What the About window shows and starts, read from Kalvo.ini section [about]:
//   sysinfo  = the system information program (path, or a name looked up on PATH)
//   download = address of the downloads page
//   mail     = contact mail address (a bare address is opened as mailto:)
//   web      = the maker's web site (also opened by the picture)
#include <QString>
#include <QStringList>

namespace kalvo {

struct AppContext;

// The system information program to start, or an empty string when there is none.
// A program configured in [about] sysinfo is used when it exists and is executable
// (a configured program that is missing gives none). Without a configured program the
// first of `candidates` found on PATH is used.
QStringList DefaultSystemInfoTools();
QString FindSystemInfoTool(const AppContext &context,
                           const QStringList &candidates = DefaultSystemInfoTools());

struct AboutLinks {
    QString download, mail, web;
};
AboutLinks ReadAboutLinks(const AppContext &context);

// The address a link label opens: a bare mail address becomes "mailto:" + address.
QString LinkTarget(const QString &address);

} // namespace kalvo

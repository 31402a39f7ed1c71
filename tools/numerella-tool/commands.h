#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// What every sub-command of numerella-tool shares. A sub-command lives in
// its own <name>command.cpp, declares its entry point here and takes one
// row in the table in main.cpp, which also makes the help list it.

inline constexpr int exitSuccess = 0;
inline constexpr int exitFailure = 1;   // the command could not do its work
inline constexpr int exitUsage = 2;     // bad arguments

struct Command
{
    const char *name;
    const char *summary;   // one line in the help
    // The arguments after the command's name; returns the exit code.
    int (*run)(const QStringList &arguments);
};

// Qt 6 takes the local 8-bit encoding to be UTF-8, which the accented
// Italian messages need.
inline void printOut(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
}

inline void printError(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
}

int runStoreCommand(const QStringList &arguments);
int runCardsCommand(const QStringList &arguments);
int runBoardCommand(const QStringList &arguments);

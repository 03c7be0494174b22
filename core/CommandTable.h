#pragma once
// The interpreter's keywords in their matching order, each with the function
// that runs it. A keyword whose function is not there yet is still listed in
// its place and goes to the fallback (a script of that name, else the line to
// the server) like a word that is no keyword.

#include <QLatin1StringView>
#include <QStringView>

#include <span>

class CommandContext;

using CommandHandler = void (*)(CommandContext&);

struct Command {
    QLatin1StringView keyword; // lower case
    CommandHandler handler;    // nullptr: not built yet, the fallback answers
};

// Every keyword, in matching order.
std::span<const Command> CommandTable();
// The entry whose keyword equals `keyword` (already in lower case); nullptr
// when the word is no keyword.
const Command* FindCommand(QStringView keyword);

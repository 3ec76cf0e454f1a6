#pragma once
// vlk's command line, parsed in one place: a command, its settings file when it takes one,
// and the options it accepts. Every mistake has a message of its own.

#include <string>
#include <vector>

enum class Command { Help, Version, Show, Plan, Apply, Check, Export, Undo, Backups };

struct Invocation {
    Command command = Command::Help;
    std::u16string file;
    bool json = false;
    bool explain = false;
};

// Fills the invocation; on a mistake returns what is wrong, in one line, else "".
// "--" ends the options, so that a file name may start with "-". --help and --version stand
// for the whole command line.
std::string ParseArguments(const std::vector<std::u16string>& arguments, Invocation& invocation);

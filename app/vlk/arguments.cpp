#include "app/vlk/arguments.h"

#include "base/text.h"

namespace {

struct CommandForm {
    const char16_t* name;
    Command command;
    bool takesFile;
    bool json;
    bool explain;
};

constexpr CommandForm kCommands[] = {
    {u"show", Command::Show, false, true, true},
    {u"plan", Command::Plan, true, true, false},
    {u"apply", Command::Apply, true, true, false},
    {u"check", Command::Check, true, true, false},
    {u"export", Command::Export, true, false, false},
    {u"undo", Command::Undo, false, true, false},
    {u"backups", Command::Backups, false, true, false},
};

std::string quoted(const std::u16string& text) {
    std::string out(1, '"');
    out += toUtf8(text);
    out += '"';
    return out;
}

} // namespace

std::string ParseArguments(const std::vector<std::u16string>& arguments, Invocation& invocation) {
    invocation = Invocation{};
    std::vector<std::u16string> words;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const std::u16string& a : arguments) {
        if (optionsEnded || a.empty() || (a[0] != u'-' && a != u"/?")) {
            words.push_back(a);
        } else if (a == u"--") {
            optionsEnded = true;
        } else if (a == u"--json") {
            invocation.json = true;
        } else if (a == u"--explain") {
            invocation.explain = true;
        } else if (a == u"--help" || a == u"-h" || a == u"/?") {
            help = true;
        } else if (a == u"--version") {
            version = true;
        } else {
            return "unknown option " + quoted(a);
        }
    }
    if (help || version) {
        invocation = Invocation{};
        if (!help) invocation.command = Command::Version;
        return "";
    }
    if (words.empty()) return "no command given";

    const CommandForm* form = nullptr;
    for (const CommandForm& f : kCommands)
        if (words[0] == f.name) form = &f;
    if (!form) return "unknown command " + quoted(words[0]);
    const std::string name = toUtf8(form->name);
    invocation.command = form->command;

    const std::size_t wanted = form->takesFile ? 2 : 1;
    if (words.size() < wanted) return name + " needs the settings data FILE to use";
    if (words.size() > wanted) return name + " takes no argument " + quoted(words[wanted]);
    if (form->takesFile) invocation.file = words[1];
    if (invocation.json && !form->json) return name + " has no --json";
    if (invocation.explain && !form->explain) return "--explain goes with show only";
    return "";
}

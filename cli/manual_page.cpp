#include "command_line.h"

#include <cctype>
#include <ostream>
#include <string>

namespace orvane::cli {
namespace {

// Text as troff shows it: a backslash is an escape, a hyphen would be taken
// for a breakable dash (and an option so typed could not be copied), and a
// line starting with a dot or an apostrophe would be a request.
std::string Troff(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    if (!text.empty() && (text.front() == '.' || text.front() == '\''))
        out += "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string Bold(std::string_view text)
{
    return "\\fB" + Troff(text) + "\\fR";
}

std::string Italic(std::string_view text)
{
    return "\\fI" + Troff(text) + "\\fR";
}

// "A|AA|AAA|508" with each value in italics, or the value's name.
std::string Argument(const OptionSpec& option, std::string_view space = " ")
{
    if (option.kind == ValueKind::None)
        return {};
    if (option.kind != ValueKind::Choice)
        return std::string(space) + Italic(option.argument);
    std::string text(space);
    for (std::size_t i = 0; i < option.values.size(); ++i) {
        if (i > 0)
            text += "|";
        text += Italic(option.values[i]);
    }
    return text;
}

std::string OptionTerm(const OptionSpec& option)
{
    std::string term;
    if (!option.shortName.empty())
        term = Bold(option.shortName) + ", ";
    return term + Bold(option.name) + Argument(option);
}

// "[OPTIONS] PATH..." with the names in italics and the brackets and dots upright.
std::string Operands(std::string_view operands)
{
    std::string text;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            text += Italic(word);
        word.clear();
    };
    for (char c : operands) {
        if (std::isupper(static_cast<unsigned char>(c)) || c == '_') {
            word += c;
        } else {
            flush();
            text += c == '-' ? std::string("\\-") : std::string(1, c);
        }
    }
    flush();
    return text;
}

// One bracketed item of the synopsis: its spaces do not break, so a line ends
// only between items.
void WriteSynopsis(std::ostream& out, const CommandSpec& command, std::string_view program)
{
    out << ".PP\n" << Bold(program) << "\\ " << Bold(command.name) << '\n';
    for (const SynopsisGroup& group : SynopsisGroups(command)) {
        out << '[' << Bold(group.option->name) << Argument(*group.option, "\\ ");
        if (group.partner)
            out << "\\ |\\ " << Bold(group.partner->name) << Argument(*group.partner, "\\ ");
        out << "]\n";
    }
    if (!command.operands.empty())
        out << Operands(command.operands) << '\n';
}

void WriteTaggedList(std::ostream& out, std::span<const DescribedItem> items, bool bold)
{
    for (const DescribedItem& item : items)
        out << ".TP\n" << (bold ? Bold(item.name) : Troff(item.name)) << '\n' << Troff(item.text) << '\n';
}

} // namespace

void WriteManualPage(std::ostream& out)
{
    const ProgramSpec& program = Program();
    std::string upper(program.name);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    out << ".\\\" Written by the build from the command's option table; edit that table, not this file.\n"
        << ".TH " << upper << " 1 \"\" \"" << Troff(program.name) << ' ' << Troff(program.version)
        << "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << Troff(program.name) << " \\- " << Troff(program.summary) << '\n'
        // Not hyphenated: a reader searches the page for the words of the options.
        << ".nh\n"
        << ".SH SYNOPSIS\n"
        << ".ad l\n";
    for (const CommandSpec& command : program.commands)
        WriteSynopsis(out, command, program.name);
    out << ".PP\n" << Bold(program.name) << " [" << Bold("--help") << " | " << Bold("--version") << "]\n"
        << ".ad b\n";

    out << ".SH DESCRIPTION\n" << Troff(program.description) << '\n';

    out << ".SH COMMANDS\n";
    for (const CommandSpec& command : program.commands) {
        out << ".TP\n" << Bold(command.name);
        if (!command.operands.empty())
            out << ' ' << Operands(command.operands);
        out << '\n' << Troff(command.description) << '\n';
        if (command.options.empty())
            continue;
        out << ".RS\n";
        for (const OptionSpec& option : command.options)
            out << ".TP\n" << OptionTerm(option) << '\n' << Troff(option.help) << '\n';
        out << ".RE\n";
    }

    out << ".SH OPTIONS\n";
    for (const OptionSpec& option : program.options)
        out << ".TP\n" << OptionTerm(option) << '\n' << Troff(option.help) << '\n';

    out << ".SH \"EXIT STATUS\"\n";
    WriteTaggedList(out, program.exitStatuses, false);
    out << ".SH ENVIRONMENT\n";
    WriteTaggedList(out, program.environment, true);
    out << ".SH FILES\n";
    WriteTaggedList(out, program.files, false);
}

} // namespace orvane::cli

#include "command_line.h"

#include <ostream>
#include <string>

namespace orvane::cli {
namespace {

// Names and values go into the script unquoted: the table holds words of
// letters, digits and hyphens only, which the tests make sure of.
std::string Words(std::span<const std::string_view> words)
{
    std::string text;
    for (std::string_view word : words) {
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}

std::string OptionWords(std::span<const OptionSpec> options)
{
    std::string text;
    for (const OptionSpec& option : options) {
        if (!text.empty())
            text += ' ';
        text += option.name;
        if (!option.shortName.empty())
            text += ' ' + std::string(option.shortName);
    }
    return text;
}

std::string CommandWords()
{
    std::string text;
    for (const CommandSpec& command : Program().commands) {
        if (!text.empty())
            text += ' ';
        text += command.name;
    }
    return text;
}

// What completes a value or an operand of that kind; nothing for a number or free text.
std::string CompletionOf(ValueKind kind, std::span<const std::string_view> values)
{
    switch (kind) {
    case ValueKind::Choice:
        return "_orvane_words '" + Words(values) + "'";
    case ValueKind::File:
    case ValueKind::Path:
        return "_orvane_files";
    case ValueKind::Command:
        return "_orvane_words '" + CommandWords() + "'";
    default:
        return ":";
    }
}

void WriteCommandCase(std::ostream& out, const CommandSpec& command)
{
    out << "    " << command.name << ")\n";
    // A pass over the words after the command: which option waits for its
    // value, and how many operands are there already.
    std::string valued;
    for (const OptionSpec& option : command.options) {
        if (option.kind == ValueKind::None)
            continue;
        valued += valued.empty() ? "" : "|";
        valued += option.name;
    }
    out << "        local expect='' operands=0 i\n"
        << "        for (( i = 2; i < COMP_CWORD; i++ )); do\n"
        << "            if [[ -n $expect ]]; then expect=''; continue; fi\n"
        << "            case ${COMP_WORDS[i]} in\n";
    if (!valued.empty())
        out << "            " << valued << ") expect=${COMP_WORDS[i]} ;;\n";
    out << "            -) operands=$((operands + 1)) ;;\n"
        << "            -*) ;;\n"
        << "            *) operands=$((operands + 1)) ;;\n"
        << "            esac\n"
        << "        done\n";
    if (!valued.empty()) {
        out << "        case $expect in\n";
        for (const OptionSpec& option : command.options) {
            if (option.kind != ValueKind::None)
                out << "        " << option.name << ") " << CompletionOf(option.kind, option.values) << "; return ;;\n";
        }
        out << "        esac\n";
    }
    out << "        if [[ $cur == -* ]]; then\n"
        << "            _orvane_words '" << OptionWords(command.options) << "'\n";
    if (command.maxOperands < 0)
        out << "        else\n";
    else
        out << "        elif (( operands < " << command.maxOperands << " )); then\n";
    out << "            " << CompletionOf(command.operandKind, {}) << "\n"
        << "        fi\n"
        << "        ;;\n";
}

} // namespace

void WriteBashCompletion(std::ostream& out)
{
    const ProgramSpec& program = Program();
    out << "# bash completion for " << program.name << " " << program.version
        << ": its commands, their options, the options' values and file names.\n"
        << "# Written by the build from the command's option table; edit that table, not this file.\n"
        << "\n"
        << "_orvane_words()\n"
        << "{\n"
        << "    mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$cur\")\n"
        << "}\n"
        << "\n"
        << "_orvane_files()\n"
        << "{\n"
        << "    compopt -o filenames 2>/dev/null\n"
        << "    mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
        << "}\n"
        << "\n"
        << "_orvane()\n"
        << "{\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]}\n"
        << "    COMPREPLY=()\n"
        << "    if (( COMP_CWORD == 1 )); then\n"
        << "        if [[ $cur == -* ]]; then\n"
        << "            _orvane_words '" << OptionWords(program.options) << "'\n"
        << "        else\n"
        << "            _orvane_words '" << CommandWords() << "'\n"
        << "        fi\n"
        << "        return\n"
        << "    fi\n"
        << "    case ${COMP_WORDS[1]} in\n";
    for (const CommandSpec& command : program.commands)
        WriteCommandCase(out, command);
    out << "    esac\n"
        << "}\n"
        << "\n"
        << "complete -F _orvane " << program.name << '\n';
}

} // namespace orvane::cli

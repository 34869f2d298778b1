#include "command_line.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

namespace orvane::cli {
namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kLabelColumn = 24;

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool IsValidValue(const OptionSpec& option, const std::string& value)
{
    switch (option.kind) {
    case ValueKind::Choice:
        return std::any_of(option.values.begin(), option.values.end(), [&](std::string_view valid) {
            return option.anyCase ? SameIgnoringCase(valid, value) : valid == value;
        });
    case ValueKind::Number:
        return !value.empty() && value.size() <= 4 &&
               value.find_first_not_of("0123456789") == std::string::npos &&
               value.find_first_not_of('0') != std::string::npos;
    default:
        return true;
    }
}

// "A, AA, AAA or 508"
std::string ListOfValues(std::span<const std::string_view> values)
{
    std::string list;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            list += i + 1 == values.size() ? " or " : ", ";
        list += values[i];
    }
    return list;
}

std::string Joined(std::span<const std::string_view> values, std::string_view between)
{
    std::string text;
    for (std::string_view value : values) {
        if (!text.empty())
            text += between;
        text += value;
    }
    return text;
}

// How the option's value is shown: its values where it has a few, else its name.
std::string ArgumentText(const OptionSpec& option)
{
    if (option.kind == ValueKind::Choice)
        return Joined(option.values, "|");
    return std::string(option.argument);
}

std::string OptionLabel(const OptionSpec& option)
{
    std::string label;
    if (!option.shortName.empty())
        label = std::string(option.shortName) + ", ";
    label += option.name;
    if (option.kind != ValueKind::None)
        label += " " + ArgumentText(option);
    return label;
}

std::string OptionWithValue(const OptionSpec& option)
{
    std::string text(option.name);
    if (option.kind != ValueKind::None)
        text += " " + ArgumentText(option);
    return text;
}

std::vector<std::string> SynopsisItems(const CommandSpec& command)
{
    std::vector<std::string> items;
    for (const SynopsisGroup& group : SynopsisGroups(command)) {
        std::string item = "[" + OptionWithValue(*group.option);
        if (group.partner)
            item += " | " + OptionWithValue(*group.partner);
        items.push_back(item + "]");
    }
    if (!command.operands.empty())
        items.emplace_back(command.operands);
    return items;
}

// Options besides --help, which every command has.
bool HasOwnOptions(const CommandSpec& command)
{
    return std::any_of(command.options.begin(), command.options.end(),
                       [](const OptionSpec& option) { return option.id != OptionId::Help; });
}

// Words filled into lines of at most kWidth characters; the first line
// follows what is already written on it, the others start at indent.
void WriteFilled(std::ostream& out, std::string_view text, std::size_t column, std::size_t indent)
{
    bool lineHasWord = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty())
            continue;
        if (lineHasWord && column + 1 + word.size() > kWidth) {
            out << '\n' << std::string(indent, ' ');
            column = indent;
            lineHasWord = false;
        }
        if (lineHasWord) {
            out << ' ';
            ++column;
        }
        out << word;
        column += word.size();
        lineHasWord = true;
    }
    out << '\n';
}

// "  label    text", the text in a column of its own; a long label has the
// text on the next line.
void WriteItem(std::ostream& out, std::string_view label, std::string_view text)
{
    out << "  " << label;
    std::size_t column = 2 + label.size();
    if (column + 2 > kLabelColumn) {
        out << '\n';
        column = 0;
    }
    out << std::string(kLabelColumn - column, ' ');
    WriteFilled(out, text, kLabelColumn, kLabelColumn);
}

void WriteOptionList(std::ostream& out, std::span<const OptionSpec> options)
{
    for (const OptionSpec& option : options)
        WriteItem(out, OptionLabel(option), option.help);
}

std::string CommandLabel(const CommandSpec& command)
{
    std::string label(command.name);
    if (HasOwnOptions(command))
        label += " [OPTIONS]";
    if (!command.operands.empty())
        label += " " + std::string(command.operands);
    return label;
}

void WriteCommandList(std::ostream& out)
{
    out << "commands:\n";
    for (const CommandSpec& command : Program().commands)
        WriteItem(out, CommandLabel(command), command.summary);
}

void WriteDescribed(std::ostream& out, std::string_view title, std::span<const DescribedItem> items)
{
    out << '\n' << title << ":\n";
    for (const DescribedItem& item : items)
        WriteItem(out, item.name, item.text);
}

} // namespace

std::vector<SynopsisGroup> SynopsisGroups(const CommandSpec& command)
{
    std::vector<SynopsisGroup> groups;
    for (const OptionSpec& option : command.options) {
        if (option.id == OptionId::Help)
            continue;
        const OptionSpec* partner = option.excludes.empty() ? nullptr : FindOption(command, option.excludes);
        // Shown with the partner that comes first.
        if (partner && partner < &option)
            continue;
        groups.push_back({&option, partner});
    }
    return groups;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

std::string JoinList(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string TakesMessage(const OptionSpec& option)
{
    std::string takes = option.kind == ValueKind::Choice ? ListOfValues(option.values) : std::string(option.takes);
    return std::string(option.name) + " takes " + takes;
}

// Options that may be given more than once, each adding to what the others gave.
static bool IsRepeatable(OptionId id) { return id == OptionId::Set || id == OptionId::Only; }

std::string ParseCommandLine(const CommandSpec& command, const std::vector<std::string>& args, CommandLine& line)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            line.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value" is "--name value" in one word.
        const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = equals == std::string::npos ? arg : arg.substr(0, equals);
        const OptionSpec* option = FindOption(command, name);
        if (!option) {
            if (arg.size() > 1 && arg[0] == '-')
                return "unknown option " + name;
            line.operands.push_back(arg);
            continue;
        }
        if (option->id == OptionId::Help && equals == std::string::npos) {
            line.helpAsked = true;
            return {};
        }
        GivenOption given{option, {}};
        if (option->kind == ValueKind::None) {
            if (equals != std::string::npos)
                return std::string(option->name) + " takes no value";
        } else if (equals != std::string::npos) {
            given.value = arg.substr(equals + 1);
        } else {
            // An option in the place of the value means the value was left out;
            // taking "--all" as a file name would write a report nobody asked for.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
                return TakesMessage(*option);
            given.value = args[++i];
        }
        if (option->kind != ValueKind::None && !IsValidValue(*option, given.value))
            return TakesMessage(*option);
        if (option->kind != ValueKind::None && !IsRepeatable(option->id) &&
            std::any_of(line.options.begin(), line.options.end(),
                        [&](const GivenOption& earlier) { return earlier.spec == option; }))
            return std::string(option->name) + " is given more than once";
        line.options.push_back(std::move(given));
    }
    const int count = static_cast<int>(line.operands.size());
    if (count < command.minOperands && !command.missingOperands.empty())
        return std::string(command.missingOperands);
    if (count < command.minOperands || (command.maxOperands >= 0 && count > command.maxOperands))
        return "expects " + std::string(command.operands);
    auto given = [&](std::string_view name) {
        return std::any_of(line.options.begin(), line.options.end(),
                           [&](const GivenOption& option) { return option.spec->name == name; });
    };
    // Named in the table's order, whichever came first on the command line.
    for (const OptionSpec& option : command.options) {
        if (!option.excludes.empty() && given(option.name) && given(option.excludes))
            return std::string(option.name) + " and " + std::string(option.excludes) + " exclude each other";
    }
    return {};
}

void WriteUsage(const CommandSpec& command, std::ostream& out)
{
    const std::string lead = "usage: " + std::string(Program().name) + " " + std::string(command.name);
    out << lead;
    std::size_t column = lead.size();
    for (const std::string& item : SynopsisItems(command)) {
        if (column + 1 + item.size() > kWidth && column > lead.size()) {
            out << '\n' << std::string(lead.size(), ' ');
            column = lead.size();
        }
        out << ' ' << item;
        column += 1 + item.size();
    }
    out << '\n';
}

void WriteCommandHelp(const CommandSpec& command, std::ostream& out)
{
    WriteUsage(command, out);
    out << '\n';
    WriteFilled(out, command.description, 0, 0);
    if (!command.options.empty()) {
        out << "\noptions:\n";
        WriteOptionList(out, command.options);
    }
}

void WriteProgramUsage(std::ostream& out)
{
    const ProgramSpec& program = Program();
    out << "usage: " << program.name << " COMMAND [OPTIONS] [ARGUMENTS]\n"
        << "       " << program.name << " --help | --version\n";
    WriteCommandList(out);
}

void WriteProgramHelp(std::ostream& out)
{
    const ProgramSpec& program = Program();
    WriteProgramUsage(out);
    out << '\n';
    WriteFilled(out, program.description, 0, 0);
    for (const CommandSpec& command : program.commands) {
        if (HasOwnOptions(command)) {
            out << "\noptions of " << command.name << ":\n";
            WriteOptionList(out, command.options);
        }
    }
    out << "\noptions:\n";
    WriteOptionList(out, program.options);
    WriteDescribed(out, "exit status", program.exitStatuses);
    WriteDescribed(out, "environment", program.environment);
    out << '\n';
    WriteFilled(out,
                "Run '" + std::string(program.name) + " COMMAND --help' for one command's options, 'man " +
                    std::string(program.name) + "' for the manual.",
                0, 0);
}

void WriteVersion(std::ostream& out)
{
    out << Program().name << ' ' << Program().version << '\n';
}

} // namespace orvane::cli

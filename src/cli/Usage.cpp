// The usage texts, built from the command table: the general one lists every row, a command's
// own gives its row and the notes that explain it.
#include <algorithm>
#include <string>

#include "Cli.h"
#include "CliCommands.h"

namespace zandrel::cli {

namespace {

std::string CommandLine(const Command& command) {
    return std::string(kProgramName) + " " + std::string(command.name) + " " +
           std::string(command.usage);
}

std::string NoteText(const UsageNote& note) {
    return std::string(note.subject) + ": " + note.text;
}

// Whether `word` is one of the usage's words, brackets and bars aside.
bool HasWord(std::string_view usage, std::string_view word) {
    constexpr std::string_view kSeparators = " []|";
    for (std::size_t start = usage.find_first_not_of(kSeparators);
         start != std::string_view::npos;) {
        const std::size_t end = std::min(usage.find_first_of(kSeparators, start), usage.size());
        if (usage.substr(start, end - start) == word)
            return true;
        start = usage.find_first_not_of(kSeparators, end);
    }
    return false;
}

bool Explains(const UsageNote& note, const Command& command) {
    return note.subject == command.name || HasWord(command.usage, note.subject);
}

} // namespace

std::string UsageText() {
    std::string text = "Uso:\n";
    for (const Command& command : Commands())
        text += "  " + CommandLine(command) + "\n";
    text += "  " + std::string(kProgramName) + " COMMAND --help\n";
    text += "  " + std::string(kProgramName) + " --version\n";
    for (const UsageNote& note : UsageNotes())
        text += NoteText(note);
    return text + "Saída: 0 sucesso, 1 falha (o arquivo não é alterado), 2 erro de uso.\n";
}

std::string CommandUsageText(const Command& command) {
    std::string text = "Uso: " + CommandLine(command) + "\n";
    for (const UsageNote& note : UsageNotes())
        if (Explains(note, command))
            text += NoteText(note);
    return text;
}

} // namespace zandrel::cli

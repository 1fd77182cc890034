#include "script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

std::string Lower(std::string s) {
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A whole word as a decimal integer; false for anything else, trailing garbage included.
bool ReadInt(const std::string &word, long nMin, long nMax, int &nOut) {
    if (word.empty())
        return false;
    char *pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(word.c_str(), &pEnd, 10);
    if (*pEnd != '\0' || errno != 0 || n < nMin || n > nMax)
        return false;
    nOut = int(n);
    return true;
}

// Parses the words of one step into step; returns what is wrong, or empty.
std::string ParseStep(const std::vector<std::string> &words, ScriptStep &step) {
    const std::string verb = Lower(words[0]);
    const size_t nArgs = words.size() - 1;
    if (verb == "move") {
        step.kind = ScriptStep::Move;
        if (nArgs != 2 || !ReadInt(words[1], -32768, 32767, step.x) ||
            !ReadInt(words[2], -32768, 32767, step.y))
            return "move needs two whole numbers, X and Y";
    } else if (verb == "press" || verb == "release") {
        step.kind = verb == "press" ? ScriptStep::Press : ScriptStep::Release;
        const std::string button = nArgs ? Lower(words[1]) : "left";
        if (nArgs > 1 || (button != "left" && button != "right"))
            return verb + " takes left or right";
        step.bRight = button == "right";
    } else if (verb == "key" || verb == "hold" || verb == "letgo") {
        step.kind = verb == "key"    ? ScriptStep::Key
                    : verb == "hold" ? ScriptStep::Hold
                                     : ScriptStep::LetGo;
        if (nArgs != 1)
            return verb + " needs one key name";
        step.nVk = VirtualKeyOfName(words[1]);
        if (!step.nVk)
            return "unknown key '" + words[1] + "'";
    } else if (verb == "wait") {
        step.kind = ScriptStep::Wait;
        if (nArgs != 1 || !ReadInt(words[1], 0, 60000, step.nMilliseconds))
            return "wait needs milliseconds from 0 to 60000";
    } else {
        return "unknown step '" + words[0] + "' (move, press, release, key, hold, letgo or wait)";
    }
    return {};
}

} // namespace

unsigned short VirtualKeyOfName(const std::string &name) {
    static const struct {
        const char *szName;
        unsigned short nVk;
    } keys[] = {{"enter", 0x0D},   {"return", 0x0D}, {"escape", 0x1B},    {"esc", 0x1B},
                {"tab", 0x09},     {"space", 0x20},  {"backspace", 0x08}, {"delete", 0x2E},
                {"left", 0x25},    {"up", 0x26},     {"right", 0x27},     {"down", 0x28},
                {"shift", 0x10},   {"ctrl", 0x11},   {"control", 0x11},   {"pageup", 0x21},
                {"pagedown", 0x22}};
    const std::string lower = Lower(name);
    for (const auto &key : keys)
        if (lower == key.szName)
            return key.nVk;
    // Letters and digits are their own upper-case character codes.
    if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0])))
        return static_cast<unsigned short>(std::toupper(static_cast<unsigned char>(lower[0])));
    return 0;
}

ParsedScript ParseScript(const std::string &text) {
    ParsedScript script;
    // Editors that save UTF-8 may put a byte-order mark first; it is no part of the first step.
    const char kByteOrderMark[] = "\xEF\xBB\xBF";
    std::istringstream lines(text.compare(0, 3, kByteOrderMark) == 0 ? text.substr(3) : text);
    std::string line;
    int nLine = 0;
    while (std::getline(lines, line)) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string code = line.substr(0, line.find('#'));
        std::istringstream wordStream(code);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;)
            words.push_back(word);
        if (words.empty())
            continue;
        ScriptStep step{};
        step.nLine = nLine;
        step.text = line;
        const std::string problem = ParseStep(words, step);
        if (!problem.empty()) {
            script.steps.clear();
            script.error = "line " + std::to_string(nLine) + ": " + problem;
            return script;
        }
        script.steps.push_back(step);
    }
    return script;
}

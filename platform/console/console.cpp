#include "platform/console/console.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <optional>

#include "platform/clock.h"
#include "platform/shell/notify_icon.h"
#include "platform/text.h"
#include "platform/ui/dialog.h"
#include "platform/ui/user_input.h"
#include "platform/ui/window.h"
#include "platform/ui/window_text.h"

namespace kw::console {

namespace {

// Most timer periods one `tick` may ask for.
constexpr long long kMaxTicks = 1000000;
// How long a terminal read waits at most, so work posted from other threads is not held up.
constexpr int kTerminalPollMs = 250;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Optional minus, then decimal digits only, inside [low, high].
std::optional<long long> ParseInteger(const std::string& text, long long low, long long high) {
    size_t at = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (at == text.size() || text.size() - at > 12) return std::nullopt;
    long long value = 0;
    for (size_t i = at; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (at) value = -value;
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<int> ParseId(const std::string& text) {
    auto value = ParseInteger(text, -0x7FFFFFFFLL, 0x7FFFFFFFLL);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// The command's text without a trailing comment (a '#' after a blank).
std::string WithoutComment(const std::string& line) {
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '#' && IsBlank(line[i - 1])) return line.substr(0, i);
    }
    return line;
}

// For `type ID TEXT`: everything after the one blank that follows ID.
std::string TextAfterId(const std::string& line) {
    size_t at = 0;
    for (int word = 0; word < 2; ++word) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        while (at < line.size() && !IsBlank(line[at])) ++at;
    }
    return at < line.size() ? line.substr(at + 1) : std::string();
}

}  // namespace

CConsole::CConsole(std::istream& in, std::ostream& out)
    : reader_(std::make_unique<StreamLineReader>(in)), out_(out), terminal_(false) {}

CConsole::CConsole(int terminalFd, std::ostream& out)
    : reader_(std::make_unique<FdLineReader>(terminalFd)), out_(out), terminal_(true) {}

CConsole::~CConsole() {
    if (ui::InputSource() == this) ui::SetInputSource(nullptr);
}

bool CConsole::IsTerminal(int fd) { return ::isatty(fd) == 1; }

std::unique_ptr<CConsole> MakeStandardConsole() {
    if (CConsole::IsTerminal(STDIN_FILENO)) return std::make_unique<CConsole>(STDIN_FILENO, std::cout);
    return std::make_unique<CConsole>(std::cin, std::cout);
}

void CConsole::Attach() {
    clock::UseVirtualTime(!terminal_);
    ui::SetInputSource(this);
}

void CConsole::RegisterCommand(const std::string& word, CommandHandler handler) {
    extraCommands_[word] = std::move(handler);
}

void CConsole::SetEndOfInputHandler(std::function<void()> handler) { endOfInput_ = std::move(handler); }

void CConsole::PrintLine(const std::string& line) {
    std::lock_guard lock(outMutex_);
    out_ << line << '\n';
    out_.flush();
}

void CConsole::Error(const std::string& text) { PrintLine("error: " + text); }

void CConsole::ErrorIfAny(const std::string& text) {
    if (!text.empty()) Error(text);
}

void CConsole::OnEvent(const std::string& line) { PrintLine(line); }

void CConsole::EndInput() {
    if (ended_) return;
    ended_ = true;
    if (endOfInput_) endOfInput_();
}

void CConsole::Redraw() {
    if (ui::CDialog* dialog = ui::ActiveDialog()) {
        for (const auto& line : ui::DescribeDialog(*dialog)) PrintLine(line);
    }
}

bool CConsole::Step() {
    if (ended_) return false;
    if (pendingMenuCommand_ != 0) {
        // A `tray menu` whose right click showed no menu.
        Error("no menu was shown");
        pendingMenuCommand_ = 0;
    }
    int timeout = -1;
    if (terminal_) {
        if (redrawDue_) {
            Redraw();
            redrawDue_ = false;
        }
        if (!prompted_) {
            std::lock_guard lock(outMutex_);
            out_ << "> ";
            out_.flush();
            prompted_ = true;
        }
        int64_t untilTimer = ui::MsUntilNextTimer();
        timeout = untilTimer < 0 ? kTerminalPollMs : static_cast<int>(std::min<int64_t>(untilTimer, kTerminalPollMs));
    }
    std::string line;
    switch (reader_->Read(line, timeout)) {
        case ReadResult::Line:
            prompted_ = false;
            redrawDue_ = true;
            Execute(line);
            break;
        case ReadResult::Timeout:
            break;
        case ReadResult::End:
            EndInput();
            break;
    }
    return true;
}

void CConsole::Execute(const std::string& rawLine) {
    size_t first = 0;
    while (first < rawLine.size() && IsBlank(rawLine[first])) ++first;
    if (first == rawLine.size() || rawLine[first] == '#') return;
    std::string line = rawLine.substr(first);
    std::vector<std::string> words = SplitWords(line);
    const std::string command = words[0];
    if (command != "type") words = SplitWords(WithoutComment(line));
    auto argCount = words.size() - 1;

    if (command == "quit") {
        if (argCount != 0) return Error("quit takes no arguments");
        return EndInput();
    }
    if (command == "answer") {
        static const std::map<std::string, int> kAnswers{{"yes", ui::IDYES}, {"no", ui::IDNO}, {"ok", ui::IDOK}};
        auto found = argCount == 1 ? kAnswers.find(words[1]) : kAnswers.end();
        if (found == kAnswers.end()) return Error("answer takes yes, no or ok");
        std::lock_guard lock(answerMutex_);
        answers_.push_back(found->second);
        return;
    }
    if (command == "tray") return ExecuteTray(words);
    if (auto extra = extraCommands_.find(command); extra != extraCommands_.end()) {
        std::string error = extra->second(std::vector<std::string>(words.begin() + 1, words.end()));
        if (!error.empty()) Error(error);
        return;
    }
    if (command == "tick") {
        std::optional<long long> count = 1;
        if (argCount > 1) return Error("tick takes one count");
        if (argCount == 1) count = ParseInteger(words[1], 0, kMaxTicks);
        if (!count) return Error("tick takes a count from 0 to " + std::to_string(kMaxTicks));
        ui::QueueTicks(static_cast<uint64_t>(*count));
        return;
    }

    ui::CDialog* dialog = ui::ActiveDialog();
    static const std::map<std::string, size_t> kWindowCommands{
        {"show", 0}, {"close", 0}, {"key", 1}, {"get", 1}, {"items", 1}, {"click", 1},
        {"select", 2}, {"dblclick", 2}, {"scroll", 2}, {"type", 1}};
    auto shape = kWindowCommands.find(command);
    if (shape == kWindowCommands.end()) return Error("unknown command " + command);
    if (command == "type" ? argCount < 1 : argCount != shape->second) {
        return Error(command + " takes " + std::to_string(shape->second) + " argument(s)");
    }
    if (!dialog) return Error("no active window");

    if (command == "show") {
        for (const auto& text : ui::DescribeDialog(*dialog)) PrintLine(text);
        return;
    }
    if (command == "close") return ErrorIfAny(ui::user::Close(*dialog));
    if (command == "key") {
        if (words[1] == "enter") return ErrorIfAny(ui::user::PressKey(*dialog, ui::Key::Enter));
        if (words[1] == "esc") return ErrorIfAny(ui::user::PressKey(*dialog, ui::Key::Escape));
        return Error("key takes enter or esc");
    }

    auto id = ParseId(words[1]);
    if (!id) return Error("not a control id: " + words[1]);
    ui::CControl* control = dialog->Item(*id);
    if (!control) return Error("no control " + words[1] + " in " + ui::QuoteText(dialog->Caption()));

    if (command == "get") return PrintLine(ui::DescribeControl(*control));
    if (command == "items") {
        if (!ui::HasItems(*control)) return Error("control " + words[1] + " has no items");
        for (const auto& text : ui::DescribeItems(*control)) PrintLine(text);
        return;
    }
    if (command == "click") return ErrorIfAny(ui::user::Click(*dialog, *id));
    if (command == "type") return ErrorIfAny(ui::user::Type(*dialog, *id, FromUtf8(TextAfterId(line))));

    auto number = ParseId(words[2]);
    if (!number) return Error("not a number: " + words[2]);
    if (command == "select") return ErrorIfAny(ui::user::Select(*dialog, *id, *number));
    if (command == "dblclick") return ErrorIfAny(ui::user::DoubleClick(*dialog, *id, *number));
    if (command == "scroll") return ErrorIfAny(ui::user::Scroll(*dialog, *id, *number));
}

void CConsole::ExecuteTray(const std::vector<std::string>& words) {
    static const std::map<std::string, shell::IconMouse> kMouse{
        {"click", shell::IconMouse::Click}, {"dblclick", shell::IconMouse::DoubleClick},
        {"rclick", shell::IconMouse::RightClick}};
    if (words.size() == 2) {
        auto found = kMouse.find(words[1]);
        if (found == kMouse.end()) return Error("tray takes click, dblclick, rclick or menu ID");
        return ErrorIfAny(shell::UseIcon(found->second));
    }
    if (words.size() == 3 && words[1] == "menu") {
        auto command = ParseId(words[2]);
        if (!command || *command == 0) return Error("not a menu command: " + words[2]);
        std::string error = shell::UseIcon(shell::IconMouse::RightClick);
        if (!error.empty()) return Error(error);
        pendingMenuCommand_ = *command;
        return;
    }
    Error("tray takes click, dblclick, rclick or menu ID");
}

int CConsole::AnswerMessageBox(const ui::MessageBoxRequest& box) {
    int answer = ui::FirstButton(box.buttons);
    {
        std::lock_guard lock(answerMutex_);
        if (answers_.empty()) return answer;
        answer = answers_.front();
        answers_.pop_front();
    }
    if (ui::HasButton(box.buttons, answer)) return answer;
    Error(std::string("answer ") + ui::AnswerName(answer) + " does not fit the box " + ui::QuoteText(box.caption));
    return ui::FirstButton(box.buttons);
}

int CConsole::ChooseMenuCommand(const std::vector<ui::MenuEntry>& entries) {
    int command = pendingMenuCommand_;
    pendingMenuCommand_ = 0;
    if (command == 0) return 0;
    bool listed =
        std::any_of(entries.begin(), entries.end(), [&](const ui::MenuEntry& e) { return e.command == command; });
    if (listed) return command;
    Error("the menu has no command " + std::to_string(command));
    return 0;
}

}  // namespace kw::console

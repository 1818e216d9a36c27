#include "platform/console/console.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <cstdio>
#include <optional>

#include "platform/clock.h"
#include "platform/console/edit_line_reader.h"
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
// How much of a waiting box's caption the prompt shows.
constexpr size_t kPromptCaptionUnits = 40;
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

struct CommandHelp {
    const char* word;
    const char* form;
    const char* summary;
};

constexpr CommandHelp kCommandHelp[] = {
    {"help", "help [COMMAND]", "list the commands, or show the form of one"},
    {"show", "show", "draw the active window: its caption, then one line per control"},
    {"get", "get ID", "one line for control ID: kind, text and state"},
    {"items", "items ID", "the items or rows of a list, one a line"},
    {"click", "click ID", "click a button, check box or radio button"},
    {"select", "select ID N", "choose item N of a combo box or list, or click row N of a list view"},
    {"dblclick", "dblclick ID N", "double-click row N of a list view"},
    {"type", "type ID TEXT", "replace the text of edit field ID with TEXT (the rest of the line)"},
    {"scroll", "scroll ID POS", "move track bar ID to POS"},
    {"close", "close", "the close box of the active window"},
    {"key", "key enter|esc", "press Enter or Esc in the active window"},
    {"answer", "answer yes|no|ok",
     "reply to the message box that waits (in a script: to the next box an action raises)"},
    {"tray", "tray click|dblclick|rclick|menu ID",
     "use the notification-area icon; menu ID right-clicks it and chooses command ID"},
    {"tick", "tick [N]", "let N timer periods pass (default 1)"},
    {"quit", "quit", "end the input: the program exits as when Exit is chosen"},
};

// Commands that only look, so they may run while a message box of this thread waits.
bool OnlyLooks(const std::string& command) {
    return command == "help" || command == "show" || command == "get" || command == "items" || command == "answer" ||
           command == "quit";
}

std::string ButtonList(ui::MessageBoxButtons buttons) {
    return buttons == ui::MessageBoxButtons::YesNo ? "yes/no" : "ok";
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out += escape;
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

CConsole::CConsole(int terminalFd, std::ostream& out) : out_(out), terminal_(true) {
    if (IsTerminal(terminalFd)) {
        reader_ = std::make_unique<EditLineReader>(terminalFd);
    } else {
        reader_ = std::make_unique<FdLineReader>(terminalFd);
    }
}

CConsole::~CConsole() {
    if (ui::InputSource() == this) ui::SetInputSource(nullptr);
}

bool CConsole::IsTerminal(int fd) { return ::isatty(fd) == 1; }

std::unique_ptr<CConsole> MakeStandardConsole() {
    if (CConsole::IsTerminal(STDIN_FILENO)) return std::make_unique<CConsole>(STDIN_FILENO, std::cout);
    return std::make_unique<CConsole>(std::cin, std::cout);
}

void CConsole::Attach() {
    uiThread_ = std::this_thread::get_id();
    clock::UseVirtualTime(!terminal_);
    ui::SetInputSource(this);
}

void CConsole::RegisterCommand(const std::string& word, const std::string& form, const std::string& summary,
                               CommandHandler handler) {
    extraCommands_[word] = ExtraCommand{form, summary, std::move(handler)};
}

void CConsole::SetEndOfInputHandler(std::function<void()> handler) { endOfInput_ = std::move(handler); }

std::string VisibleText(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape(out, "\\x%02X", byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            AppendEscape(out, "\\u%04X", static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
    return out;
}

void CConsole::PrintLine(const std::string& line) {
    std::lock_guard lock(outMutex_);
    if (terminal_) {
        reader_->PrintAbove(out_, VisibleText(line));
        prompted_ = false;
        return;
    }
    out_ << VisibleText(line) << '\n';
    out_.flush();
}

void CConsole::Error(const std::string& text) { PrintLine("error: " + text); }

void CConsole::ErrorIfAny(const std::string& text) {
    if (!text.empty()) Error(text);
}

void CConsole::OnEvent(const std::string& line) { PrintLine(line); }

void CConsole::OnFrameEvent(const std::string& line) {
    // A person at a terminal would see a line a second; a script keeps every frame.
    if (!terminal_) PrintLine(line);
}

void CConsole::EndInput() {
    if (ended_) return;
    {
        std::lock_guard lock(answerMutex_);
        ended_ = true;
        answered_.notify_all();
    }
    if (endOfInput_) endOfInput_();
}

// Lines of the active window that differ from what the last command found.
void CConsole::PrintChangedLines() {
    if (!beforeCommand_) return;
    WindowLines before = std::move(*beforeCommand_);
    beforeCommand_.reset();
    ui::CDialog* dialog = ui::ActiveDialog();
    if (!dialog || dialog->Handle() != before.window) return;
    std::vector<std::string> now = ui::DescribeDialog(*dialog);
    for (size_t i = 0; i < now.size(); ++i) {
        if (i >= before.lines.size() || now[i] != before.lines[i]) PrintLine(now[i]);
    }
}

std::string CConsole::PromptText() {
    std::lock_guard lock(answerMutex_);
    if (waitingBoxes_.empty()) return "> ";
    // Short enough for one line of a terminal: the question itself was printed above it.
    const ui::MessageBoxRequest& box = waitingBoxes_.front()->box;
    std::u16string caption = box.caption.substr(0, kPromptCaptionUnits);
    return "messagebox " + VisibleText(ui::QuoteText(caption)) + " answer " + ButtonList(box.buttons) + "> ";
}

void CConsole::Prompt() {
    std::string prompt = PromptText();
    std::lock_guard lock(outMutex_);
    if (reader_->ShowsPrompt()) {
        reader_->SetPrompt(prompt);
    } else if (!prompted_) {
        out_ << prompt;
        out_.flush();
        prompted_ = true;
    }
}

void CConsole::ReadAndExecute(int timeoutMs) {
    std::string line;
    switch (reader_->Read(line, timeoutMs)) {
        case ReadResult::Line:
            prompted_ = false;
            if (terminal_) {
                if (ui::CDialog* dialog = ui::ActiveDialog()) {
                    beforeCommand_ = WindowLines{dialog->Handle(), ui::DescribeDialog(*dialog)};
                }
            }
            Execute(line);
            break;
        case ReadResult::Timeout:
            break;
        case ReadResult::End:
            EndInput();
            break;
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
        PrintChangedLines();
        Prompt();
        int64_t untilTimer = ui::MsUntilNextTimer();
        timeout = untilTimer < 0 ? kTerminalPollMs : static_cast<int>(std::min<int64_t>(untilTimer, kTerminalPollMs));
    }
    ReadAndExecute(timeout);
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

    std::optional<ui::MessageBoxButtons> boxOfThisThread;
    {
        std::lock_guard lock(answerMutex_);
        if (!waitingBoxes_.empty() && OnUiThread() && terminal_) boxOfThisThread = waitingBoxes_.front()->box.buttons;
    }
    if (boxOfThisThread && !OnlyLooks(command)) {
        return Error("a message box waits: answer " + ButtonList(*boxOfThisThread) + " first");
    }
    if (command == "quit") {
        if (argCount != 0) return Error("quit takes no arguments");
        return EndInput();
    }
    if (command == "help") return ExecuteHelp(words);
    if (command == "answer") return ExecuteAnswer(words);
    if (command == "tray") return ExecuteTray(words);
    if (auto extra = extraCommands_.find(command); extra != extraCommands_.end()) {
        std::string error = extra->second.handler(std::vector<std::string>(words.begin() + 1, words.end()));
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
    if (shape == kWindowCommands.end()) return Error("unknown command " + command + " (help lists the commands)");
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

void CConsole::ExecuteHelp(const std::vector<std::string>& words) {
    if (words.size() > 2) return Error("help takes at most one command");
    auto line = [](const std::string& form, const std::string& summary) {
        std::string padded = form;
        padded.resize(std::max<size_t>(form.size() + 2, 36), ' ');
        return padded + summary;
    };
    if (words.size() == 1) {
        for (const auto& help : kCommandHelp) PrintLine(line(help.form, help.summary));
        for (const auto& [word, extra] : extraCommands_) PrintLine(line(extra.form, extra.summary));
        return;
    }
    for (const auto& help : kCommandHelp) {
        if (words[1] == help.word) {
            PrintLine(std::string("usage: ") + help.form);
            return PrintLine(std::string("  ") + help.summary);
        }
    }
    if (auto extra = extraCommands_.find(words[1]); extra != extraCommands_.end()) {
        PrintLine("usage: " + extra->second.form);
        return PrintLine("  " + extra->second.summary);
    }
    Error("unknown command " + words[1] + " (help lists the commands)");
}

void CConsole::ExecuteAnswer(const std::vector<std::string>& words) {
    static const std::map<std::string, int> kAnswers{{"yes", ui::IDYES}, {"no", ui::IDNO}, {"ok", ui::IDOK}};
    auto found = words.size() == 2 ? kAnswers.find(words[1]) : kAnswers.end();
    if (found == kAnswers.end()) return Error("answer takes yes, no or ok");
    std::unique_lock lock(answerMutex_);
    if (!terminal_) {
        answers_.push_back(found->second);
        return;
    }
    if (waitingBoxes_.empty()) {
        lock.unlock();
        return Error("no message box waits for an answer");
    }
    WaitingBox* box = waitingBoxes_.front();
    if (!ui::HasButton(box->box.buttons, found->second)) {
        lock.unlock();
        return Error("the message box takes " + ButtonList(box->box.buttons));
    }
    box->answer = found->second;
    waitingBoxes_.pop_front();
    answered_.notify_all();
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

// A terminal's box waits for the person. On the user-interface thread this reads and runs the
// commands that may come meanwhile; another thread just waits.
int CConsole::WaitForAnswer(const ui::MessageBoxRequest& box) {
    WaitingBox waiting{box, 0};
    PrintLine("messagebox: " + ui::QuoteText(box.caption) + " " + ui::QuoteText(box.text) + " [" +
              ButtonList(box.buttons) + "] waits for an answer");
    {
        std::lock_guard lock(answerMutex_);
        waitingBoxes_.push_back(&waiting);
    }
    if (OnUiThread()) {
        while (!ended_) {
            {
                std::lock_guard lock(answerMutex_);
                if (waiting.answer != 0) break;
            }
            Prompt();
            ReadAndExecute(kTerminalPollMs);
        }
    } else {
        Prompt();
        std::unique_lock lock(answerMutex_);
        answered_.wait(lock, [&] { return waiting.answer != 0 || ended_; });
    }
    std::lock_guard lock(answerMutex_);
    std::erase(waitingBoxes_, &waiting);
    return waiting.answer != 0 ? waiting.answer : ui::FirstButton(box.buttons);
}

int CConsole::AnswerMessageBox(const ui::MessageBoxRequest& box) {
    if (terminal_) return WaitForAnswer(box);
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

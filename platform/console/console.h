// The operator console: the screen and the mouse of the dialog framework. It reads commands,
// one a line, and turns them into user actions on the active window (the innermost modal
// dialog); it prints what happens as event lines. From a script it runs in virtual time, where
// only `tick` moves the timers, and answers message boxes from the answers queued before. On a
// terminal it runs in real time with line editing: after each command it prints the lines of the
// window that changed, the tray's activity animation stays quiet, and a message box waits for an
// `answer` while the prompt shows what it asks. Every line it prints shows control characters as
// visible escapes: network names and language texts come from outside.
//
// Commands: tick [N], show, get ID, items ID, click ID, select ID N, dblclick ID N,
// type ID TEXT (TEXT is the rest of the line after the blank that follows ID, leading blanks
// kept), scroll ID POS, close, key enter|esc, answer yes|no|ok, tray click|dblclick|rclick,
// tray menu ID (right-click the icon and choose command ID), quit; plus the words the program
// registers (such as "sim"). A line whose first character that is not a blank is '#' is a
// comment, and outside `type` a '#' after a blank starts a comment. A command that does not fit
// prints one line starting with "error:" and changes nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/console/line_reader.h"
#include "platform/ui/input_source.h"
#include "platform/ui/types.h"

namespace kw::console {

class CConsole : public ui::IInputSource {
public:
    // Reads a script from the stream, in virtual time.
    CConsole(std::istream& in, std::ostream& out);
    // Reads a terminal's file descriptor, in real time.
    CConsole(int terminalFd, std::ostream& out);
    ~CConsole() override;
    CConsole(const CConsole&) = delete;
    CConsole& operator=(const CConsole&) = delete;

    static bool IsTerminal(int fd);

    // Installs the console as the input source and sets the time mode.
    void Attach();

    // An extra command word. The handler gets the words after it and returns an error text
    // (printed as "error: ..."), or an empty text when the command was done. Form and summary
    // are what `help` shows.
    using CommandHandler = std::function<std::string(const std::vector<std::string>& args)>;
    void RegisterCommand(const std::string& word, const std::string& form, const std::string& summary,
                         CommandHandler handler);
    // What the program does when the input ends (end of file or `quit`); called once.
    void SetEndOfInputHandler(std::function<void()> handler);
    bool InputEnded() const { return ended_; }

    // Runs one command line against the active window.
    void Execute(const std::string& line);
    // Prints one line; any thread.
    void PrintLine(const std::string& line);

    bool Step() override;
    int AnswerMessageBox(const ui::MessageBoxRequest& box) override;
    int ChooseMenuCommand(const std::vector<ui::MenuEntry>& entries) override;
    void OnEvent(const std::string& line) override;
    void OnFrameEvent(const std::string& line) override;

private:
    struct WaitingBox {
        ui::MessageBoxRequest box;
        int answer = 0;
    };
    struct WindowLines {
        ui::WindowHandle window = 0;
        std::vector<std::string> lines;
    };

    void EndInput();
    void Error(const std::string& text);
    void ErrorIfAny(const std::string& text);
    void ExecuteTray(const std::vector<std::string>& words);
    void ExecuteHelp(const std::vector<std::string>& words);
    void ExecuteAnswer(const std::vector<std::string>& words);
    void ReadAndExecute(int timeoutMs);
    void Prompt();
    std::string PromptText();
    void PrintChangedLines();
    int WaitForAnswer(const ui::MessageBoxRequest& box);
    bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

    std::unique_ptr<LineReader> reader_;
    std::ostream& out_;
    bool terminal_;
    std::atomic<bool> ended_{false};
    bool prompted_ = false;
    int pendingMenuCommand_ = 0;
    std::thread::id uiThread_;
    std::optional<WindowLines> beforeCommand_;  // terminal: the window as the last command found it
    struct ExtraCommand {
        std::string form;
        std::string summary;
        CommandHandler handler;
    };
    std::map<std::string, ExtraCommand> extraCommands_;
    std::function<void()> endOfInput_;

    std::mutex outMutex_;
    std::mutex answerMutex_;
    std::deque<int> answers_;            // a script's answers, for the boxes still to come
    std::deque<WaitingBox*> waitingBoxes_;  // a terminal's boxes, oldest first
    std::condition_variable answered_;
};

// A line as the console prints it: control characters (C0, DEL, C1) as \xNN or \u00NN escapes.
std::string VisibleText(const std::string& utf8);

// The console of the program: standard input (a terminal or a script) and standard output.
std::unique_ptr<CConsole> MakeStandardConsole();

}  // namespace kw::console

// A scripted user for tests: queued actions on the active dialog, queued message-box answers and
// menu choices, and hooks called when a dialog of a given resource opens. It records every event
// line, and an "error: ..." line for each action that did not fit the window it met.
//
//   CTestDriver user;                       // installed as the input source while it lives
//   user.WhenOpened(157, [&](CDialog& d) { user.Type(1044, u"0123456789").Click(1203); });
//   user.Answer(IDNO).Click(1180).Close();
//   dialog.DoModal();
//
// Actions queued inside a hook run before those queued earlier, so a hook drives its own dialog.
// When the actions run out, each running loop ends with IDCANCEL.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/input_source.h"

namespace kw::ui {

class CTestDriver : public IInputSource {
public:
    CTestDriver();
    ~CTestDriver() override;
    CTestDriver(const CTestDriver&) = delete;
    CTestDriver& operator=(const CTestDriver&) = delete;

    CTestDriver& Click(int id);
    CTestDriver& Select(int id, int index);
    CTestDriver& DoubleClick(int id, int row);
    CTestDriver& Type(int id, std::u16string text);
    CTestDriver& Scroll(int id, int position);
    CTestDriver& Close();
    CTestDriver& Press(Key key);
    CTestDriver& Tick(uint64_t count = 1);
    // Any other step: runs with the active dialog when its turn comes.
    CTestDriver& Run(std::function<void(CDialog&)> step);

    // Answers for the next message boxes, in order; unanswered boxes take their first button.
    CTestDriver& Answer(int answer);
    // Commands for the next tracked menus, in order (0 dismisses); unqueued menus are dismissed.
    CTestDriver& ChooseMenu(int command);

    void WhenOpened(int resourceId, std::function<void(CDialog&)> hook);

    std::vector<std::string> Lines() const;
    std::vector<std::string> Errors() const;
    size_t PendingActions() const { return actions_.size(); }

    bool Step() override;
    int AnswerMessageBox(const MessageBoxRequest& box) override;
    int ChooseMenuCommand(const std::vector<MenuEntry>& entries) override;
    void OnEvent(const std::string& line) override;
    void OnDialogOpened(CDialog& dialog) override;

private:
    using Action = std::function<std::string(CDialog&)>;
    CTestDriver& Queue(Action action);

    std::deque<Action> actions_;
    std::deque<Action> hookActions_;
    int hookDepth_ = 0;
    std::multimap<int, std::function<void(CDialog&)>> hooks_;
    std::deque<int> menuChoices_;

    mutable std::mutex mutex_;  // answers and lines: message boxes may come from any thread
    std::deque<int> answers_;
    std::vector<std::string> lines_;
};

}  // namespace kw::ui

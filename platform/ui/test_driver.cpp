#include "platform/ui/test_driver.h"

#include "platform/ui/user_input.h"
#include "platform/ui/window.h"

namespace kw::ui {

CTestDriver::CTestDriver() { SetInputSource(this); }

CTestDriver::~CTestDriver() {
    if (InputSource() == this) SetInputSource(nullptr);
}

CTestDriver& CTestDriver::Queue(Action action) {
    (hookDepth_ > 0 ? hookActions_ : actions_).push_back(std::move(action));
    return *this;
}

CTestDriver& CTestDriver::Click(int id) {
    return Queue([id](CDialog& d) { return user::Click(d, id); });
}

CTestDriver& CTestDriver::Select(int id, int index) {
    return Queue([id, index](CDialog& d) { return user::Select(d, id, index); });
}

CTestDriver& CTestDriver::DoubleClick(int id, int row) {
    return Queue([id, row](CDialog& d) { return user::DoubleClick(d, id, row); });
}

CTestDriver& CTestDriver::Type(int id, std::u16string text) {
    return Queue([id, text = std::move(text)](CDialog& d) { return user::Type(d, id, text); });
}

CTestDriver& CTestDriver::Scroll(int id, int position) {
    return Queue([id, position](CDialog& d) { return user::Scroll(d, id, position); });
}

CTestDriver& CTestDriver::Close() {
    return Queue([](CDialog& d) { return user::Close(d); });
}

CTestDriver& CTestDriver::Press(Key key) {
    return Queue([key](CDialog& d) { return user::PressKey(d, key); });
}

CTestDriver& CTestDriver::Tick(uint64_t count) {
    return Queue([count](CDialog&) {
        QueueTicks(count);
        return std::string();
    });
}

CTestDriver& CTestDriver::Run(std::function<void(CDialog&)> step) {
    return Queue([step = std::move(step)](CDialog& d) {
        step(d);
        return std::string();
    });
}

CTestDriver& CTestDriver::Answer(int answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
    return *this;
}

CTestDriver& CTestDriver::ChooseMenu(int command) {
    menuChoices_.push_back(command);
    return *this;
}

void CTestDriver::WhenOpened(int resourceId, std::function<void(CDialog&)> hook) {
    hooks_.emplace(resourceId, std::move(hook));
}

std::vector<std::string> CTestDriver::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> CTestDriver::Errors() const {
    std::vector<std::string> errors;
    for (const auto& line : Lines()) {
        if (line.rfind("error:", 0) == 0) errors.push_back(line);
    }
    return errors;
}

bool CTestDriver::Step() {
    if (actions_.empty()) return false;
    Action action = std::move(actions_.front());
    actions_.pop_front();
    CDialog* dialog = ActiveDialog();
    std::string error = dialog ? action(*dialog) : std::string("no active window");
    if (!error.empty()) OnEvent("error: " + error);
    return true;
}

int CTestDriver::AnswerMessageBox(const MessageBoxRequest& box) {
    std::lock_guard lock(mutex_);
    if (answers_.empty()) return FirstButton(box.buttons);
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

int CTestDriver::ChooseMenuCommand(const std::vector<MenuEntry>& /*entries*/) {
    if (menuChoices_.empty()) return 0;
    int command = menuChoices_.front();
    menuChoices_.pop_front();
    return command;
}

void CTestDriver::OnEvent(const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}

void CTestDriver::OnDialogOpened(CDialog& dialog) {
    auto [first, last] = hooks_.equal_range(dialog.ResourceId());
    if (first == last) return;
    std::vector<std::function<void(CDialog&)>> matching;
    for (auto it = first; it != last; ++it) matching.push_back(it->second);
    ++hookDepth_;
    for (auto& hook : matching) hook(dialog);
    --hookDepth_;
    if (hookDepth_ == 0) {
        actions_.insert(actions_.begin(), hookActions_.begin(), hookActions_.end());
        hookActions_.clear();
    }
}

}  // namespace kw::ui

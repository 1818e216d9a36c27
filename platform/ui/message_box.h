// Message boxes. The answer comes from the input source; a box may be shown from any thread and
// never waits for the user-interface thread.
#pragma once

#include <string>

namespace kw::ui {

class CWnd;

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { None, Information, Question, Warning, Error };

struct MessageBoxRequest {
    std::u16string text;
    std::u16string caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
    MessageBoxIcon icon = MessageBoxIcon::None;
};

// Returns IDOK, IDYES or IDNO. Without an input source, or when the source gives an answer the
// box does not have, the first button answers.
int ShowMessageBox(const CWnd* owner, std::u16string_view text, std::u16string_view caption,
                   MessageBoxButtons buttons = MessageBoxButtons::Ok, MessageBoxIcon icon = MessageBoxIcon::None);

// The first button of a box, and whether an answer is one of its buttons.
int FirstButton(MessageBoxButtons buttons);
bool HasButton(MessageBoxButtons buttons, int answer);
// "ok", "yes", "no".
const char* AnswerName(int answer);

}  // namespace kw::ui

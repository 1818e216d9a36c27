#include "platform/ui/message_box.h"

#include "platform/registry.h"
#include "platform/ui/input_source.h"
#include "platform/ui/types.h"

namespace kw::ui {

int FirstButton(MessageBoxButtons buttons) { return buttons == MessageBoxButtons::YesNo ? IDYES : IDOK; }

bool HasButton(MessageBoxButtons buttons, int answer) {
    return buttons == MessageBoxButtons::YesNo ? answer == IDYES || answer == IDNO : answer == IDOK;
}

const char* AnswerName(int answer) {
    switch (answer) {
        case IDOK: return "ok";
        case IDYES: return "yes";
        case IDNO: return "no";
        case IDCANCEL: return "cancel";
        default: return "none";
    }
}

int ShowMessageBox(const CWnd* /*owner*/, std::u16string_view text, std::u16string_view caption,
                   MessageBoxButtons buttons, MessageBoxIcon icon) {
    MessageBoxRequest box{std::u16string(text), std::u16string(caption), buttons, icon};
    int answer = FirstButton(buttons);
    reg::Flush();  // nothing written before the question waits on the answer
    if (IInputSource* source = InputSource()) {
        int given = source->AnswerMessageBox(box);
        if (HasButton(buttons, given)) answer = given;
    }
    const char* buttonList = buttons == MessageBoxButtons::YesNo ? "[yes/no]" : "[ok]";
    ReportEvent("messagebox: " + QuoteText(caption) + " " + QuoteText(text) + " " + buttonList + " -> " +
                AnswerName(answer));
    return answer;
}

}  // namespace kw::ui

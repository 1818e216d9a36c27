// A console script on a small dialog, one line at a time: a line that does not fit prints exactly
// one "error:" line and leaves the dialog as it was, and nothing printed holds a raw control
// character (C0, DEL or C1), whatever bytes the line and the texts it types carry.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_files.h"
#include "platform/console/console.h"
#include "platform/registry.h"
#include "platform/ui/dialog.h"
#include "platform/ui/window.h"
#include "platform/ui/window_text.h"

namespace {

using namespace kw::ui;

constexpr int kEdit = 40, kCombo = 50, kList = 52, kCheck = 21, kBar = 71, kButton = 20;

class CSmallDlg : public CDialog {
public:
    CSmallDlg() : CDialog(Template()) {}

private:
    static DialogTemplate Template() {
        DialogTemplate t;
        t.resourceId = 900;
        t.caption = u"Fuzz";
        t.width = 200;
        t.height = 120;
        t.controls = {{10, ControlKind::Label, u"Name:", 0},      {kEdit, ControlKind::Edit, u"", 0},
                      {kCombo, ControlKind::ComboBox, u"", kDropDownList}, {kList, ControlKind::ListBox, u"", 0},
                      {kCheck, ControlKind::CheckBox, u"On", 0},   {kBar, ControlKind::TrackBar, u"", 0},
                      {kButton, ControlKind::PushButton, u"Go", 0}, {IDOK, ControlKind::PushButton, u"OK", 0}};
        return t;
    }
    bool OnInitDialog() override {
        Edit(kEdit).SetLimitText(24);
        for (const char16_t* item : {u"one", u"two\x1b[2J", u"three"}) Combo(kCombo).AddString(item);
        ListBox(kList).AddString(u"first\a");
        TrackBar(kBar).SetRange(0, 100);
        return true;
    }
    void OnCommand(int id, Notify code) override {
        // The typed text comes back as the button's caption: outside bytes reach a printed text.
        if (id == kEdit && code == Notify::EditChange) SetItemText(kButton, ItemText(kEdit));
        if (id == IDOK) CDialog::OnCommand(id, code);
    }
};

bool HasRawControl(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Runs the script's lines itself, checking each, in place of reading them.
class CCheckingConsole : public kw::console::CConsole {
public:
    CCheckingConsole(std::vector<std::string> script, std::istream& none, std::ostringstream& out)
        : CConsole(none, out), script_(std::move(script)), out_(out) {}

    bool Step() override {
        if (InputEnded() || next_ >= script_.size()) return false;
        const std::string& line = script_[next_++];
        CDialog* dialog = ActiveDialog();
        std::vector<std::string> before = dialog ? DescribeDialog(*dialog) : std::vector<std::string>{};
        size_t printed = out_.str().size();
        Execute(line);
        std::string now = out_.str().substr(printed);
        if (HasRawControl(now)) std::abort();
        std::vector<std::string> lines = LinesOf(now);
        size_t errors = 0;
        for (const auto& l : lines) errors += l.rfind("error:", 0) == 0 ? 1 : 0;
        if (errors > 1 || (errors == 1 && lines.size() != 1)) std::abort();
        if (errors == 1 && dialog && ActiveDialog() == dialog && DescribeDialog(*dialog) != before) std::abort();
        return true;
    }

private:
    std::vector<std::string> script_;
    size_t next_ = 0;
    std::ostringstream& out_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = [] {
        ::setenv("KWCONFIG_ROOT", kwfuzz::ScratchFolder().c_str(), 1);
        kw::reg::SkipDurableWritesForFuzzing(true);
        return true;
    }();
    (void)prepared;
    std::vector<std::string> script = LinesOf(std::string(reinterpret_cast<const char*>(data), size));
    if (script.size() > 64) script.resize(64);
    ResetMessageQueue();
    std::istringstream none;
    std::ostringstream out;
    CCheckingConsole console(std::move(script), none, out);
    console.Attach();
    CSmallDlg dialog;
    dialog.DoModal();
    return 0;
}

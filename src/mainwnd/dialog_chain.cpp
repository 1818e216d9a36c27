#include "src/mainwnd/dialog_chain.h"

#include <map>

#include "platform/ui/dialog.h"

namespace kw {

namespace {
struct ChainEntry {
    ui::CDialog* dialog = nullptr;
    int parentId = kDialogIdMain;
};

int g_currentId = kDialogIdMain;
std::map<int, ChainEntry> g_chain;
}  // namespace

int CurrentDialogId() { return g_currentId; }
void SetCurrentDialogId(int id) { g_currentId = id; }

void RegisterChainedDialog(int id, ui::CDialog* dialog, int parentId) {
    g_chain[id] = {dialog, parentId};
    g_currentId = id;
}

void UnregisterChainedDialog(int id) { g_chain.erase(id); }

ui::CDialog* ChainedDialog(int id) {
    auto it = g_chain.find(id);
    return it == g_chain.end() ? nullptr : it->second.dialog;
}

void WalkDialogChain(const std::function<void(ui::CDialog&)>& visit, const std::function<void()>& onMain) {
    int id = g_currentId;
    // Each step moves to a parent; the bound keeps a malformed chain from looping.
    for (size_t steps = 0; steps <= g_chain.size(); ++steps) {
        if (id == kDialogIdMain) {
            if (onMain) onMain();
            return;
        }
        auto it = g_chain.find(id);
        if (it == g_chain.end() || it->second.dialog == nullptr) return;
        int parent = it->second.parentId;
        visit(*it->second.dialog);
        id = parent;
    }
}

void CloseDialogChain(const std::function<void()>& onMain) {
    WalkDialogChain([](ui::CDialog& dialog) { dialog.EndDialog(0); }, onMain);
}

}  // namespace kw

#include "src/dialogs/dialog_chain.h"

#include <map>

#include "platform/ui/dialog.h"

namespace kw {

namespace {
struct ChainEntry {
    ui::CDialog* dialog = nullptr;
    int parentId = kDialogIdMain;
    std::function<void()> relocalise;
};

// User-interface thread only.
int g_currentId = kDialogIdMain;
std::map<int, ChainEntry> g_chain;
}  // namespace

bool IsChainedDialogId(int id) { return (id >= kDialogIdGeneral && id <= kDialogIdMacFilter) || id == kDialogIdWepKeyInfo; }

int CurrentDialogId() { return g_currentId; }
void SetCurrentDialogId(int id) { g_currentId = id; }

bool RegisterChainedDialog(int id, ui::CDialog* dialog, int parentId, std::function<void()> relocalise) {
    if (!IsChainedDialogId(id) || dialog == nullptr) return false;
    g_chain[id] = {dialog, parentId, std::move(relocalise)};
    g_currentId = id;
    return true;
}

void UnregisterChainedDialog(int id) { g_chain.erase(id); }

ui::CDialog* ChainedDialog(int id) {
    auto it = g_chain.find(id);
    return it == g_chain.end() ? nullptr : it->second.dialog;
}

void WalkDialogChain(const ChainVisit& visit, const std::function<void()>& onMain) {
    int id = g_currentId;
    // Each step moves to a parent; the bound keeps a chain whose parents form a loop from
    // walking for ever.
    for (size_t steps = 0; steps <= g_chain.size(); ++steps) {
        if (id == kDialogIdMain) {
            if (onMain) onMain();
            return;
        }
        auto it = g_chain.find(id);
        if (it == g_chain.end()) return;
        // Copied: the visit may unregister the entry.
        ChainEntry entry = it->second;
        visit(*entry.dialog, entry.relocalise);
        id = entry.parentId;
    }
}

void CloseDialogChain(const std::function<void()>& onMain) {
    WalkDialogChain([](ui::CDialog& dialog, const std::function<void()>&) { dialog.EndDialog(0); }, onMain);
}

void RelocaliseDialogChain(const std::function<void()>& onMain) {
    WalkDialogChain(
        [](ui::CDialog&, const std::function<void()>& relocalise) {
            if (relocalise) relocalise();
        },
        onMain);
}

CChainedDialogScope::CChainedDialogScope(int id, ui::CDialog* dialog, int parentId, std::function<void()> relocalise)
    : id_(id), parentId_(parentId), registered_(RegisterChainedDialog(id, dialog, parentId, std::move(relocalise))) {}

CChainedDialogScope::~CChainedDialogScope() {
    if (!registered_) return;
    UnregisterChainedDialog(id_);
    SetCurrentDialogId(parentId_);
}

}  // namespace kw

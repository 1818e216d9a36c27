// The open-dialog chain: which settings dialogs are open, each under its dialog id with the id
// of the dialog that opened it, so that a language switch can re-localise them and Exit or the
// loss of the adapter can close them.
#pragma once

#include <functional>

namespace kw {

namespace ui {
class CDialog;
}

inline constexpr int kDialogIdMain = 0;
inline constexpr int kDialogIdGeneral = 1;
inline constexpr int kDialogIdAdvanced = 2;
inline constexpr int kDialogIdWepKeys = 3;
inline constexpr int kDialogIdInformation = 4;
inline constexpr int kDialogIdAccessPoint = 5;
inline constexpr int kDialogIdMacFilter = 6;
inline constexpr int kDialogIdWepKeyInfo = 8;

// Whether a dialog may register under this id (1 to 6 and 8; 0 is the main window itself).
bool IsChainedDialogId(int id);

int CurrentDialogId();
void SetCurrentDialogId(int id);

// A chained dialog registers itself when it opens and becomes the current one; relocalise
// renews its texts after a language switch. An id outside the chain is refused (false).
bool RegisterChainedDialog(int id, ui::CDialog* dialog, int parentId, std::function<void()> relocalise = {});
void UnregisterChainedDialog(int id);
ui::CDialog* ChainedDialog(int id);

// Walks from the current id through the parents: visit(dialog, relocalise) for each registered
// dialog; at id 0 onMain() ends the walk; an id with nothing registered ends it silently.
using ChainVisit = std::function<void(ui::CDialog& dialog, const std::function<void()>& relocalise)>;
void WalkDialogChain(const ChainVisit& visit, const std::function<void()>& onMain);
// Ends every open chained dialog (result 0), then acts on the main window.
void CloseDialogChain(const std::function<void()>& onMain);
// Re-localises every open chained dialog, then the main window.
void RelocaliseDialogChain(const std::function<void()>& onMain);

// Held by a chained dialog for as long as it runs: registers it, and when it goes unregisters it
// and gives the current id back to its opener.
class CChainedDialogScope {
public:
    CChainedDialogScope(int id, ui::CDialog* dialog, int parentId, std::function<void()> relocalise = {});
    ~CChainedDialogScope();
    CChainedDialogScope(const CChainedDialogScope&) = delete;
    CChainedDialogScope& operator=(const CChainedDialogScope&) = delete;

private:
    int id_;
    int parentId_;
    bool registered_;
};

}  // namespace kw

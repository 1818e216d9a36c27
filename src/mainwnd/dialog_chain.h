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

int CurrentDialogId();
void SetCurrentDialogId(int id);

// A chained dialog registers itself when it opens; it becomes the current one.
void RegisterChainedDialog(int id, ui::CDialog* dialog, int parentId);
void UnregisterChainedDialog(int id);
ui::CDialog* ChainedDialog(int id);

// Walks from the current id through the parents: visit(dialog) for each registered dialog; at
// id 0 onMain() ends the walk; an id with nothing registered ends it silently.
void WalkDialogChain(const std::function<void(ui::CDialog&)>& visit, const std::function<void()>& onMain);
// Ends every open chained dialog (result 0), then acts on the main window.
void CloseDialogChain(const std::function<void()>& onMain);

}  // namespace kw

// The main window (dialog 156): run modally for the whole life of the process, normally hidden
// behind the notification-area icon. Its one timer drives discovery, removal detection, Zero
// Configuration tracking, the site survey and the status panels.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/dialog.h"
#include "src/device/discovery.h"
#include "src/device/zero_config.h"

namespace kw {

class CTrayIcon;

class CKWConfigDlg : public ui::CDialog, private IAdapterListView, private IZeroConfigHost {
public:
    explicit CKWConfigDlg(CTrayIcon& tray);
    ~CKWConfigDlg() override;

    static ui::DialogTemplate MainTemplate();

    // Re-localises every text and the layout of the current mode.
    void Relabel();

    // For tests and the console: state worth reading.
    bool AdapterOpen() const { return discovery_.AdapterOpen(); }
    int WantedTrayIcon() const { return wantedIcon_; }
    int ShownTrayIcon() const { return shownIcon_; }
    bool ScanPending() const { return scanPending_; }
    bool SelectionHold() const { return selectionHold_; }
    int PanelView() const { return panelView_; }
    const CZeroConfigTracker& ZeroConfig() const { return zeroConfig_; }

protected:
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    void OnCommand(int id, ui::Notify code) override;
    void OnSysCommand(int code, int position) override;
    bool PreTranslateKey(ui::Key key) override;
    void OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) override;
    void OnEndSession(bool ending) override;
    void OnDestroy() override;
    void OnListClick(int id, int row) override;
    void OnListDblClick(int id, int row) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    // ---- adapter combo box (discovery's view) ----
    void ClearAdapters() override;
    void AddAdapter(const std::u16string& description) override;
    void SelectAdapterItem(int index) override;
    int SelectedAdapterItem() const override;

    // ---- Zero Configuration host ----
    void OnServiceTookAdapter() override;
    void RestoreStoredSettings() override;

    // ---- start-up, tick, commands ----
    void ResetState();
    void InstallLanguageSwitchHooks();
    void RenewTrayTexts();
    void StartTimer();
    void StopTimer();
    void Tick();
    bool TickRequests();
    void OnAdapterOpened();
    void FinishAdapterOpen();
    void OnAdapterGone();
    void OpenUtilityWindow();
    void ExitProgram();
    void OnPanelButton();
    void OnTaskbarCreated();
    void HideMainWindow();

    // ---- status panels ----
    void RefreshCurrentNetwork();
    void RefreshLinkStatus();
    void ShowLinkSignal();
    void ShowFrameCounters(bool connected, uint32_t& transmitted, uint64_t& total);
    void AnimateTray(bool connected, uint32_t transmitted, uint64_t total);
    void GiveTrayWantedIcon();
    void AnimateActivity();
    void ClearRings();
    void StationLinkLayout();
    void StartAddressRenewal();

    // ---- site survey ----
    void StartScan();
    void CollectScanResults();
    void StationListLayout();
    // Returns the number of networks listed.
    int FillNetworkList();
    void ShowSelectedNetwork();
    void SetPanelView(int view);
    void ShowModeCombo();

    // ---- mode switch and access-point page ----
    void OnModeChange();
    void ApListLayout();
    void ApLinkLayout();
    void BuildApSettingsPanel();
    void RefreshStationList();
    void ApPageTick();
    void OpenApSettings();

    // ---- connecting ----
    void ConnectSelectedNetwork();

    CTrayIcon& tray_;
    CAdapterDiscovery discovery_;
    CZeroConfigTracker zeroConfig_;
    unsigned taskbarCreatedMessage_ = 0;

    int wantedIcon_ = 2;
    int shownIcon_ = 2;
    int animationFrame_ = 0;
    std::array<int, 6> signalRing_{};
    std::array<int, 6> qualityRing_{};
    int ringPosition_ = 0;
    int sampleCount_ = 0;
    uint32_t lastTransmitted_ = 0;
    uint32_t transmittedAtToggle_ = 0;
    uint64_t lastTotal_ = 0;
    uint64_t totalAtToggle_ = 0;
    bool showMaximumRate_ = false;
    int connectingDots_ = 0;
    bool scanPending_ = false;
    int scanWait_ = 0;
    bool selectionHold_ = false;
    int holdCount_ = 0;
    int apTickCount_ = 0;
    bool modeComboVisible_ = false;
    int panelView_ = 0;
    std::unique_ptr<uint8_t[]> surveyBuffer_;
};

// The address-renewal worker of the Windows 95 family runs at most once at a time.
bool AddressRenewalRunning();

}  // namespace kw

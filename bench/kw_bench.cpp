// The program's speed and memory, measured in process on the simulated world in virtual time:
// the processor time of one main-window tick with 10 and 64 networks in range, a start-up to the
// first tick with its hive saves, N distinct registry writes in one group, and the resident
// memory after many ticks. `--short` runs every benchmark briefly (CI keeps it working with it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/ui/input_source.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window.h"
#include "sim/control.h"
#include "src/config/app_flags.h"
#include "src/app/kwconfig_app.h"
#include "src/app/tray_icon.h"

namespace {

bool g_short = false;

// A private state folder for the whole run.
const std::string& StateFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kwbench-XXXXXX").string();
        std::string made = ::mkdtemp(pattern.data());
        ::setenv("KWCONFIG_ROOT", made.c_str(), 1);
        return made;
    }();
    return folder;
}

// The world: the default one's USB adapter and `count` open and protected networks.
std::string WorldWithNetworks(int count) {
    std::string text =
        "[Adapter1]\nDeviceName=\\DEVICE\\KWBENCH\nDescription=Talvo KW7100 Wireless USB Adapter\nInstanceKey=0007\n"
        "MatchingDeviceId=USB\\VID_6B57&PID_7100\nMAC=02 6B 57 71 00 01\n";
    for (int n = 1; n <= count; ++n) {
        char bssid[32];
        std::snprintf(bssid, sizeof bssid, "02 1A 00 00 %02X %02X", n / 256, n % 256);
        text += "[Network" + std::to_string(n) + "]\nSSID=Net" + std::to_string(n) + "\nBSSID=" + bssid +
                "\nFrequency=" + std::to_string(2412000 + 5000 * (n % 11)) + "\nRSSI=" + std::to_string(-40 - n % 50) +
                "\nQuality=" + std::to_string(90 - n % 60) + "\nSecurity=" + (n % 3 == 0 ? "wpa2-psk" : "open") +
                "\nPassphrase=bench pass phrase\n";
    }
    return text;
}

// The user of the benchmarks: lets one timer period pass per step while the benchmark wants
// more, then chooses Exit.
class CTickingUser : public kw::ui::IInputSource {
public:
    explicit CTickingUser(std::function<bool()> more) : more_(std::move(more)) {}
    bool Step() override {
        if (more_()) {
            kw::ui::QueueTicks(1);
            return true;
        }
        if (!exitChosen_) {
            exitChosen_ = true;
            kw::ui::PostMessage(kw::ui::MainWindow()->Handle(), kw::ui::kMsgCommand, kw::kCmdExit,
                                static_cast<intptr_t>(kw::ui::Notify::Clicked));
        }
        return true;
    }
    int AnswerMessageBox(const kw::ui::MessageBoxRequest& box) override { return kw::ui::FirstButton(box.buttons); }
    int ChooseMenuCommand(const std::vector<kw::ui::MenuEntry>&) override { return 0; }
    void OnEvent(const std::string&) override {}

private:
    std::function<bool()> more_;
    bool exitChosen_ = false;
};

// Starts the program as it starts from its folder and runs the main window until `more` says no.
void RunProgram(const std::function<bool()>& more) {
    CTickingUser user(more);
    kw::ui::SetInputSource(&user);
    kw::CKWConfigApp app(nullptr);
    if (app.StartUp({"KWConfig"}, std::string(KW_BENCH_PROGRAM_DIR) + "/KWConfig")) app.RunMainWindow();
    kw::ui::SetInputSource(nullptr);
}

void Prepare(int networks) {
    StateFolder();
    kw::clock::UseVirtualTime(true);
    kw::reg::ResetForTests();
    kw::sim::Reset();
    kw::sim::LoadWorldText(WorldWithNetworks(networks));
}

void BM_MainWindowTick(benchmark::State& state) {
    Prepare(static_cast<int>(state.range(0)));
    int warmUp = 10;  // the adapter opens and the first survey comes in
    RunProgram([&] { return warmUp-- > 0 || state.KeepRunning(); });
    state.SetLabel(std::to_string(state.range(0)) + " networks in range");
}
BENCHMARK(BM_MainWindowTick)->Arg(10)->Arg(64)->Unit(benchmark::kMicrosecond);

int Saves() {
    return kw::reg::SavesForTests(kw::reg::Hive::CurrentUser) + kw::reg::SavesForTests(kw::reg::Hive::LocalMachine);
}

// From the start to the first tick, with the settings of an earlier run in the hive (the waits
// the start-up rules prescribe cost nothing in virtual time).
void BM_StartUpToFirstTick(benchmark::State& state) {
    Prepare(10);
    RunProgram([ticks = 2]() mutable { return ticks-- > 0; });  // leaves settings behind
    int saves = 0;
    for (auto _ : state) {
        int before = Saves();
        RunProgram([ticks = 1]() mutable { return ticks-- > 0; });
        saves = Saves() - before;
    }
    // Each save is two disk syncs: the file and its folder.
    state.counters["hive_saves"] = saves;
    state.counters["disk_syncs"] = 2 * saves;
}
BENCHMARK(BM_StartUpToFirstTick)->Unit(benchmark::kMillisecond);

// N distinct values written in one group and saved at its end.
void BM_RegistryWrites(benchmark::State& state) {
    StateFolder();
    const auto count = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(kw::reg::HiveFilePath(kw::reg::Hive::CurrentUser));
        kw::reg::ResetForTests();
        state.ResumeTiming();
        kw::reg::WriteGroup group;
        for (uint32_t i = 0; i < count; ++i) {
            kw::reg::WriteDword(kw::reg::Hive::CurrentUser, u"Software\\Bench", kw::FormatW("Value%u", i), i);
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RegistryWrites)->RangeMultiplier(2)->Range(500, 4000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// The resident memory after many ticks: it must not grow with them.
void BM_MemoryAfterTicks(benchmark::State& state) {
    const long ticks = g_short ? 2000 : 100000;
    for (auto _ : state) {
        Prepare(10);
        long afterFirst = 0;
        long left = ticks;
        RunProgram([&] {
            if (left == ticks - 1) afterFirst = ResidentKilobytes();
            return left-- > 0;
        });
        state.counters["ticks"] = static_cast<double>(ticks);
        state.counters["rss_MB_after_1_tick"] = afterFirst / 1024.0;
        state.counters["rss_MB_after_all"] = ResidentKilobytes() / 1024.0;
        // The benchmark library's own pages are in both figures; the growth is the program's.
        state.counters["rss_MB_growth"] = (ResidentKilobytes() - afterFirst) / 1024.0;
    }
}
BENCHMARK(BM_MemoryAfterTicks)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string shortTime = "--benchmark_min_time=0.01";
    for (auto it = args.begin(); it != args.end();) {
        if (std::string(*it) == "--short") {
            g_short = true;
            *it = shortTime.data();
        }
        ++it;
    }
    int count = static_cast<int>(args.size());
    kw::SetStartHidden(true);
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(StateFolder());
    return 0;
}

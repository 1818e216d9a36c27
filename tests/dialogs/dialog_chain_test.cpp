// The open-dialog chain: walks from the current dialog through the openers to the main window.
#include "src/dialogs/dialog_chain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/dialog.h"

namespace {

using ::testing::ElementsAre;
using namespace kw;

class DialogChainTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (int id = 0; id <= 8; ++id) UnregisterChainedDialog(id);
        SetCurrentDialogId(kDialogIdMain);
    }
    // The ids the walk visits, "main" for the main window.
    std::vector<std::string> Walk() {
        std::vector<std::string> visited;
        WalkDialogChain([&](ui::CDialog& d, const std::function<void()>&) { visited.push_back(NameOf(&d)); },
                        [&] { visited.push_back("main"); });
        return visited;
    }
    std::string NameOf(const ui::CDialog* d) const {
        for (int id = 1; id <= 8; ++id) {
            if (ChainedDialog(id) == d) return std::to_string(id);
        }
        return "?";
    }

    ui::CDialog general{ui::DialogTemplate{}}, advanced{ui::DialogTemplate{}}, wepKeys{ui::DialogTemplate{}},
        wepInfo{ui::DialogTemplate{}};
};

TEST_F(DialogChainTest, WalksFromTheCurrentDialogThroughItsOpenersToTheMainWindow) {
    EXPECT_THAT(Walk(), ElementsAre("main"));
    std::vector<std::string> relocalised;
    {
        CChainedDialogScope first(kDialogIdGeneral, &general, kDialogIdMain, [&] { relocalised.push_back("general"); });
        CChainedDialogScope second(kDialogIdWepKeys, &wepKeys, kDialogIdGeneral, [&] { relocalised.push_back("wep"); });
        CChainedDialogScope third(kDialogIdWepKeyInfo, &wepInfo, kDialogIdWepKeys);  // nothing to re-localise
        EXPECT_EQ(CurrentDialogId(), kDialogIdWepKeyInfo);
        EXPECT_THAT(Walk(), ElementsAre("8", "3", "1", "main"));
        int mainRelabelled = 0;
        RelocaliseDialogChain([&] { ++mainRelabelled; });
        EXPECT_THAT(relocalised, ElementsAre("wep", "general"));
        EXPECT_EQ(mainRelabelled, 1);
    }
    // Each dialog gave the current id back to its opener as it went.
    EXPECT_EQ(CurrentDialogId(), kDialogIdMain);
    EXPECT_EQ(ChainedDialog(kDialogIdGeneral), nullptr);
}

TEST_F(DialogChainTest, AnIdWithNothingRegisteredEndsTheWalk) {
    // The access-point settings (5) opened the MAC filter (6) but are not registered.
    RegisterChainedDialog(kDialogIdMacFilter, &general, kDialogIdAccessPoint);
    EXPECT_THAT(Walk(), ElementsAre("6"));
    // 7 belongs to no dialog: it cannot be registered and the current id stays.
    EXPECT_FALSE(RegisterChainedDialog(7, &advanced, kDialogIdMain));
    EXPECT_EQ(CurrentDialogId(), kDialogIdMacFilter);
    SetCurrentDialogId(7);
    EXPECT_TRUE(Walk().empty());
}

TEST_F(DialogChainTest, OpenersFormingALoopDoNotWalkForever) {
    RegisterChainedDialog(kDialogIdGeneral, &general, kDialogIdAdvanced);
    RegisterChainedDialog(kDialogIdAdvanced, &advanced, kDialogIdGeneral);
    EXPECT_EQ(Walk().size(), 3u);
}

TEST_F(DialogChainTest, ClosingEndsEveryDialogWithResultZeroThenActsOnTheMainWindow) {
    RegisterChainedDialog(kDialogIdGeneral, &general, kDialogIdMain);
    RegisterChainedDialog(kDialogIdAdvanced, &advanced, kDialogIdGeneral);
    bool mainReached = false;
    CloseDialogChain([&] { mainReached = true; });
    EXPECT_TRUE(general.IsEnding());
    EXPECT_TRUE(advanced.IsEnding());
    EXPECT_EQ(general.Result(), 0);
    EXPECT_EQ(advanced.Result(), 0);
    EXPECT_FALSE(wepKeys.IsEnding());
    EXPECT_TRUE(mainReached);
}

}  // namespace

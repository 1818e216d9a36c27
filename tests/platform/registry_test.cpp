#include "platform/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/test_env.h"

namespace {

using namespace kw::reg;

class RegistryTest : public kwtest::IsolatedTest {};

TEST_F(RegistryTest, ValuesRoundTripAndPersistAcrossInstances) {
    const std::u16string path = u"Software\\Talvo\\KWConfig";
    ASSERT_EQ(WriteString(Hive::CurrentUser, path, u"SSID", u"Caf\u00E9 \"quoted\" back\\slash"), kSuccess);
    ASSERT_EQ(WriteDword(Hive::CurrentUser, path, u"GENERAL\\LanguageId", 0xDEADBEEF), kSuccess);
    ASSERT_EQ(WriteString(Hive::CurrentUser, path, u"Multi", u"line one\r\nline two"), kSuccess);
    ResetForTests();  // a new process would start like this
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"SOFTWARE\\talvo\\kwconfig\\", u"ssid"),
              u"Caf\u00E9 \"quoted\" back\\slash");
    EXPECT_EQ(ReadDword(Hive::CurrentUser, path, u"general\\languageid"), 0xDEADBEEFu);
    EXPECT_EQ(ReadString(Hive::CurrentUser, path, u"Multi"), u"line one\r\nline two");
    EXPECT_EQ(ReadString(Hive::CurrentUser, path, u"GENERAL\\LanguageId"), std::nullopt);  // wrong type
    EXPECT_EQ(ReadString(Hive::LocalMachine, path, u"SSID"), std::nullopt);               // other hive

    std::string bytes = kwtest::ReadFileBytes(HiveFilePath(Hive::CurrentUser));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text = kw::ToUtf8(kw::FromUtf16LeBytes(bytes.substr(2)));
    EXPECT_NE(text.find("Windows Registry Editor Version 5.00"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Talvo\\KWConfig]"), std::string::npos);
    EXPECT_NE(text.find("\"GENERAL\\\\LanguageId\"=dword:deadbeef"), std::string::npos);
}

TEST_F(RegistryTest, KeysKeepFirstCaseAndDeleteWithSubkeys) {
    Key app;
    ASSERT_EQ(Key::Create(Hive::CurrentUser, u"Software\\Talvo\\KWConfig", app), kSuccess);
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"software\\talvo\\kwconfig\\Profile\\Home", u"SSID", u"h"), kSuccess);
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"Software\\Talvo\\KWConfig\\PROFILE\\Home\\Deep", u"X", u"1"), kSuccess);
    EXPECT_EQ(app.SubKeyNames(), std::vector<std::u16string>{u"Profile"});
    Key missing;
    EXPECT_EQ(Key::Open(Hive::CurrentUser, u"Software\\Nope", Access::Read, missing), kFileNotFound);
    EXPECT_EQ(app.DeleteTree(u"profile\\HOME"), kSuccess);
    EXPECT_FALSE(KeyExists(Hive::CurrentUser, u"Software\\Talvo\\KWConfig\\Profile\\Home\\Deep"));
    EXPECT_TRUE(KeyExists(Hive::CurrentUser, u"Software\\Talvo\\KWConfig\\Profile"));
    EXPECT_EQ(app.DeleteTree(u"Profile\\Home"), kFileNotFound);
    ASSERT_EQ(app.WriteString(u"ProfileLink", u"Home"), kSuccess);
    EXPECT_EQ(app.DeleteValue(u"PROFILELINK"), kSuccess);
    EXPECT_EQ(app.DeleteValue(u"ProfileLink"), kFileNotFound);
}

TEST_F(RegistryTest, FilesArePrivateAndHandEditsAreRead) {
    ASSERT_EQ(WriteString(Hive::LocalMachine, u"A", u"v", u"1"), kSuccess);
    struct stat st {};
    ASSERT_EQ(::stat(HiveFilePath(Hive::LocalMachine).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A person edits the file (UTF-8, parents not listed, other value types, comments).
    kwtest::TempDir unused;
    std::string edited =
        "Windows Registry Editor Version 5.00\n\n"
        "; hand edit\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007]\n"
        "\"MatchingDeviceId\"=\"usb\\\\vid_1a2b\"\n"
        "\"Blob\"=hex:01,02,\\\n  03\n"
        "@=\"default\"\n";
    std::ofstream(HiveFilePath(Hive::LocalMachine), std::ios::trunc) << edited;
    const std::u16string key = u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007";
    EXPECT_EQ(ReadString(Hive::LocalMachine, key, u"MatchingDeviceId"), u"usb\\vid_1a2b");
    EXPECT_EQ(ReadString(Hive::LocalMachine, key, u""), u"default");
    EXPECT_TRUE(KeyExists(Hive::LocalMachine, u"SYSTEM\\CurrentControlSet"));
    ASSERT_EQ(WriteString(Hive::LocalMachine, key, u"Other", u"x"), kSuccess);
    ResetForTests();
    Key k;
    ASSERT_EQ(Key::Open(Hive::LocalMachine, key, Access::Read, k), kSuccess);
    EXPECT_EQ(k.ValueNames(), (std::vector<std::u16string>{u"MatchingDeviceId", u"Blob", u"", u"Other"}));
}

TEST_F(RegistryTest, CorruptFileIsKeptAsideAndNeverOverwritten) {
    const std::string file = HiveFilePath(Hive::CurrentUser);
    const std::string cases[] = {
        "not a registry file\n",
        "Windows Registry Editor Version 5.00\n\"value\"=\"outside a key\"\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"unterminated=\"x\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"d\"=dword:123456789\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n",
    };
    for (const auto& bad : cases) {
        std::filesystem::remove_all(root_.path());
        std::filesystem::create_directories(root_.path());
        ResetForTests();
        std::ofstream(file, std::ios::binary) << bad;
        EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"d"), std::nullopt) << bad;
        ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"fresh", u"1"), kSuccess);
        int aside = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root_.path())) {
            if (entry.path().filename().string().rfind("HKCU.reg.corrupt.", 0) == 0) {
                ++aside;
                EXPECT_EQ(kwtest::ReadFileBytes(entry.path().string()), bad);
            }
        }
        EXPECT_EQ(aside, 1) << bad;
        EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"fresh"), u"1");
    }
}

// The file format has no way to write a line break inside a key or value name; such a name must
// fail at once rather than leave a file that the next reader has to set aside whole.
TEST_F(RegistryTest, NamesWithLineBreaksAreRefusedAndTheHiveStaysReadable) {
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"Software\\A", u"Kept", u"1"), kSuccess);
    Key key;
    ASSERT_EQ(Key::Open(Hive::CurrentUser, u"Software\\A", Access::Full, key), kSuccess);
    EXPECT_NE(key.WriteString(u"two\nlines", u"x"), kSuccess);
    EXPECT_NE(key.WriteDword(u"carriage\rreturn", 1), kSuccess);
    Key sub;
    EXPECT_NE(Key::Create(Hive::CurrentUser, u"Software\\A\\bad\r\nkey", sub), kSuccess);
    EXPECT_NE(WriteString(Hive::CurrentUser, u"Software\\bad\nkey", u"v", u"x"), kSuccess);
    ResetForTests();  // the next process reads the file
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Software\\A", u"Kept"), u"1");
    for (const auto& entry : std::filesystem::directory_iterator(root_.path())) {
        EXPECT_EQ(entry.path().string().find(".corrupt."), std::string::npos) << entry.path();
    }
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            ResetForTests();
            for (int i = 0; i < kWrites; ++i) {
                if (WriteDword(Hive::CurrentUser, u"Race", kw::FormatW("p%d_%d", c, i), static_cast<uint32_t>(i)) != kSuccess) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Race", kw::FormatW("p%d_%d", c, i)), static_cast<uint32_t>(i));
        }
    }
}

TEST_F(RegistryTest, ThreadsShareOneHiveSafely) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 25; ++i) {
                WriteString(Hive::CurrentUser, u"T", kw::FormatW("t%d_%d", t, i), u"v");
                ReadString(Hive::CurrentUser, u"T", u"t0_0");
            }
        });
    }
    for (auto& thread : threads) thread.join();
    Key key;
    ASSERT_EQ(Key::Open(Hive::CurrentUser, u"T", Access::Read, key), kSuccess);
    EXPECT_EQ(key.ValueNames().size(), 100u);
}

TEST_F(RegistryTest, DeniedFullAccessStillReads) {
    ASSERT_EQ(WriteString(Hive::LocalMachine, u"Class\\0007", u"MatchingDeviceId", u"x"), kSuccess);
    DenyFullAccess(Hive::LocalMachine, u"class\\0007\\", true);
    Key key;
    EXPECT_EQ(Key::Open(Hive::LocalMachine, u"Class\\0007", Access::Full, key), kAccessDenied);
    EXPECT_EQ(Key::Open(Hive::LocalMachine, u"Class\\0007", Access::Read, key), kSuccess);
    DenyFullAccess(Hive::LocalMachine, u"Class\\0007", false);
    EXPECT_EQ(Key::Open(Hive::LocalMachine, u"Class\\0007", Access::Full, key), kSuccess);
}

}  // namespace

namespace {

// Random damage to a valid hive file: every variant is read or kept aside, never a crash, and a
// write afterwards always succeeds.
TEST_F(RegistryTest, DamagedFilesNeverCrashTheReader) {
    using namespace kw::reg;
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"Software\\A", u"Text", u"some \"quoted\" text"), kSuccess);
    ASSERT_EQ(WriteDword(Hive::CurrentUser, u"Software\\A\\B", u"Number", 7), kSuccess);
    const std::string file = HiveFilePath(Hive::CurrentUser);
    const std::string good = kwtest::ReadFileBytes(file);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 200; ++round) {
        std::string damaged = good;
        int edits = 1 + static_cast<int>(next() % 8);
        for (int e = 0; e < edits && !damaged.empty(); ++e) {
            size_t at = next() % damaged.size();
            switch (next() % 3) {
                case 0: damaged[at] = static_cast<char>(next()); break;
                case 1: damaged.erase(at, 1 + next() % 16); break;
                default: damaged.insert(at, 1, static_cast<char>(next())); break;
            }
        }
        std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged;
        ResetForTests();
        ReadString(Hive::CurrentUser, u"Software\\A", u"Text");
        ReadDword(Hive::CurrentUser, u"Software\\A\\B", u"Number");
        ASSERT_EQ(WriteDword(Hive::CurrentUser, u"Software\\C", u"Round", static_cast<uint32_t>(round)), kSuccess);
        EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Software\\C", u"Round"), static_cast<uint32_t>(round));
    }
}

}  // namespace

namespace {

using namespace kw::reg;

class RegistryFilesTest : public kwtest::IsolatedTest {
protected:
    // A file outside the state folder that a planted link points at.
    std::string Victim() {
        std::string victim = outside_.Write("victim", "precious");
        return victim;
    }
    kwtest::TempDir outside_;
};

// Links planted at the names the writer uses must never make it write through them.
TEST_F(RegistryFilesTest, PlantedLinksLeaveTheirTargetsUntouched) {
    const std::string hive = HiveFilePath(Hive::CurrentUser);
    struct Case {
        std::string name;
        bool writeSucceeds;
    } cases[] = {
        {hive + ".tmp." + std::to_string(::getpid()), true},
        {hive + ".lock", false},
    };
    for (const auto& c : cases) {
        ResetForTests();
        std::string victim = Victim();
        ::unlink(c.name.c_str());
        ASSERT_EQ(::symlink(victim.c_str(), c.name.c_str()), 0) << c.name;
        EXPECT_EQ(WriteString(Hive::CurrentUser, u"A", u"v", u"1") == kSuccess, c.writeSucceeds) << c.name;
        EXPECT_EQ(kwtest::ReadFileBytes(victim), "precious") << c.name;
        ::unlink(c.name.c_str());
    }
    ResetForTests();
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"v", u"2"), kSuccess);
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"v"), u"2");
}

TEST_F(RegistryFilesTest, TemporaryFilesOfEndedWritersAreRemoved) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string hive = HiveFilePath(Hive::CurrentUser);
    const std::string ended = root_.Write("HKCU.reg.tmp." + std::to_string(child) + ".abc123", "half");
    const std::string living = root_.Write("HKCU.reg.tmp." + std::to_string(::getppid()) + ".abc123", "busy");
    const std::string other = root_.Write("HKCU.reg.tmpfile", "not ours");
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"v", u"1"), kSuccess);
    EXPECT_FALSE(std::filesystem::exists(ended));
    EXPECT_TRUE(std::filesystem::exists(living));
    EXPECT_TRUE(std::filesystem::exists(other));
    int temporaries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root_.path())) {
        temporaries += entry.path().filename().string().rfind("HKCU.reg.tmp.", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(temporaries, 1);  // the living writer's; ours was renamed into place
}

TEST_F(RegistryFilesTest, StateFolderOthersMayWriteIsRefused) {
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"v", u"1"), kSuccess);
    EXPECT_EQ(kw::StateRootProblem(), "");
    ASSERT_EQ(::chmod(root_.path().c_str(), 0777), 0);
    ResetForTests();
    EXPECT_NE(kw::StateRootProblem().find(root_.path()), std::string::npos);
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"v"), std::nullopt);
    EXPECT_NE(WriteString(Hive::CurrentUser, u"A", u"v", u"2"), kSuccess);
    ASSERT_EQ(::chmod(root_.path().c_str(), 0700), 0);
    ResetForTests();
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"v"), u"1");
}

TEST_F(RegistryFilesTest, StateRootThatIsAFileOrCannotBeMadeIsNamed) {
    const std::string file = outside_.Write("plain", "x");
    for (const std::string& root : {file, file + "/sub"}) {
        ::setenv("KWCONFIG_ROOT", root.c_str(), 1);
        std::string problem = kw::StateRootProblem();
        EXPECT_NE(problem.find(root), std::string::npos) << root;
    }
}

}  // namespace

namespace {

using namespace kw::reg;

class RegistryImportTest : public kwtest::IsolatedTest {
protected:
    void WriteHive(const std::string& text) {
        std::ofstream(HiveFilePath(Hive::CurrentUser), std::ios::binary | std::ios::trunc) << text;
        ResetForTests();
    }
    std::vector<std::string> AsideFiles() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(root_.path())) {
            if (entry.path().filename().string().rfind("HKCU.reg.corrupt.", 0) == 0) found.push_back(entry.path());
        }
        return found;
    }
};

// Everything the registry editor imports without complaint is read whole.
TEST_F(RegistryImportTest, EveryImportSyntaxIsReadWhole) {
    WriteHive(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "# a hash comment\r\n"
        "; a semicolon comment\r\n"
        "[HKEY_CURRENT_USER\\A]\r\n"
        "\"Note\"=\"b\";note\r\n"
        "\"Spaced\" = \"c\"   ; note with \"quotes\"\r\n"
        "\"Short\"=dword:7\r\n"
        "\"Full\"=dword:ffffFFFF ;max\r\n"
        "\"Quo\\\"ted\\\\name\"=\"a \\\"b\\\" c\\\\d\"\r\n"
        "\"Blob\"=hex:01,02,\\\r\n"
        "    03,04\r\n"
        "\"Text\"=hex(1):41,00,42,00,00,00 ; a\r\n"
        "\"Gone\"=\"x\"\r\n"
        "\"Gone\"=-\r\n"
        "@=\"default\"\r\n"
        "[-HKEY_CURRENT_USER\\Removed]\r\n"
        "\"Ignored\"=\"y\"\r\n");
    const std::u16string a = u"A";
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Note"), u"b");
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Spaced"), u"c");
    EXPECT_EQ(ReadDword(Hive::CurrentUser, a, u"Short"), 7u);
    EXPECT_EQ(ReadDword(Hive::CurrentUser, a, u"Full"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Quo\"ted\\name"), u"a \"b\" c\\d");
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Text"), u"AB");
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Gone"), std::nullopt);
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u""), u"default");
    Key key;
    ASSERT_EQ(Key::Open(Hive::CurrentUser, a, Access::Read, key), kSuccess);
    EXPECT_EQ(key.ValueNames(),
              (std::vector<std::u16string>{u"Note", u"Spaced", u"Short", u"Full", u"Quo\"ted\\name", u"Blob", u"Text", u""}));
    EXPECT_FALSE(KeyExists(Hive::CurrentUser, u"Removed"));
    EXPECT_TRUE(AsideFiles().empty());
    // Written back and read again, nothing changes.
    ASSERT_EQ(WriteDword(Hive::CurrentUser, u"B", u"x", 1), kSuccess);
    ResetForTests();
    EXPECT_EQ(ReadString(Hive::CurrentUser, a, u"Quo\"ted\\name"), u"a \"b\" c\\d");
    EXPECT_EQ(ReadDword(Hive::CurrentUser, a, u"Short"), 7u);
    EXPECT_EQ(key.ValueNames().size(), 8u);
}

// What the registry editor rejects costs that line only: it is named, the file is kept aside,
// and every other value stays.
TEST_F(RegistryImportTest, BadLineIsDroppedNamedAndTheRestKept) {
    const std::string badLines[] = {
        "\"Bad\"=2347",
        "\"Bad\"=dword:123456789",
        "\"Bad\"=dword:0x10",
        "\"Bad\"=dword:",
        "\"Bad\"=\"unterminated",
        "\"Bad\"=\"x\" trailing",
        "\"Bad\"=\"x\" #note",
        "\"Bad\"=hex:0g,01",
        "\"Bad\"=hex(zz):01",
        "Bad=\"x\"",
        "[HKEY_CURRENT_USER\\Half",
    };
    for (const auto& bad : badLines) {
        std::filesystem::remove_all(root_.path());
        std::filesystem::create_directories(root_.path());
        const std::string text =
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\A]\n"
            "\"Before\"=\"1\"\n" +
            bad + "\n"
            "[HKEY_CURRENT_USER\\A]\n"
            "\"After\"=dword:00000002\n";
        WriteHive(text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"Before"), u"1") << bad;
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadDword(Hive::CurrentUser, u"A", u"After"), 2u) << bad;
        EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"Bad"), std::nullopt) << bad;
        EXPECT_EQ(ReadDword(Hive::CurrentUser, u"A", u"Bad"), std::nullopt) << bad;
        EXPECT_NE(errors.find(HiveFilePath(Hive::CurrentUser) + ": line 5 "), std::string::npos) << bad << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        auto aside = AsideFiles();
        ASSERT_EQ(aside.size(), 1u) << bad;
        EXPECT_EQ(kwtest::ReadFileBytes(aside[0]), text);
        // The next save leaves the bad line out; the following reader finds nothing to drop.
        ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"Fresh", u"3"), kSuccess);
        ResetForTests();
        EXPECT_EQ(ReadDword(Hive::CurrentUser, u"A", u"After"), 2u);
        EXPECT_EQ(AsideFiles().size(), 1u) << bad;
    }
}

// A string ending in NULs keeps them through a read and an unrelated write.
TEST_F(RegistryImportTest, StringsEndingInNulsRoundTrip) {
    const std::u16string withNuls(u"ab\0\0", 4);
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"Nuls", withNuls), kSuccess);
    for (int round = 0; round < 2; ++round) {
        ResetForTests();
        EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"Nuls"), withNuls) << round;
        ASSERT_EQ(WriteDword(Hive::CurrentUser, u"A", u"Other", static_cast<uint32_t>(round)), kSuccess);
    }
    WriteHive("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"H\"=hex(1):61,00,00,00,00,00\n");
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"A", u"H"), std::u16string(u"a\0", 2));
}

}  // namespace

namespace {

class RegistryGroupTest : public kwtest::IsolatedTest {
protected:
    // Runs body in a child process with a registry of its own; its exit code.
    template <typename Body>
    static int InChild(Body body) {
        pid_t child = ::fork();
        if (child == 0) {
            ResetForTests();
            body();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(RegistryGroupTest, AWriteThatChangesNothingIsNotSaved) {
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"A", u"Name", u"same"), kSuccess);
    ASSERT_EQ(WriteDword(Hive::CurrentUser, u"A", u"Number", 7), kSuccess);
    int saves = SavesForTests(Hive::CurrentUser);
    EXPECT_EQ(WriteString(Hive::CurrentUser, u"a", u"NAME", u"same"), kSuccess);
    EXPECT_EQ(WriteDword(Hive::CurrentUser, u"A", u"Number", 7), kSuccess);
    EXPECT_EQ(SavesForTests(Hive::CurrentUser), saves);
    EXPECT_EQ(WriteDword(Hive::CurrentUser, u"A", u"Number", 8), kSuccess);
    EXPECT_EQ(SavesForTests(Hive::CurrentUser), saves + 1);
    // A string and a number are different data even when they read alike.
    EXPECT_EQ(WriteString(Hive::CurrentUser, u"A", u"Number", u"8"), kSuccess);
    EXPECT_EQ(SavesForTests(Hive::CurrentUser), saves + 2);
}

TEST_F(RegistryGroupTest, AGroupIsSeenAtOnceAndSavedOnceAtItsEnd) {
    {
        WriteGroup group;
        for (uint32_t i = 0; i < 500; ++i) ASSERT_EQ(WriteDword(Hive::CurrentUser, u"Many", kw::FormatW("v%u", i), i), kSuccess);
        Key many;
        ASSERT_EQ(Key::Open(Hive::CurrentUser, u"Many", Access::Full, many), kSuccess);
        EXPECT_EQ(many.DeleteValue(u"v1"), kSuccess);
        EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Many", u"v499"), 499u);  // readers see it before the save
        EXPECT_EQ(SavesForTests(Hive::CurrentUser), 0);
        {
            WriteGroup nested;
            ASSERT_EQ(WriteString(Hive::CurrentUser, u"Many", u"Inner", u"x"), kSuccess);
        }
        EXPECT_EQ(SavesForTests(Hive::CurrentUser), 1);  // every group's end is a flush
        ASSERT_EQ(WriteString(Hive::CurrentUser, u"Many", u"Late", u"y"), kSuccess);
    }
    EXPECT_EQ(SavesForTests(Hive::CurrentUser), 2);
    ResetForTests();
    EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Many", u"v0"), 0u);
    EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Many", u"v1"), std::nullopt);  // deleted in the group
    EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Many", u"v499"), 499u);
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Many", u"Late"), u"y");
}

TEST_F(RegistryGroupTest, AnotherProcessWritingDuringAGroupLosesNothing) {
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"Shared", u"Old", u"1"), kSuccess);
    {
        WriteGroup group;
        ASSERT_EQ(WriteString(Hive::CurrentUser, u"Shared", u"Mine", u"a"), kSuccess);
        EXPECT_EQ(InChild([] {
                      // The child inherits this thread's open group: its write is saved by its flush.
                      if (WriteString(Hive::CurrentUser, u"Shared", u"Theirs", u"b") != kSuccess) ::_exit(1);
                      if (Flush() != kSuccess) ::_exit(2);
                  }),
                  0);
        ASSERT_EQ(WriteString(Hive::CurrentUser, u"Shared", u"Mine2", u"c"), kSuccess);
    }
    ResetForTests();
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Shared", u"Old"), u"1");
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Shared", u"Mine"), u"a");
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Shared", u"Theirs"), u"b");
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Shared", u"Mine2"), u"c");
}

// A disk that takes no more bytes: the write is reported as failed and the file keeps what it had.
TEST_F(RegistryGroupTest, AWriteTheDiskCannotTakeFailsAndKeepsTheFile) {
    ASSERT_EQ(WriteString(Hive::CurrentUser, u"Full", u"Kept", u"yes"), kSuccess);
    const std::string before = kwtest::ReadFileBytes(HiveFilePath(Hive::CurrentUser));
    int code = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = before.size() + 16;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        const std::u16string big(4000, u'x');
        if (WriteString(Hive::CurrentUser, u"Full", u"Big", big) != kAccessDenied) ::_exit(1);
        {
            WriteGroup group;
            WriteString(Hive::CurrentUser, u"Full", u"Grouped", big);
        }
        if (Flush() != kSuccess) ::_exit(4);  // the failed group is not retried for ever
        ::_exit(0);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(kwtest::ReadFileBytes(HiveFilePath(Hive::CurrentUser)), before);
}

TEST_F(RegistryGroupTest, AProcessKilledInsideAGroupLosesOnlyThatGroup) {
    int code = InChild([] {
        {
            WriteGroup first;
            WriteDword(Hive::CurrentUser, u"Crash", u"Earlier", 1);
            WriteString(Hive::CurrentUser, u"Crash", u"Replaced", u"old");
        }
        WriteGroup second;
        WriteDword(Hive::CurrentUser, u"Crash", u"InFlight", 2);
        WriteString(Hive::CurrentUser, u"Crash", u"Replaced", u"new");
        ::kill(::getpid(), SIGKILL);
    });
    EXPECT_EQ(code, -1);
    EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Crash", u"Earlier"), 1u);
    EXPECT_EQ(ReadString(Hive::CurrentUser, u"Crash", u"Replaced"), u"old");
    EXPECT_EQ(ReadDword(Hive::CurrentUser, u"Crash", u"InFlight"), std::nullopt);
}

}  // namespace

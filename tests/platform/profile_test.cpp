#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/scratch_dir.h"

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void put(const std::string& bytes) const { ScratchDir::write(file_, bytes); }

    ScratchDir dir_;
    const std::filesystem::path file_ = dir_ / "tolvar32.ini";
};

TEST_F(ProfileTest, ReadsNamesCaseInsensitivelyAndCutsToTheBuffer) {
    put("stray=before any section\n[tolvar32 Config]\n  Number of Beats  =  3  \n"
        "LastDir='/home/a b'\ntempo=99\nTempo=100\nDivision=1000\n[midi config]\nBoard = \"S\"\n");
    const Profile profile(file_);
    EXPECT_EQ(profile.read("tolvar32 Config", "stray", "none", 10), "none");
    EXPECT_EQ(profile.read("TOLVAR32 CONFIG", "number of beats", "4", 2), "3");
    EXPECT_EQ(profile.read("tolvar32 Config", "Number  of Beats", "4", 2), "4");
    EXPECT_EQ(profile.read("tolvar32 Config", "LastDir", "", 199), "/home/a b");
    EXPECT_EQ(profile.read("tolvar32 Config", "Tempo", "120", 4), "99");
    EXPECT_EQ(profile.read("MIDI Config", "Board", "-NONE-", 32), "S");
    EXPECT_EQ(profile.read("tolvar32 Config", "Division", "120", 4), "100");
    EXPECT_EQ(profile.read("tolvar32 Config", "Division", "120", 1), "");
    EXPECT_EQ(profile.read("tolvar32 Config", "Missing", "abcdef", 4), "abc");
}

TEST_F(ProfileTest, MissingFileReadsDefaultsAndWritesCreateOnlyWhatIsStoredOrReportFalse) {
    Profile profile(dir_ / "new" / "deeper" / "x.ini");
    EXPECT_EQ(profile.read("A", "k", "dflt", 10), "dflt");
    ASSERT_TRUE(profile.write("A", "k", "1"));
    ASSERT_TRUE(profile.write("B", "k", "2"));
    ASSERT_TRUE(profile.write("a", "other", "3"));
    ASSERT_TRUE(profile.write("A", "K", "4"));
    EXPECT_EQ(ScratchDir::read(profile.file()), "[A]\nK=4\nother=3\n[B]\nk=2\n");
    ScratchDir::write(dir_ / "plain", "a file, not a directory");
    EXPECT_FALSE(Profile(dir_ / "plain" / "x.ini").write("A", "k", "1"));
}

TEST_F(ProfileTest, GarbledFileStillReadsAndWritesKeepEveryOtherByte) {
    const std::string head = "\xEF\xBB\xBF[A]\r\n;comment\r\nno equals\r\n\x01\xff=\x7f\r\n" +
                             std::string("k=\0bad\r\n", 8);
    put(head + "k=good\r\n[b]\r\nx=1\r\n\r\n[A]\r\nlater=2\r\n[C]");
    Profile profile(file_);
    EXPECT_EQ(profile.read("A", "k", "", 10), "good");
    EXPECT_EQ(profile.read("A", "later", "", 10), "2");
    ASSERT_TRUE(profile.write("A", "k", "new"));
    ASSERT_TRUE(profile.write("a", "added", "5"));
    ASSERT_TRUE(profile.write("B", "y", "2"));
    ASSERT_TRUE(profile.write("C", "z", "3"));
    ASSERT_TRUE(profile.write("D", "w", "4"));
    EXPECT_EQ(ScratchDir::read(file_),
              head + "k=new\r\nadded=5\r\n[b]\r\nx=1\r\ny=2\r\n\r\n[A]\r\nlater=2\r\n" +
                  "[C]\r\nz=3\r\n[D]\r\nw=4\r\n");
}

TEST_F(ProfileTest, AFileWithoutAFinalLineBreakKeepsItsLastValueWhateverIsWritten) {
    const std::pair<const char*, const char*> cases[][2] = {
        {{"B", "j"}, {"[A]\nk=last", "[A]\nk=last\n[B]\nj=1\n"}},
        {{"A", "j"}, {"[A]\nk=last", "[A]\nk=last\nj=1\n"}},
        {{"A", "k"}, {"[A]\nk=last", "[A]\nk=1"}},
        {{"B", "j"}, {"[A]\r\nk=last", "[A]\r\nk=last\r\n[B]\r\nj=1\r\n"}},
    };
    for (const auto& [name, bytes] : cases) {
        put(bytes.first);
        Profile profile(file_);
        ASSERT_TRUE(profile.write(name.first, name.second, "1"));
        EXPECT_EQ(ScratchDir::read(file_), bytes.second) << name.first << name.second;
    }
    EXPECT_EQ(Profile(file_).read("A", "k", "", 10), "last");
}

TEST_F(ProfileTest, WrittenValuesReadBackExactlyAndInjectionIsRefused) {
    Profile profile(file_);
    for (const std::string value : {" padded ", "\"quoted\"", "'", "a=b", "/home/x y"}) {
        ASSERT_TRUE(profile.write("A", "k", value));
        EXPECT_EQ(profile.read("A", "k", "", 100), value);
    }
    const std::string before = ScratchDir::read(file_);
    const char* injections[][3] = {
        {"A", "k", "2\n[B]\nk=3"}, {"A", "k", "2\r"}, {"A\n", "k", "2"}, {"A]", "k", "2"},
        {"A", "k=j", "2"},         {"A", " [k", "2"}, {"A", " ", "2"}};
    for (const auto& [section, key, value] : injections) {
        EXPECT_FALSE(profile.write(section, key, value)) << section << key << value;
    }
    EXPECT_EQ(ScratchDir::read(file_), before);
}

TEST(ProfilePath, NamedFileThenAbsoluteXdgConfigThenHome) {
    const auto env = [](const char* name) {
        return std::string(std::getenv(name) ? std::getenv(name) : "");
    };
    const std::string saved[] = {env("TOLVAR32_INI"), env("XDG_CONFIG_HOME"), env("HOME")};
    setenv("TOLVAR32_INI", "/tmp/named.ini", 1);
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(Profile::defaultPath(), "/tmp/named.ini");
    setenv("TOLVAR32_INI", "", 1);
    EXPECT_EQ(Profile::defaultPath(), "/xdg/tolvar32/tolvar32.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(Profile::defaultPath(), "/home/u/.config/tolvar32/tolvar32.ini");
    setenv("TOLVAR32_INI", saved[0].c_str(), 1);
    setenv("XDG_CONFIG_HOME", saved[1].c_str(), 1);
    setenv("HOME", saved[2].c_str(), 1);
}

}  // namespace

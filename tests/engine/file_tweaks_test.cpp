// The GodMode folder and the previous calculator over the in-memory file system.
#include "engine/file_tweaks.h"
#include "engine/text.h"
#include "engine/registry.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FileTweaksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        memreg::Reset();
        fakes::Reset();
    }
    std::u16string appPath() {
        char16_t b[260];
        return ReadRegString(Hive::LocalMachine, kCalculatorAppPath, u"", b, 260, u"<none>");
    }
};

const char16_t* const kGodMode =
    u"C:\\Users\\user\\Desktop\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}";

TEST_F(FileTweaksTest, GodModeFolderIsCreatedOnceAndNeverReplaced) {
    CreateGodModeFolder();
    EXPECT_TRUE(fakes::FolderExists(kGodMode));
    CreateGodModeFolder();
    EXPECT_EQ(fakes::FileLog(), (std::vector<std::string>{"mkdir " + toUtf8(kGodMode)}));
    fakes::SetDesktop(u"");
    CreateGodModeFolder(); // an unknown desktop creates nothing
    EXPECT_EQ(fakes::FileLog().size(), 1u);
}

TEST_F(FileTweaksTest, InstallRegistersFirstThenCopiesIntoExistingLanguageFolders) {
    fakes::AddFile(u"C:\\Program\\data\\datax64.dat", "x64");
    fakes::AddFile(u"C:\\Program\\data\\datax32.dat", "x32");
    for (int i = 0; i < 35; ++i)
        fakes::AddFile(u"C:\\Program\\data\\data" + fromUtf8(std::to_string(i)) + u".dat",
                       "mui" + std::to_string(i));
    fakes::AddFolder(u"C:\\Windows\\System32\\de-DE");
    fakes::AddFolder(u"C:\\Windows\\System32\\zh-CN");
    InstallPreviousCalculator();
    EXPECT_EQ(appPath(), u"C:\\Windows\\System32\\calc1.exe");
    EXPECT_EQ(fakes::FileBytes(u"C:\\Windows\\System32\\calc1.exe"), "x64");
    EXPECT_EQ(fakes::FileBytes(u"C:\\Windows\\System32\\de-DE\\calc1.exe.mui"), "mui4");
    EXPECT_EQ(fakes::FileBytes(u"C:\\Windows\\System32\\zh-CN\\calc1.exe.mui"), "mui33");
    EXPECT_EQ(fakes::FileLog().size(), 3u) << "only the languages present receive a file";
}

TEST_F(FileTweaksTest, InstallUsesTheThirtyTwoBitPayloadWithoutAWow64Folder) {
    fakes::SetSystemWow64(false);
    fakes::SetWindowsFolder(u"D:\\WIN\\");
    fakes::AddFolder(u"D:\\WIN\\System32");
    fakes::AddFile(u"C:\\Program\\data\\datax32.dat", "x32");
    InstallPreviousCalculator();
    EXPECT_EQ(appPath(), u"D:\\WIN\\System32\\calc1.exe");
    EXPECT_EQ(fakes::FileBytes(u"D:\\WIN\\System32\\calc1.exe"), "x32");
}

TEST_F(FileTweaksTest, InstallKeepsAnExistingCalculatorAndStillWritesTheKey) {
    fakes::AddFile(u"C:\\Windows\\System32\\calc1.exe", "mine");
    fakes::AddFile(u"C:\\Program\\data\\datax64.dat", "x64");
    InstallPreviousCalculator();
    EXPECT_EQ(fakes::FileBytes(u"C:\\Windows\\System32\\calc1.exe"), "mine");
    EXPECT_EQ(appPath(), u"C:\\Windows\\System32\\calc1.exe");
}

TEST_F(FileTweaksTest, WithoutPayloadOnlyTheKeyIsWritten) {
    InstallPreviousCalculator();
    EXPECT_EQ(appPath(), u"C:\\Windows\\System32\\calc1.exe");
    EXPECT_TRUE(fakes::FileLog().empty());
}

TEST_F(FileTweaksTest, WithoutAWholePayloadPathNothingIsCopiedFromElsewhere) {
    const std::u16string deep = u"C:\\" + std::u16string(241, u'p');
    for (const std::u16string& program : {std::u16string(), std::u16string(300, u'p'), deep}) {
        SCOPED_TRACE(program.size());
        SetUp();
        // Payloads in the root of the drive, and where a cut payload path would point.
        fakes::AddFile(u"\\data\\datax64.dat", "root");
        fakes::AddFile(u"\\data\\data7.dat", "root");
        fakes::AddFile(deep + u"\\data\\datax64.d", "cut");
        fakes::AddFolder(u"C:\\Windows\\System32\\en-US");
        fakes::SetProgramFolder(program);
        InstallPreviousCalculator();
        EXPECT_EQ(appPath(), u"C:\\Windows\\System32\\calc1.exe") << "as after a failed copy";
        EXPECT_TRUE(fakes::FileLog().empty());
    }
}

TEST_F(FileTweaksTest, RemoveDeletesTheKeyAndWhateverFilesExist) {
    WriteRegString(Hive::LocalMachine, kCalculatorAppPath, u"",
                   u"C:\\Windows\\System32\\calc1.exe");
    fakes::AddFile(u"C:\\Windows\\System32\\en-US\\calc1.exe.mui", "mui");
    RemovePreviousCalculator();
    EXPECT_FALSE(RegKeyExists(Hive::LocalMachine, kCalculatorAppPath));
    EXPECT_EQ(fakes::FileLog(),
              (std::vector<std::string>{"delete C:\\Windows\\System32\\en-US\\calc1.exe.mui"}));
}

TEST_F(FileTweaksTest, AWindowsFolderOfUnknownPathGivesPathsFromTheRoot) {
    fakes::SetWindowsFolder(u"");
    InstallPreviousCalculator();
    EXPECT_EQ(appPath(), u"\\calc1.exe");
}

} // namespace

#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "fixtures/settings/fixture_expectations.h"
#include "model/cp1251.h"

namespace qs {
namespace {

using test::EventLog;
using test::FakeFiles;

const std::string kFolder = "C:\\Program Files\\Quipstream\\";
const std::string kPath = kFolder + "Settings.xml";
const std::string kBadPath = kPath + ".bad";

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { files.folder = kFolder; }
  EventLog log;
  FakeFiles files{log};
  PugiXmlReader xml;
};

EntryModel Sample() {
  EntryModel m;
  m.AppendEntry(std::string("Привет"_cp1251), "Hello,\r\nworld", std::string(NoGroupName()));
  m.AppendEntry("addr", "Main St. 1", std::string("Работа"_cp1251));
  m.AppendGroup(std::string("Работа"_cp1251));
  m.options() = {49227, true, false};
  return m;
}

TEST_F(SettingsFileTest, TheFileLivesBesideTheExecutable) {
  EXPECT_EQ(SettingsPath(files), kPath);
}

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameModel) {
  const EntryModel saved = Sample();
  ASSERT_TRUE(SaveSettingsFile(files, saved).ok);
  EXPECT_EQ(files.files.at(kPath), WriteSettingsXml(saved));

  EntryModel loaded;
  const LoadResult result = ReadSettingsFile(files, xml, loaded);
  EXPECT_EQ(result.status, LoadStatus::Loaded);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(loaded.Rows(), saved.Rows());
  EXPECT_EQ(loaded.Groups(), saved.Groups());
  EXPECT_EQ(loaded.options(), saved.options());
}

TEST_F(SettingsFileTest, SaveReplacesTheFileInOneStep) {
  files.files[kPath] = "old";
  ASSERT_TRUE(SaveSettingsFile(files, Sample()).ok);
  EXPECT_EQ(log, (EventLog{"Replace " + kPath}));
}

TEST_F(SettingsFileTest, AFailedSaveLeavesThePreviousFileAndSaysSo) {
  files.files[kPath] = "previous contents";
  files.failWrites = true;
  const FileResult result = SaveSettingsFile(files, Sample());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(files.files.at(kPath), "previous contents");
  EXPECT_TRUE(Contains(result.error, Utf8ToCp1251(kPath))) << Cp1251ToUtf8(result.error);
  EXPECT_TRUE(Contains(result.error, "access denied"));
  EXPECT_TRUE(Contains(result.error, "Прежний файл настроек остался без изменений"_cp1251));
}

TEST_F(SettingsFileTest, AFailedFirstSaveDoesNotSpeakOfAPreviousFile) {
  files.failWrites = true;
  const FileResult result = SaveSettingsFile(files, Sample());
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(files.Exists(kPath));
  EXPECT_FALSE(Contains(result.error, "Прежний"_cp1251));
}

TEST_F(SettingsFileTest, AMissingFileLeavesTheModelAlone) {
  EntryModel model = Sample();
  const LoadResult result = ReadSettingsFile(files, xml, model);
  EXPECT_EQ(result.status, LoadStatus::Missing);
  EXPECT_EQ(model.Rows(), Sample().Rows());
  EXPECT_TRUE(log.empty());
}

TEST_F(SettingsFileTest, AnUnreadableFileFailsWithoutACopy) {
  files.files[kPath] = WriteSettingsXml(Sample());
  files.failReads = true;
  EntryModel model;
  const LoadResult result = ReadSettingsFile(files, xml, model);
  EXPECT_EQ(result.status, LoadStatus::Failed);
  EXPECT_TRUE(Contains(result.error, Utf8ToCp1251(kPath)));
  EXPECT_TRUE(Contains(result.error, "cannot open"));
  EXPECT_FALSE(files.Exists(kBadPath));
}

// Every refused fixture: the load fails with a message naming the file and
// its copy, the copy holds the broken bytes, and nothing reached the model.
TEST_F(SettingsFileTest, ABrokenFileIsKeptAsBadAndReported) {
  const std::string folder = std::string(QS_FIXTURES_DIR) + "/settings";
  int refused = 0;
  for (const auto& expected : fixtures::LoadExpectations(folder + "/expected.txt")) {
    if (!expected.fails) continue;
    SCOPED_TRACE(expected.file);
    ++refused;
    const std::string bytes = fixtures::ReadFileBytes(folder + "/" + expected.file);
    files.files = {{kPath, bytes}};
    EntryModel model;
    const LoadResult result = ReadSettingsFile(files, xml, model);
    EXPECT_EQ(result.status, LoadStatus::Failed);
    EXPECT_TRUE(Contains(result.error, std::string("Файл настроек «"_cp1251) + Utf8ToCp1251(kPath)))
        << Cp1251ToUtf8(result.error);
    EXPECT_TRUE(Contains(result.error,
                         std::string("Его копия сохранена как «"_cp1251) + Utf8ToCp1251(kBadPath)))
        << Cp1251ToUtf8(result.error);
    EXPECT_EQ(files.files[kBadPath], bytes);
    EXPECT_EQ(files.files[kPath], bytes);
    EXPECT_EQ(model.RowCount(), 0u);
    EXPECT_EQ(model.GroupCount(), 1u);
    EXPECT_EQ(model.options(), Options{});
  }
  EXPECT_GT(refused, 0) << "expected.txt lists no refused fixture";
}

TEST_F(SettingsFileTest, ACopyThatCannotBeMadeIsReportedToo) {
  files.files[kPath] = "not xml";
  files.failWrites = true;
  EntryModel model;
  const LoadResult result = ReadSettingsFile(files, xml, model);
  EXPECT_EQ(result.status, LoadStatus::Failed);
  EXPECT_TRUE(Contains(result.error, "Сохранить его копию"_cp1251)) << Cp1251ToUtf8(result.error);
  EXPECT_TRUE(Contains(result.error, "cannot copy"));
  EXPECT_FALSE(files.Exists(kBadPath));
}

}  // namespace
}  // namespace qs

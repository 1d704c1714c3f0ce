// OFD step data: template files, the template folder, and the checks of "Далее".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>

#include "tests/support/TempConfig.h"
#include "wizard/flow/core/OFDParams.h"
#include "wizard/flow/core/OFDTemplates.h"

namespace zel {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
void WriteAll(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TOFDFields Sample() {
  return {"ofd.example", "7790", "ООО \"Тест & <Ко>\"", "www.ofd.example", "7701234560", "www.nalog.gov.ru",
          "km.example", "7791", "box@ofd.example"};
}

TEST(OFDTemplate, SaveThenLoadGivesEveryFieldBackAndWritesTheDocumentShape) {
  test::TempDir dir;
  const std::string path = dir / "Тест.xml";
  SaveTemplate(path, Sample());
  EXPECT_EQ(LoadTemplate(path, {}), Sample());
  const std::string xml = ReadAll(path);
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << xml;
  const char* order[] = {"<OFDParams>", "<OFDServer>", "<OFDPort>", "<OFDName>", "<OFDUrl>", "<INNOFD>",
                         "<TaxOfficeURL>", "<ServerKM>", "<PortKM>", "<SenderEmail>"};
  std::size_t at = 0;
  for (const char* tag : order) {
    const std::size_t next = xml.find(tag, at);
    ASSERT_NE(next, std::string::npos) << tag << " missing or out of order";
    at = next;
  }
  EXPECT_NE(xml.find("\n  <OFDServer>"), std::string::npos) << "elements are indented";
}

TEST(OFDTemplate, MissingElementsClearTheirFieldsAndAFileWithoutTheRootChangesNothing) {
  test::TempDir dir;
  WriteAll(dir / "a.xml", "<?xml version=\"1.0\"?><OFDParams><OFDName>Имя</OFDName><OFDPort>1</OFDPort></OFDParams>");
  TOFDFields got = LoadTemplate(dir / "a.xml", Sample());
  EXPECT_EQ(got.OFDName, "Имя");
  EXPECT_EQ(got.OFDPort, "1");
  EXPECT_EQ(got.ServerKM, "");
  EXPECT_EQ(got.PortKM, "");
  EXPECT_EQ(got.SenderEmail, "");

  WriteAll(dir / "b.xml", "<?xml version=\"1.0\"?><Other><OFDName>x</OFDName></Other>");
  EXPECT_EQ(LoadTemplate(dir / "b.xml", Sample()), Sample());
}

TEST(OFDTemplate, UnreadableOrMalformedFilesRaiseAndNameTheFile) {
  test::TempDir dir;
  WriteAll(dir / "bad.xml", "<OFDParams><OFDName>x</OFDParams>");
  for (const std::string& path : {dir / "bad.xml", dir / "missing.xml"}) {
    try {
      LoadTemplate(path, Sample());
      ADD_FAILURE() << path;
    } catch (const ETemplateFile& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(SaveTemplate(dir / "no/such/folder/t.xml", Sample()), ETemplateFile);
}

TEST(OFDTemplateFolder, ListPutsThePreferredOperatorFirstAndIgnoresOtherFiles) {
  test::TempDir dir;
  EXPECT_TRUE(ListTemplates(dir / "absent").empty());
  for (const char* name : {"Alpha.xml", "ЯРУС (ОФД-Я).xml", "Beta.xml", "notes.txt"}) WriteAll(dir / name, "<OFDParams/>");
  std::filesystem::create_directory(dir / "sub.xml");
  std::vector<std::string> captions;
  for (const auto& p : ListTemplates(dir.Path())) captions.push_back(TemplateCaption(p));
  EXPECT_EQ(captions, (std::vector<std::string>{"ЯРУС (ОФД-Я)", "Alpha", "Beta"}));
}

TEST(OFDTemplateFolder, LivesUnderSharedDataAndStartsWithDefaultTemplatesThatPassTheChecks) {
  test::TempDir home;
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
  const std::string folder = TemplateFolder();
  if (old) setenv("XDG_DATA_HOME", saved.c_str(), 1); else unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(folder, home / "Veltrona/Tamarex/Templates");

  EnsureTemplateFolder(folder);
  const auto files = ListTemplates(folder);
  ASSERT_GE(files.size(), 2u);
  EXPECT_EQ(TemplateCaption(files[0]), "ЯРУС (ОФД-Я)");
  for (const auto& f : files) {
    SCOPED_TRACE(f);
    EXPECT_NO_THROW(ValidateOFDFields(LoadTemplate(f, {}), true, kFFD12, nullptr));
  }
  // An existing folder is left as the operator keeps it.
  std::filesystem::remove(files[0]);
  EnsureTemplateFolder(folder);
  EXPECT_EQ(ListTemplates(folder).size(), files.size() - 1);
}

TEST(OFDChecks, EachBadInputIsRefusedWithItsText) {
  struct Case {
    const char* what;
    std::function<void(TOFDFields&)> change;
    bool ofdEnabled;
    int ffd;
    const char* text;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {"all good", [](TOFDFields&) {}, true, kFFD12, ""},
      {"server", [](TOFDFields& f) { f.OFDServer.clear(); }, true, kFFD105, "Введите значение \"Сервер ОФД\"!"},
      {"port empty", [](TOFDFields& f) { f.OFDPort.clear(); }, true, kFFD105, "Введите значение \"Порт сервера ОФД\"!"},
      {"port zero", [](TOFDFields& f) { f.OFDPort = "0"; }, true, kFFD105, "Порт должен быть числом от 1 до 65535"},
      {"port too big", [](TOFDFields& f) { f.OFDPort = "65536"; }, true, kFFD105, "Порт должен быть числом"},
      {"port sign", [](TOFDFields& f) { f.OFDPort = "+80"; }, true, kFFD105, "Порт должен быть числом"},
      {"port not needed", [](TOFDFields& f) { f.OFDServer.clear(); f.OFDPort.clear(); }, false, kFFD105, ""},
      {"km port", [](TOFDFields& f) { f.PortKM = "70000"; }, true, kFFD12, "Порт должен быть числом"},
      {"km not needed", [](TOFDFields& f) { f.ServerKM.clear(); f.PortKM.clear(); }, true, kFFD105, ""},
      {"km server", [](TOFDFields& f) { f.ServerKM.clear(); }, true, kFFD12, "Введите значение \"Сервер KM\"!"},
      {"name", [](TOFDFields& f) { f.OFDName.clear(); }, true, kFFD12, "Введите значение \"Имя ОФД\"!"},
      {"email", [](TOFDFields& f) { f.SenderEmail = "@ofd"; }, true, kFFD12, "Введен некорректный E-mail отправителя"},
      {"inn letters", [](TOFDFields& f) { f.INNOFD = "77O1234560"; }, true, kFFD12, "Ошибка в ИНН ОФД"},
      {"inn digit", [](TOFDFields& f) { f.INNOFD = "7701234561"; }, true, kFFD12, "ИНН ОФД не валидный!"},
      {"inn trimmed", [](TOFDFields& f) { f.INNOFD = " 7701234560 "; }, true, kFFD12, ""},
      {"tax site refused", [](TOFDFields& f) { f.TaxOfficeURL = "tax.example"; }, true, kFFD12,
       "Исправьте URL налогового органа"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TOFDFields f = Sample();
    c.change(f);
    try {
      ValidateOFDFields(f, c.ofdEnabled, c.ffd, [](const std::string&) { return false; });
      EXPECT_STREQ(c.text, "");
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(c.text), "");
      EXPECT_EQ(std::string(e.what()).rfind(c.text, 0), 0u) << e.what();
    }
  }
}

TEST(OFDChecks, ChangedTaxSiteAsksOnceAndGoesOnWhenConfirmed) {
  TOFDFields f = Sample();
  f.TaxOfficeURL = "tax.example";
  std::vector<std::string> asked;
  ValidateOFDFields(f, true, kFFD12, [&](const std::string& q) { asked.push_back(q); return true; });
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "URL налогового органа отличается от \r\n\"www.nalog.gov.ru\"\r\nПродолжить?");
}

TEST(OFDChecks, RecordTakesPortsAsNumbersAndGivesThemBackAsText) {
  TRegParams p;
  TOFDFields f = Sample();
  f.PortKM = "";
  StoreOFDFields(f, p);
  EXPECT_EQ(p.OFDPort, 7790);
  EXPECT_EQ(p.PortKM, 0);
  EXPECT_EQ(p.OFDINN, "7701234560");
  EXPECT_EQ(OFDFieldsOf(p), f);
}

}  // namespace
}  // namespace zel

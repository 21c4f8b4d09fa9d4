#include "app/work_manager.h"

#include <system_error>

#include "app/command_line.h"
#include "app/searcher.h"
#include "base/exit_code.h"
#include "base/format_settings.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/run_folder.h"
#include "base/text.h"
#include "config/config_file.h"
#include "log/logger.h"
#include "protocol/protocol_former.h"
#include "verify/verification.h"

namespace morvel {
namespace {

bool FolderExists(const std::string& folder) {
  std::error_code ec;
  return std::filesystem::is_directory(PathFromUtf8(folder), ec);
}

const char kRegNumMessage[] = "Перед началом сверки укажите корректный регистрационный номер предприятия!";

}  // namespace

TWorkManager::TWorkManager(bool portableMode)
    : fSettings(TSettings::GetInstance()), fClassifiersScope(fClassifiers) {
  Log("***инициализация");
  FAppDataDir = portableMode ? ProgramFolder() : UserDataFolder();
  Log("***инициализация завершена");
}

TWorkManager::~TWorkManager() = default;

void TWorkManager::Prepare() {
  Log("***установка региональных стандартов");
  FormatSettings().DateSeparator = '.';
  Log("---разделитель в дате \".\"");
  FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  Log("---формат даты \"dd.mm.yyyy\"");
  FormatSettings().DecimalSeparator = '.';
  Log("---разделитель в времени \".\"");
  Log("***установка региональных стандартов завершено");

  const std::string temp = PathToUtf8(FAppDataDir / "Temp");
  Log("***удаление каталога \"" + temp + "\"");
  // Other runs of the same user may be at work in Temp: only what no live run
  // holds goes.
  CleanTempFolder(FAppDataDir / "Temp");
  Log("***удаление каталога \"" + temp + " завершено");

  Log("***чтение ini-файла");
  ReadIni();
  TSingleton::GetInstance<TLogger>().Init(WithTrailingSeparator(FAppDataDir / "logs"), fSettings.FDebug,
                                          fSettings.AppDate());
  Log("***чтение ini-файла завершено");

  RemoveLeftTemporaryProtocols();

  if (fSettings.FCrossAutoUpdate) UpdateCrossList();

  Log("***заполнение классификаторов");
  LoadClassifiers();
  Log("***заполнение классификаторов завершено");
}

void TWorkManager::RemoveLeftTemporaryProtocols() {
  if (fSettings.FDirReport.empty()) return;
  for (const std::filesystem::path& file :
       RemoveTemporaryProtocolsOfEndedRuns(PathFromUtf8(fSettings.FDirReport), FAppDataDir / "Temp")) {
    Log("---удален временный протокол завершившегося запуска " + PathToUtf8(file));
  }
}

std::vector<std::string> TWorkManager::CheckSettings() {
  const TSettings& s = fSettings;
  std::vector<std::string> messages;
  if (s.FRegNum.empty()) messages.push_back(kRegNumMessage);
  // The number becomes part of the protocol's file name: a separator or a character
  // Windows reserves would put the protocol elsewhere or into an NTFS stream.
  if (Contains(s.FRegNum, " ") || !IsPlainFileNamePart(s.FRegNum)) messages.push_back(kRegNumMessage);
  const bool fromServer = s.FCompareWithList && s.FUseUL;
  if (fromServer && s.FULMachine.empty()) {
    messages.push_back("Перед началом сверки укажите IP-адрес или имя сервера ПК \"Велано\"!");
  }
  if (fromServer && s.FULPort.empty()) messages.push_back("Перед началом сверки укажите порт сервера ПК \"Велано\"!");
  if (fromServer && s.FULAppName.empty()) {
    messages.push_back("Перед началом сверки укажите имя приложения ПК \"Велано\"!");
  }
  if (!s.FCompareWithList && !s.fCompareTerrCodes) {
    messages.push_back(
        "Хоть один из параметров должен быть включенным: \"Проверка правомерности проставления терр. кодов\" "
        "или \"Делать сверку с Перечнем\"!");
  }
  if (s.FDirPD.empty()) {
    messages.push_back("Перед началом сверки укажите путь к файлам Индивидуальных сведений!");
  } else if (!FolderExists(s.FDirPD)) {
    messages.push_back("Проверьте путь к файлам Индивидуальных сведений! Такого каталога не существует!");
  }
  if (s.FDirReport.empty()) {
    messages.push_back("Перед началом сверки укажите каталог, где будет сохраняться протокол сверки!");
  } else if (!FolderExists(s.FDirReport)) {
    messages.push_back("Проверьте путь, где будет сохраняться протокол сверки! Такого каталога не существует!");
  }
  if (s.FCompareWithList && !s.FCompareWithListStaff && !s.FCompareWithListNameList) {
    messages.push_back(
        "Выберите хотя бы одну из опций сверки (Сверка ИС с Перечнем по позициям штатного расписания и/или "
        "Сверка ИС с поименным списком к Перечню)!");
  }
  if (!s.FHasXMLClassifiers) messages.push_back("Невозможно найти файл perech-vlmr-additional.xml, переустановите ПО!");
  return messages;
}


void TWorkManager::ReadIni() {
  CopyDefaultFiles();
  ReadConfigFile(FAppDataDir, fSettings, [this](const std::string& line) { Log(line); });
  fConfigRead = true;
}

bool TWorkManager::WriteIni() { return WriteConfigFile(FAppDataDir, fSettings); }

void TWorkManager::CopyDefaultFile(const std::string& fileName) {
  // First-start defaults lie beside the program, like the other shipped files.
  std::error_code ec;
  const std::filesystem::path target = FAppDataDir / PathFromUtf8(fileName);
  if (std::filesystem::exists(target, ec)) return;
  const std::filesystem::path source = ShippedDataFile(fileName);
  if (!std::filesystem::is_regular_file(source, ec)) return;
  std::filesystem::copy_file(source, target, ec);
}

void TWorkManager::CopyDefaultFiles() {
  CopyDefaultFile(kConfigFileName);
  CopyDefaultFile(kRightListFileName);
  CopyDefaultFile(kCrossingListFileName);
}

std::string TWorkManager::UpdateCrossList() { return std::string(); }

void TWorkManager::LoadClassifiers() {
  fClassifiers.Clear();
  fSettings.FHasXMLClassifiers =
      LoadClassifierFiles(fClassifiers, ShippedDataFile("perech-vlmr.xsd"),
                          ShippedDataFile("perech-vlmr-additional.xml"), [this](const std::string& line) { Log(line); });
}

void TWorkManagerBPI::Prepare() {
  // The calling system may end a run it no longer waits for: the run then
  // stops at its next step and ends as a failure, leaving nothing behind.
  NoteTerminationRequests();
  createSearcher();
  Log("//////////////////////////////////");
  Log("***чтение и проверка параметров сверки");
  TWorkManager::Prepare();
  fSettings.FMode = TMode::mBPI;
  if (fSettings.FRegNum.empty()) Log("Не найден рег. номер", true);
  fSettings.FYear = 0;
  fSettings.FPeriod = 0;
  Log("---установленный рег. номер " + fSettings.FRegNum);
  Log("---установленая дата " + IntToStr(fSettings.FYear));
  Log("---установленный период " + IntToStr(fSettings.FPeriod));
  Log("***проверка параметров сверки");
  const std::vector<std::string> messages = CheckSettings();
  if (messages.empty()) {
    Log("***чтение и проверка параметров сверки завершено");
    SetProgress(&TWorkManagerBPI::ProgressBPI);
    fLastRunOfProcess = true;
    doWork();
    return;
  }
  Log("***возникли ошибки в параметрах сверки", true);
  Log("-------------------------------", true);
  for (const std::string& message : messages) Log(message, true);
  Log("-------------------------------", true);
  SetExitCode(21);
}

std::vector<std::string> TWorkManagerBPI::CheckSettings() {
  std::vector<std::string> messages = TWorkManager::CheckSettings();
  if (fSettings.FCompareWithList && !fSettings.FUseUL) {
    messages.push_back(
        "В режиме БПИ файл Перечня берется только из БД \"Велано ЛП\", поэтому при осуществлении сверки с "
        "Перечнем (в конфигурационном файле параметр WithList=1) необходимо установить параметр Connect=1 и "
        "указать параметры подключения к БД!");
  }
  if (fSettings.FAccumulateOption) {
    messages.push_back("В режиме БПИ опция \"Накопительным итогом\" не может быть использована!");
  }
  if (fSettings.FGetLastListFromUL) {
    messages.push_back("В режиме БПИ опция \"Брать последний актуальный Перечень\" не может быть использована!");
  }
  return messages;
}

void TWorkManagerBPI::ProgressBPI(int, int, int, const std::string&) {}

}  // namespace morvel

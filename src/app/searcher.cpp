#include "app/searcher.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <unordered_map>

#include "base/error.h"
#include "base/exit_code.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/text.h"
#include "config/classifiers.h"
#include "config/settings.h"
#include "model/result_data.h"
#include "records/base_data.h"
#include "records/zip_archive.h"
#include "xml/http_get.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

constexpr int kNoFiles = 10;
constexpr int kServerFailure = 21;
const char kNothingFound[] = "По запрашиваемым параметрам ничего найдено не было";

bool HasExtension(const fs::path& path, std::string_view extension) {
  return LowerCase(PathToUtf8(path.extension())) == extension;
}

// The entries of a folder with that extension (compared ignoring case, as the
// Windows masks do), by name so that every run sees them in the same order.
std::vector<fs::path> EntriesWithExtension(const fs::path& folder, std::string_view extension) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && HasExtension(it->path(), extension)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

void Remove(std::vector<std::string>& list, const std::string& path) {
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
}

std::string AttrText(TMyNode* node, std::string_view name, bool& present) {
  const TMyAttrib* a = node != nullptr ? node->Attributes().getNamedItem(name) : nullptr;
  present = a != nullptr;
  return present ? std::string(a->text()) : std::string();
}

std::string AttrText(TMyNode* node, std::string_view name) {
  bool present = false;
  return AttrText(node, name, present);
}

// Every "Перечень" of a document in document order, the root included.
std::vector<TMyNode*> ListElements(TMyNode* root) {
  std::vector<TMyNode*> found;
  if (root == nullptr) return found;
  if (root->NodeName() == "Перечень") found.push_back(root);
  const TMyNodeList below = root->GetElementsByTagName("Перечень");
  found.insert(found.end(), below.begin(), below.end());
  return found;
}

// The months a List covers: "ОтчетныйПериод", with an absent, empty, zero or
// unreadable value meaning the whole year.
int ListMonths(TMyNode* element) {
  int months = 0;
  if (!TryStrToInt(Trim(AttrText(element, "ОтчетныйПериод")), months) || months <= 0) return 12;
  return months;
}

bool IsCumulative(TMyNode* element) { return Trim(AttrText(element, "НакопитИтогом")) == "1"; }

std::string FirstText(TMyNode* root, std::string_view name, const std::string& fallback) {
  if (root == nullptr) return fallback;
  if (root->NodeName() == name) return std::string(root->text());
  TMyNode* found = root->FirstDescendant(name);
  return found == nullptr ? fallback : std::string(found->text());
}

bool HasElement(TMyNode* root, std::string_view name) {
  return root != nullptr && (root->NodeName() == name || root->FirstDescendant(name) != nullptr);
}

// The last period of a year: 2 half-years in 2010, 4 quarters otherwise.
int LastPeriodOf(int year) { return year == 2010 ? 2 : 4; }

// The quarter a period of the year ends with, as the List reader and the
// findings count: half-years of 2010 end with the 2nd and 4th quarter.
int QuarterOfPeriod(int year, int period) {
  if (period == 0) return 4;
  if (year == 2010) return period == 1 ? 2 : 4;
  return period;
}

// The quarter whose first day opens the window a List of the period ending
// with `quarter` is read over (the window ends with that quarter). A half-year
// List of 2010 is counted over its six months, as the half-year packs are;
// other Lists over the last quarter of their period.
int WindowStartQuarter(int year, int quarter) { return year == 2010 ? quarter - 1 : quarter; }

}  // namespace

int ListPeriodOfSet(int year, int setPeriod) {
  if (year == 2010) return setPeriod <= 2 ? 1 : 2;
  return setPeriod;
}

int ListPeriodOfMonths(int year, int months) {
  const int perPeriod = MonthsPerPeriod(year);
  if (months <= 0 || months > 12 || months % perPeriod != 0) return -1;
  return months / perPeriod;
}

bool ListServesPeriod(int listPeriod, bool cumulative, int setPeriod) {
  if (listPeriod < 0) return false;
  return listPeriod == setPeriod || (cumulative && listPeriod > setPeriod);
}

TSearcher::TSearcher(fs::path workFolder)
    : fSettings(TSettings::GetInstance()),
      fWorkFolder(std::move(workFolder)),
      fFormatCheck(ShippedDataFile("perech-vlmr.xsd")) {
  fAllXMLFiles[TXMLFileType::xftPD];
  fAllXMLFiles[TXMLFileType::xftList];
  fAllXMLFiles[TXMLFileType::xftUCP];
}

TSearcher::~TSearcher() = default;

void TSearcher::Progress(int min, int max, int curr, const std::string& message) {
  if (managerProgress) managerProgress(min, max, curr, message);
}

void TSearcher::Run() {
  Progress(0, 0, 0, "Поиск файлов...");
  ScanFolders();
  SortProtocolFiles();
  Log("//////////////////////////////////");
  Log("***разбор ИСов");
  LoadPacks();
  Log("***разбор ИСов завершен");
  if (ExitCode() == kNoFiles) return;
  Log("//////////////////////////////////");
  Log("***поиск Перечня");
  FindLists();
  Log("***поиск Перечня завершен");
}

void TSearcher::ScanFolders() {
  Log("***поиск файлов ИС");
  ScanFolder(fSettings.FDirPD, TXMLFileType::xftPD);
  if (!fSettings.FUseUL && fSettings.FMode != TMode::mBPI) {
    Log("***поиск файлов Переченей");
    ScanFolder(fSettings.FDirList, TXMLFileType::xftList);
  }
}

void TSearcher::UnpackArchive(const fs::path& archive) {
  std::error_code ec;
  fs::path key = fs::weakly_canonical(archive, ec);
  if (ec) key = archive;
  // An archive in both folders (the same folder for packs and Lists) is unpacked
  // once; its files are offered to the later scan from where they are.
  if (!fUnpackedArchives.insert(key).second) return;
  const std::string archiveName = PathToUtf8(archive);
  if (fWorkFolder.empty()) {
    ReportArchiveProblem("---архив не распакован (" + archiveName + "): не задана рабочая папка",
                         "Архив не распакован (" + HtmlEscape(archiveName) + "): не задана рабочая папка");
    return;
  }
  const fs::path target = fWorkFolder / ("zip-" + std::to_string(++fArchiveCount));
  TZipExtraction extraction = ExtractZipArchive(archive, target);
  if (!extraction.ok) {
    ReportArchiveProblem("---архив не распакован (" + archiveName + "): " + extraction.failure,
                         "Архив не распакован (" + HtmlEscape(archiveName) + "): " + HtmlEscape(extraction.failure));
    return;
  }
  for (const TRefusedEntry& entry : extraction.refused) {
    const std::string where = archiveName + " -> " + entry.name;
    ReportArchiveProblem("---элемент архива не распакован (" + where + "): " + entry.reason,
                         "Элемент архива не распакован (" + HtmlEscape(where) + "): " + HtmlEscape(entry.reason));
  }
  for (const fs::path& file : extraction.files) {
    if (HasExtension(file, ".xml")) {
      fUnpackedFiles.push_back(PathToUtf8(file));
    } else if (HasExtension(file, ".zip")) {
      // Archives are unpacked one level deep: an archive inside one could nest
      // without end, so it is named and left alone.
      const std::string where = archiveName + " -> " + PathToUtf8(file.filename());
      ReportArchiveProblem("---вложенный архив не распакован (" + where + ")",
                           "Вложенный архив не распакован (" + HtmlEscape(where) + ")");
    }
  }
}

// The packs of a refused archive or entry are missing from the run: the staff
// must see why in the protocol, not only in the log.
void TSearcher::ReportArchiveProblem(const std::string& logLine, const std::string& protocolText) {
  Log(logLine, true);
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>(protocolText, true));
}

void TSearcher::ScanFolder(const std::string& folder, TXMLFileType kind) {
  Log("***поиск xml-файлов в каталоге " + folder);
  std::vector<std::string>& list = fAllXMLFiles[kind];
  const std::size_t before = list.size();
  const fs::path dir = PathFromUtf8(folder);
  if (!folder.empty()) {
    for (const fs::path& file : EntriesWithExtension(dir, ".xml")) list.push_back(PathToUtf8(file));
    for (const fs::path& archive : EntriesWithExtension(dir, ".zip")) {
      StopWhenTerminationRequested();
      UnpackArchive(archive);
    }
  }
  // Every file unpacked so far: those of the folder of packs are offered as List
  // files too, until a pack is read from them.
  list.insert(list.end(), fUnpackedFiles.begin(), fUnpackedFiles.end());
  Log("***поиск xml-файлов завершен");
  Log("---найдено " + IntToStr(static_cast<long long>(list.size() - before)) + " xml-файлов");
}

void TSearcher::SortProtocolFiles() {
  Log("***перебираем найденные xml-файлы ");
  for (const std::string& path : fAllXMLFiles[TXMLFileType::xftUCP]) {
    if (!Contains(path, "ЖУВ_УПП_")) continue;
    fUCPProtocolFileName = path;
    Remove(fAllXMLFiles[TXMLFileType::xftPD], path);
    Remove(fAllXMLFiles[TXMLFileType::xftList], path);
  }
}

void TSearcher::LoadPacks() {
  std::vector<std::string>& files = fAllXMLFiles[TXMLFileType::xftPD];
  if (files.empty()) {
    Progress(0, 0, 0, "Xml-файлы не найдены");
    fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Xml-файлы не найдены", false));
    SetExitCode(kNoFiles);
  } else {
    Progress(0, 0, 0, "Найдены xml-файлы");
  }
  Log("***перебираем найденные xml-файлы ");
  const int count = static_cast<int>(files.size());
  // A copy: the walk removes nothing from it, but filing may touch the other lists.
  const std::vector<std::string> paths = files;
  for (int index = count - 1; index >= 0; --index) {
    const std::string& path = paths[static_cast<std::size_t>(index)];
    bool discard = false;
    // Outside the file's guard, which would take the request to end for a
    // failure of the file.
    StopWhenTerminationRequested();
    try {
      Log("***отрабатываем " + path);
      Progress(0, count, count - index, "Поиск ИС: " + path);
      LoadPack(path, discard);
    } catch (const std::exception& e) {
      Log("---Критическая ошибка при обработке xml-файлов во время поиска ИСов", true);
      LogError(e);
      fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Неизвестная ошибка (поиск СЗВ в режиме БПИ)", true));
    } catch (...) {
      Log("---Критическая ошибка при обработке xml-файлов во время поиска ИСов", true);
      fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Неизвестная ошибка (поиск СЗВ в режиме БПИ)", true));
    }
    if (discard && (Contains(path, "ZHV-") || Contains(path, "ЖУВ_"))) {
      fDiscardedPDFiles.push_back(path);
      Remove(fAllXMLFiles[TXMLFileType::xftList], path);
    }
  }
  Log("***перебор найденныx xml-файлов завершен");
  if (!fFoundIS) {
    fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Необходимые Xml-файлы не найдены", false));
    Log("---Необходимые Xml-файлы не найдены", true);
    SetExitCode(kNoFiles);
  }
}

// One file; `discard` tells the caller that the file was passed over. The tree
// and a pack not yet filed die with the scope, also when something raises.
void TSearcher::LoadPack(const std::string& path, bool& discard) {
  TMyTree root = LoadXMLTree(path);
  Log("***первоначальный разбор xml-файл");
  std::unique_ptr<TBaseData> header = TBaseData::TryGetBaseData(fSettings.FRegNum, root.get(), 0, 0);
  Log("***первоначальный разбор xml-файл завершен");
  if (!header) {
    Log("***xml-файл не удовлетворяет требованиям");
    discard = true;
    return;
  }
  const int year = fSettings.FYear;
  if (!(year == 0 || header->FPDType == TPDType::pdtEFS1 || (!header->Correction && header->Year == year) ||
        (header->Correction && header->CorrYear == year))) {
    Log("***год пачки не совпадает с выбранным в настройках годом (" + IntToStr(header->Year) + ")");
    discard = true;
    return;
  }
  if (fSettings.FPeriod != 0 && fSettings.FPeriod != header->Period) {
    Log("***период пачки не совпадает с выбранным в настройках периодом (" +
        IntToStr(static_cast<long long>(MonthsPerPeriod(header->Year)) * header->Period) + " месяцев)");
    discard = true;
    return;
  }
  Log("***xml-файл удовлетворяет требованиям");
  Remove(fAllXMLFiles[TXMLFileType::xftList], path);
  fFoundIS = true;
  Log("***дополнительный разбор xml-файл");
  const TPDType form = header->FPDType;
  std::unique_ptr<TPack> pack = TPack::TryGetPackData(root.get(), form, fSearchErrors, header, path);
  Log("***дополнительный разбор xml-файл завершен");
  if (!pack) {
    fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Ошибка при разборе пачки: " + HtmlEscape(path), true));
    Log("---возникли ошибки при дополнительном разборе пачки");
    return;
  }
  Log("***чтение льготников");
  pack->ReadWorkers(root.get(), fSettings.FYear);
  Log("***чтение льготников завершено");
  if (!pack->FOrgName.empty()) fSettings.FOrgName = pack->FOrgName;
  Log("***формирование пачки завершено");
  for (auto& message : pack->FPackErrors) fSearchErrors.push_back(std::move(message));
  pack->FPackErrors.clear();

  if (form == TPDType::pdtEFS1) {
    for (auto& part : SplitEfsPack(*pack)) FilePack(std::move(part));
  } else {
    FilePack(std::move(pack));
  }
}

void TSearcher::FilePack(std::unique_ptr<TPack> pack) {
  Log("***добавление пачки к сету(по периодам)");
  const int year = pack->BaseData->CorrYear;
  const int period = pack->BaseData->CorrPeriod;
  const std::string label = IntToStr(period) + "." + IntToStr(year);
  TPack* filed = pack.get();
  auto found = std::find_if(fSets.begin(), fSets.end(),
                            [&](const std::unique_ptr<TSet>& s) { return s->FYear == year && s->FPeriod == period; });
  if (found != fSets.end()) {
    (*found)->AddPack(std::move(pack));
    Log("---пачка добавлена к уже имеющемуся сету: " + label);
  } else {
    auto set = std::make_unique<TSet>();
    set->FYear = year;
    set->FPeriod = period;
    set->AddPack(std::move(pack));
    fSets.push_back(std::move(set));
    Log("---пачка добавлена в новый сет: " + label);
  }
  filed->AddPdDataWarnings->TagRecords();
  filed->PDRKWarnings->TagRecords();
  filed->FlightWarnings->TagRecords();
  filed->PartTimeWarnings->TagRecords();
  filed->PartTimeErrors->TagRecords();
  filed->JumpWarnings->TagRecords();
  Log("***добавление пачки к сету (по периодам) завершено");
}

std::vector<std::unique_ptr<TPack>> TSearcher::SplitEfsPack(TPack& pack) {
  std::vector<std::unique_ptr<TPack>> result;
  std::map<std::string, TPack*> targets;
  auto targetFor = [&](const TPeriodically& p) -> TPack* {
    const std::string key = p.IsCorr ? IntToStr(p.Year) + "~" + IntToStr(p.CorrYear) : IntToStr(p.Year);
    if (auto it = targets.find(key); it != targets.end()) return it->second;
    auto made = std::make_unique<TPack>(pack, p);
    made->BaseData->Correction = p.IsCorr;
    TPack* raw = made.get();
    result.push_back(std::move(made));
    targets.emplace(key, raw);
    return raw;
  };
  auto moveRecords = [&](const TPeriodically& p, TPack& target) {
    const std::string key = p.GetKey();
    auto move = [&](TTableResultWithPeriod& from, TTableResultWithPeriod& to) {
      if (from.HasKey(key)) from.MoveKeyTo(key, to);
    };
    move(*pack.AddPdDataWarnings, *target.AddPdDataWarnings);
    move(*pack.PDRKWarnings, *target.PDRKWarnings);
    move(*pack.FlightWarnings, *target.FlightWarnings);
    move(*pack.PartTimeWarnings, *target.PartTimeWarnings);
    move(*pack.PartTimeErrors, *target.PartTimeErrors);
    move(*pack.JumpWarnings, *target.JumpWarnings);
  };
  const bool haveAddStag = Classifiers().Has(TClassifierType::ctAddStag);

  for (const std::shared_ptr<TWorker>& W : pack.Workers) {
    if (!W->WorkPeriods.empty() || W->Periodicals.empty()) {
      std::unordered_map<TPack*, std::shared_ptr<TWorker>> copies;
      for (const std::shared_ptr<TWorkPeriod>& P : W->WorkPeriods) {
        TPack* target = targetFor(*P);
        std::shared_ptr<TWorker>& copy = copies[target];
        if (!copy) {
          copy = std::make_shared<TWorker>(*W);
          copy->HasLgotBasis = false;
          target->Workers.push_back(copy);
        }
        copy->WorkPeriods.push_back(P);
        if (!P->Bases.Empty() || P->TerritoryCondition == "СЕЛО" ||
            (haveAddStag && ClassifierContains(TClassifierType::ctAddStag, P->AddPdData.ToString()))) {
          copy->HasLgotBasis = true;
        }
        moveRecords(*P, *target);
      }
      // The periods belong to the copies now.
      W->WorkPeriods.clear();
    } else {
      std::set<TPack*> reached;
      for (const TPeriodically& periodical : W->Periodicals) {
        TPack* target = targetFor(periodical);
        if (reached.insert(target).second) {
          W->HasLgotBasis = false;
          target->Workers.push_back(W);
        }
        moveRecords(periodical, *target);
      }
    }
  }
  for (auto& made : result) {
    made->FLgotWorkerCount = static_cast<std::int32_t>(
        std::count_if(made->Workers.begin(), made->Workers.end(), [](const auto& w) { return w->HasLgotBasis; }));
    made->HasLgot = made->FLgotWorkerCount > 0;
  }
  return result;
}

void TSearcher::FindLists() {
  Progress(0, 0, 0, "Поиск файла Перечня...");
  if (!fSets.empty()) {
    Log("***перебираем сэты и к каждому периоду ищем перечень. Всего сэтов " +
        IntToStr(static_cast<long long>(fSets.size())));
  }
  if (fSettings.FUseUL || fSettings.FMode == TMode::mBPI) {
    FindListsOnServer();
  } else {
    FindListsInFiles();
  }
  Log("***подбор перечней к сэтам завершен");
}

void TSearcher::FindListsOnServer() {
  for (const std::unique_ptr<TSet>& set : fSets) {
    const int Y = set->FYear;
    const int N = set->FPeriod;
    // The periods from the set's own to the last of the year. The List server
    // counts the half-years of 2010 (1, 2) where the 2010 sets carry the
    // quarters that end them (2, 4).
    const int last = LastPeriodOf(Y);
    const int first = ListPeriodOfSet(Y, N);
    Log("***выполняем запрос к Велано");
    TListAnswer accepted;
    std::string description;
    for (int p = last; p >= first && accepted.list == nullptr; --p) {
      const std::string R = fSettings.GetActualRegNum(Y, p);
      Log("***запрос к Велано на поиск перечня для организации (" + R + ") период " + IntToStr(p) + "." +
          IntToStr(Y));
      StopWhenTerminationRequested();
      std::string address = fSettings.GetULQueryURL(R, Y, p);
      if (p > first) address += "&collect=" + IntToStr(first);
      TListAnswer answer = RequestList(address, Y, p);
      Log("***запрос к Велано завершен");
      if (ExitCode() == kServerFailure) {
        Log("---возникли проблемы при запросе к Велано, код завершения программы " + IntToStr(kServerFailure), true);
        return;
      }
      if (answer.list == nullptr) continue;
      set->FOrganizationHasLists = true;
      Log("***проверяем, подходит ли нам данный перечень");
      bool correcting = false;
      std::string label;
      const bool suitable = IsListSuitable(answer.list, Y, 0, label, correcting) &&
                            (first == 0 || ListServesPeriod(ListPeriodOfMonths(Y, ListMonths(answer.list)),
                                                            IsCumulative(answer.list), first));
      if (!suitable) {
        Log("***проверка завершена, не подходит");
        continue;
      }
      description = label;
      accepted = std::move(answer);
    }
    if (!set->FHasLgot) {
      Log("--в сэте отсутствуют льготники, проверяем предоставляла ли организация перечни когда либо");
      Log(set->FOrganizationHasLists ? "---организация ранее предоставляла перечни"
                                     : "---организация ранее предоставляла не перечни");
    }
    if (accepted.list == nullptr) continue;
    Log("***проверка завершена, подходит");
    auto list = std::make_unique<TTheList>();
    list->fYear = Y;
    list->fPeriod = QuarterOfPeriod(Y, first);
    list->fFileName = "Перечень из БД ПК \"Велано\" " + description;
    list->fNumInFile = 0;
    list->FAccumulate = IsCumulative(accepted.list);
    Log("***чтение и обработка перечня");
    try {
      // Over the set's own period, whatever period the List was given for.
      list->readStaff(Y, WindowStartQuarter(Y, list->fPeriod), accepted.list);
    } catch (const std::exception& e) {
      // A List the reader cannot take is no List for the set.
      LogError(e);
      continue;
    }
    accepted.tree.reset();
    Log("***чтение и обработка перечня завершено");
    Log("---перечень подключен к сэту");
    set->SetList(std::move(list));
  }
}

TListAnswer TSearcher::RequestList(const std::string& address, int year, int period) {
  return TakeListAnswer(LoadXMLTree(address), year, period);
}

TListAnswer TSearcher::TakeListAnswer(TMyTree tree, int year, int period) {
  const int shownPeriod = year == 2010 ? QuarterOfPeriod(year, period) : period;
  TListAnswer answer;
  answer.tree = std::move(tree);
  TMyNode* root = answer.tree.get();
  if (root == nullptr) {
    ReportFailedRequest(year, shownPeriod, LastHttpFailure());
    return {};
  }
  if (HasElement(root, "ОсновноеСообщение")) {
    const std::string version = HtmlEscape(QuotedInput(FirstText(root, "ВерсияПК", "не определена")));
    const std::string message = HtmlEscape(QuotedInput(FirstText(root, "ОсновноеСообщение", "")));
    const std::string explanation = FirstText(root, "Пояснение", "");
    const std::string head = "Возникла ошибка при запросе к БД ПК \"Велано ЛП\":";
    const std::string full = head + "<br>Версия ПК \"Велано ЛП\": " + version + "<br>Сообщение: " + message +
                             "<br>Пояснение: " + HtmlEscape(QuotedInput(explanation));
    const std::string brief =
        head + "<br>Версия ПК \"Велано ЛП\": " + version + "<br>Пояснение: " + HtmlEscape(QuotedInput(explanation));
    if (Contains(explanation, kNothingFound)) {
      fSearchErrors.push_back(std::make_unique<TListError>(brief, year, shownPeriod, nullptr, false));
      Log("---возникло предупреждение при подключении к Велано: " + brief, true);
    } else {
      SetExitCode(kServerFailure);
      Log("---возникла ошибка при подключении к Велано: " + full, true);
      Log("---код завершения программы " + IntToStr(kServerFailure), true);
      fSearchErrors.push_back(std::make_unique<TListError>(full, year, shownPeriod, nullptr, true));
    }
    return {};
  }
  const std::vector<TMyNode*> lists = ListElements(root);
  if (!lists.empty()) {
    answer.list = lists.front();
  } else if (!HasElement(root, "Пояснение")) {
    // A document that is no answer of the List server at all, such as the
    // error page of a proxy in between: the request failed, it did not find
    // that the employer has no List.
    ReportFailedRequest(year, shownPeriod,
                        "ответ не является ни Перечнем, ни сообщением сервера (корневой элемент " +
                            QuotedInput(root->NodeName()) + ")");
    return {};
  }
  return answer;
}

void TSearcher::ReportFailedRequest(int year, int shownPeriod, const std::string& reason) {
  fSearchErrors.push_back(std::make_unique<TListError>(
      "Возникла ошибка при подключении к БД ПК \"Велано ЛП\". Проверьте настройки подключения.", year, shownPeriod,
      nullptr, true));
  SetExitCode(kServerFailure);
  Log("---возникла ошибка при подключении к Велано", true);
  // Tells a wrong address or port from a server that does not answer.
  Log("---причина: " + reason, true);
  Log("---код завершения программы " + IntToStr(kServerFailure), true);
}

bool TSearcher::IsListSuitable(TMyNode* element, int year, int period, std::string& description,
                               bool& correcting) {
  try {
    const std::string R = fSettings.GetActualRegNum(year, period);
    TMyNode* enterprise = element->SelectSingleNode("Предприятие");
    const std::string number =
        AttrText(enterprise, Utf8Length(R) == 10 ? "РегНомерЕЦП" : "РегНомер");
    if (enterprise == nullptr || number != R) return false;
    bool hasYear = false;
    const std::string yearText = AttrText(element, "ОтчетныйГод", hasYear);
    if (!hasYear) return false;
    const int listYear = StrToInt(Trim(yearText));
    if (year != 0 && listYear != year) return false;
    const int months = ListMonths(element);
    const bool cumulative = IsCumulative(element);
    if (period != 0 && !ListServesPeriod(ListPeriodOfMonths(listYear, months), cumulative, period)) return false;
    if (AttrText(element, "Тип") == "КОРРЕКТИРУЮЩИЙ") {
      correcting = true;
      Log("---перечень корректирующий");
    }
    description = "за " + IntToStr(listYear) + " год " + IntToStr(months) + " период";
    if (cumulative) description += " (накопительным итогом)";
    return true;
  } catch (...) {
    return false;
  }
}

std::vector<std::string> TSearcher::ValidateListFile(const std::string& path, std::size_t index) {
  return fFormatCheck.Check(path, index);
}

void TSearcher::FindListsInFiles() {
  const std::vector<std::string> files = fAllXMLFiles[TXMLFileType::xftList];
  if (files.empty()) return;
  Progress(0, 0, 0, "Найдены xml-файлы");
  const int count = static_cast<int>(files.size());
  for (int index = 0; index < count; ++index) {
    const std::string& path = files[static_cast<std::size_t>(index)];
    try {
      Progress(0, count, index, "Поиск Перечня: " + path);
      TMyTree tree = LoadXMLTree(path);
      const std::vector<TMyNode*> lists = ListElements(tree.get());
      for (std::size_t n = 0; n < lists.size(); ++n) {
        TMyNode* element = lists[n];
        const int Y = StrToInt(Trim(AttrText(element, "ОтчетныйГод")));
        const int months = ListMonths(element);
        const bool cumulative = IsCumulative(element);
        const int listPeriod = ListPeriodOfMonths(Y, months);
        std::string description;
        bool correcting = false;
        if (listPeriod < 0 || !IsListSuitable(element, Y, listPeriod, description, correcting)) continue;
        // The List reader counts quarters, also for the half-years of 2010.
        const int quarter = months / 3;
        if (fSettings.FCheckPerFormat) {
          const std::vector<std::string> lines = ValidateListFile(path, n);
          if (!lines.empty()) {
            for (const std::string& line : lines) {
              fSearchErrors.push_back(
                  std::make_unique<TListError>("Проверка формата Перечня: " + HtmlEscape(line), Y, quarter, nullptr, true));
              Log("Проверка формата Перечня: " + line, true);
            }
            continue;
          }
        }
        auto list = std::make_unique<TTheList>();
        list->fYear = Y;
        list->fPeriod = cumulative ? 4 : quarter;
        list->fIsFile = true;
        list->FAccumulate = cumulative;
        list->fFileName = path;
        list->fNumInFile = 0;
        list->readStaff(Y, WindowStartQuarter(Y, quarter), element);
        // A set of the whole year (period 0) takes the List of its last period.
        // Both sides in the List's unit: half-years in 2010, quarters otherwise.
        auto found = std::find_if(fSets.begin(), fSets.end(), [&](const std::unique_ptr<TSet>& s) {
          const int setPeriod = s->FPeriod == 0 ? LastPeriodOf(s->FYear) : ListPeriodOfSet(s->FYear, s->FPeriod);
          return s->FYear == Y && ListServesPeriod(listPeriod, cumulative, setPeriod);
        });
        if (found == fSets.end()) continue;
        if (TTheList* previous = (*found)->List()) previous->fHasMoreThanOneLists = true;
        (*found)->SetList(std::move(list));
      }
    } catch (...) {
      // A List file that fails in any way is passed over without a message.
    }
  }
}

}  // namespace morvel

#include "protocol/protocol_former.h"

#include <chrono>
#include <system_error>

#include "base/dates.h"
#include "base/error.h"
#include "base/exit_code.h"
#include "base/platform.h"
#include "base/run_folder.h"
#include "base/text.h"
#include "config/settings.h"

namespace morvel {
namespace {

// The Mark of the Web: the page counts as saved from the local machine, so
// Internet Explorer runs the warning switch's script without asking.
const char kMarkOfTheWeb[] = "<!-- saved from url=(0016)http://localhost -->";

const char kWarningSwitch[] =
    "<script type=\"text/javascript\">function change() {var elements = document.querySelectorAll('.warn');"
    "for(var i=0;i<elements.length;i++) {if (elements[i].style.display =='none') {elements[i].style.display ='';} "
    "else {elements[i].style.display ='none';}}}</script>"
    "<input onclick=change() type=\"checkbox\" checked><b>Показывать предупреждения</b>";

std::string Checkbox(bool checked, std::string_view caption) {
  return std::string(checked ? "<br/><input type=\"checkbox\" checked disabled> " : "<br/><input type=\"checkbox\" disabled> ") +
         std::string(caption);
}

std::string Cell(std::string_view text) { return "    <td>" + std::string(text) + "</td>"; }

}  // namespace

const std::array<std::string_view, 10> TProtocolFormer::PackFormatNames = {
    "СЗВ-6-1", "СЗВ-6-2", "СПВ-1", "СЗВ-6-4", "РСВ-1", "СПВ-2", "СЗВ-СТАЖ", "СЗВ-КОРР", "СЗВ-ИСХ", "ЕФС-1"};

TProtocolFormer::TProtocolFormer(TProtocolMessageList& searchErrors, std::vector<std::string> discardedPDFiles,
                                 std::string ucpProtocolFileName, TProtocolRunParams params)
    : FSettings(TSettings::GetInstance()),
      fSearchErrors(searchErrors),
      fDiscardedPDFiles(std::move(discardedPDFiles)),
      fUCPProtocolFileName(std::move(ucpProtocolFileName)),
      fParams(std::move(params)) {}

TProtocolFormer::~TProtocolFormer() = default;

std::filesystem::path TProtocolFormer::PartFile(std::string_view name) const {
  return fParams.PartFolder / PathFromUtf8(name);
}

std::string TProtocolFormer::ProtocolFileName() const { return FSettings.GetProtocolFileName() + ".html"; }

void TProtocolFormer::OpenPart(std::string_view name) {
  FStreamWriter = std::make_unique<TFileLineWriter>(PartFile(name), TFileLineWriter::TOpenMode::omAppend);
}

void TProtocolFormer::CloseWriter() {
  if (!FStreamWriter) return;
  std::unique_ptr<TFileLineWriter> writer = std::move(FStreamWriter);
  writer->Close();
}

void TProtocolFormer::PrintOne(TResult& result) { result.PrintResult(*FStreamWriter, fNumChapter, fNumTable, fName); }

// ---- The document head --------------------------------------------------------

void TProtocolFormer::WriteHeader(int ExitCode, const std::string& OrgName) {
  const TSettings& S = FSettings;
  TFileLineWriter& w = *FStreamWriter;
  const std::string regNum = HtmlEscape(S.FRegNum);
  w.WriteLine("<!DOCTYPE html>");
  w.WriteLine(kMarkOfTheWeb);
  w.WriteLine("<html>");
  w.WriteLine("<head>");
  w.WriteLine(" <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\" />");
  w.WriteLine(" <style type=\"text/css\">@page {size:landscape;}table {border-collapse: collapse;}</style>");
  w.WriteLine(" <title>");
  w.WriteLine("   Протокол сверки ИС и Перечня ЛП для " + regNum + " за " + IntToStr(S.FYear) + " год.");
  w.WriteLine("   Программа \"Морвель\" версия " + S.Version() + " от " + S.AppDate());
  w.WriteLine(" </title>");
  w.WriteLine("</head>");
  w.WriteLine("<body>");
  w.WriteLine("<div style=\"font-size:smaller; text-align:left; width:100%\">");
  w.WriteLine("Код завершения программы: " + IntToStr(ExitCode) + "</div>");
  w.WriteLine("<div style=\"color:blue; font-size:smaller; text-align:right; width:100%\">");
  w.WriteLine("Протокол подготовлен программой \"Морвель\" версии " + S.Version() + " от " + S.AppDate());
  w.WriteLine(S.FMode == TMode::mBPI ? " в режиме БПИ" : " в оконном режиме");
  w.WriteLine("</div><br/>");
  w.WriteLine(
      "<h2 style=\"text-align:center\">ПРОТОКОЛ<br>сверки сведений о стаже ЗЛ на соответствующих видах работ с "
      "Перечнем</h2>");
  w.WriteLine("<h3 style=\"text-align:left\">Организация:<br/>" + HtmlEscape(OrgName) + "</h3>");
  w.WriteLine("<b>Параметры сверки:</b>");
  w.WriteLine("<br/>Регистрационный номер: <b>" + regNum + "</b>");
  w.WriteLine("<br/><br/><b>Опции сверки:</b>");
  w.WriteLine("<ul>");
  if (S.FCompareWithList) w.WriteLine("<li>Сверка по фактическим периодам.</li>");
  if (S.FYear < 2010) {
    w.WriteLine(S.fPensOption ? "<li>Сверка КОРРЕКТИРУЮЩИХ и/или ПЕНСИОННЫХ сведений.</li>"
                              : "<li>Сверка ИСХОДНЫХ сведений.</li>");
  }
  if (S.FMode == TMode::mWindow) {
    if (!fParams.YearChoiceText.empty()) w.WriteLine("<li>Год: " + HtmlEscape(fParams.YearChoiceText) + "</li>");
    if (!fParams.PeriodChoiceText.empty()) {
      w.WriteLine("<li>Период: " + HtmlEscape(fParams.PeriodChoiceText) + "</li>");
    }
  }
  w.WriteLine("</ul>");
  if (S.FCompareWithList) {
    w.WriteLine(Checkbox(S.FCompareWithListStaff, "Сверка ИС с Перечнем по позициям штатного расписания"));
    w.WriteLine(Checkbox(S.FCompareWithListNameList, "Сверка ИС с поименным списком к Перечню"));
  }
  if (S.fCompareTerrCodes) {
    w.WriteLine(Checkbox(true, "Проверка правомерности проставления кодов МКС, РКС"));
    w.WriteLine(S.hasNordRight("all", 0, 0, -1, -1) ? " (право есть)" : " (права нет)");
  } else {
    w.WriteLine(Checkbox(false, "Проверка правомерности проставления кодов МКС, РКС"));
  }
  w.WriteLine("<br/><br/>");
}

void TProtocolFormer::WritePeriodHeading(int Year, int Period) {
  TFileLineWriter& w = *FStreamWriter;
  w.WriteLine("<hr><h3 style=\"color:black;\">Отчетный период: <b>");
  std::string text;
  if (FSettings.FAccumulateOption) {
    text = "накопительным итогом за ";
    switch (Period) {
      case 1: text += "первый квартал"; break;
      case 2: text += "первое полугодие"; break;
      case 3: text += "9 месяцев"; break;
      case 4: text += "год"; break;
      default: break;
    }
  } else {
    switch (Period) {
      case 1: text = "первый квартал"; break;
      case 2: text = Year == 2010 ? "первое полугодие" : "второй квартал"; break;
      case 3: text = "третий квартал"; break;
      case 4: text = Year == 2010 ? "второе полугодие" : "четвертый квартал"; break;
      default: break;
    }
  }
  w.WriteLine(text);
  if (Period != 0) w.WriteLine(", ");
  w.WriteLine(IntToStr(Year) + " год </b></h3>");
}

// ---- One verified set -------------------------------------------------------------

void TProtocolFormer::formProtocolPart(const TSetProtocolData& V) {
  OpenPart(kBodyPart);
  WritePeriodHeading(V.fYear, V.fPeriod);
  for (const std::unique_ptr<TProtocolMessage>& message : fSearchErrors) {
    if (const auto* listError = dynamic_cast<const TListError*>(message.get())) {
      if (listError->FYear != V.fYear || listError->FPeriod != V.fPeriod) continue;
    }
    PrintOne(*message);
  }
  if (V.fPreMorvelResult != nullptr) PrintOne(*V.fPreMorvelResult);
  if (V.FErrorResults != nullptr) {
    for (const std::unique_ptr<TResult>& result : *V.FErrorResults) PrintOne(*result);
  }
  if (V.fWarningResults != nullptr && !V.fWarningResults->empty()) {
    FStreamWriter->WriteLine("<div class=\"warn\">");
    for (const std::unique_ptr<TResult>& result : *V.fWarningResults) PrintOne(*result);
    FStreamWriter->WriteLine("</div>");
  }
  const bool noErrors = V.FErrorResults == nullptr || V.FErrorResults->empty();
  if (noErrors && fSearchErrors.empty()) FStreamWriter->WriteLine("<h3>Ошибок нет</h3>");
  CloseWriter();

  WritePackRows(V);

  OpenPart(kFooterPart);
  if (V.fListData != nullptr) {
    FStreamWriter->WriteLine("<b>Для сверки ИС за " + IntToStr(V.fYear) + " год " + IntToStr(V.fPeriod) +
                             " период, использовался файл Перечня: " + HtmlEscape(V.fListData->fFileName) + " (" +
                             HtmlEscape(V.fListData->fOrgName) + ")</b><br/>");
    if (V.fVerListErrors != nullptr) {
      for (const std::unique_ptr<TProtocolMessage>& message : *V.fVerListErrors) PrintOne(*message);
    }
  }
  CloseWriter();
}

void TProtocolFormer::WritePackRow(const TPDPackData& P, const std::string& periodCell) {
  TFileLineWriter& w = *FStreamWriter;
  const auto form = static_cast<std::size_t>(P.fISType);
  w.WriteLine("  <tr>");
  w.WriteLine(Cell(HtmlEscape(P.fNum)));
  w.WriteLine(Cell(form < PackFormatNames.size() ? PackFormatNames[form] : ""));
  w.WriteLine(Cell(HtmlEscape(P.fDatePack)));
  w.WriteLine(Cell(periodCell));
  w.WriteLine(Cell(HtmlEscape(P.fCategoryCode)));
  w.WriteLine(Cell(HtmlEscape(P.fWorkers)));
  w.WriteLine(Cell(IntToStr(P.fLgotWorkers)));
  w.WriteLine(Cell(HtmlEscape(P.fOrgName)));
  w.WriteLine(Cell(HtmlEscape(P.fShortOrgName)));
  w.WriteLine(Cell(HtmlEscape(P.fFileName)));
  w.WriteLine("  </tr>");
}

void TProtocolFormer::WritePackRows(const TSetProtocolData& V) {
  static const TPDData kNoPacks;
  const TPDData& packs = V.fPDData != nullptr ? *V.fPDData : kNoPacks;

  OpenPart(kInitPart);
  fInitCount += static_cast<int>(packs.FInitPacks.size());
  const std::string initPeriod = IntToStr(V.fPeriod) + "," + IntToStr(V.fYear);
  for (const std::unique_ptr<TPDPackData>& pack : packs.FInitPacks) WritePackRow(*pack, initPeriod);
  CloseWriter();

  OpenPart(kCorrPart);
  fCorrCount += static_cast<int>(packs.FCorrPacks.size());
  const std::string corrPeriod = IntToStr(V.fYear) + ", " + IntToStr(V.fPeriod);
  for (const std::unique_ptr<TPDPackData>& pack : packs.FCorrPacks) WritePackRow(*pack, corrPeriod);
  CloseWriter();
}

// ---- The final file -----------------------------------------------------------------

void TProtocolFormer::WritePackTableHeader(std::string_view periodCaption) {
  TFileLineWriter& w = *FStreamWriter;
  w.WriteLine("<table border=\"1\">");
  w.WriteLine("  <tr>");
  w.WriteLine(Cell("№ Пачки"));
  w.WriteLine(Cell("Формат"));
  w.WriteLine(Cell("Дата"));
  w.WriteLine(Cell(periodCaption));
  w.WriteLine(Cell("Категория ЗЛ"));
  w.WriteLine(Cell("Кол-во ЗЛ"));
  w.WriteLine(Cell("Из них льготников"));
  w.WriteLine(Cell("Организация"));
  w.WriteLine(Cell("Краткое название"));
  w.WriteLine(Cell("Путь"));
  w.WriteLine("  </tr>");
}

void TProtocolFormer::WriteSourcePacks(int VerificationCount) {
  TFileLineWriter& w = *FStreamWriter;
  if (VerificationCount != 0) {
    w.WriteLine("<b>Исходные пачки:</b><br/>");
    WritePackTableHeader("Период");
  }
  AppendPartFile(kInitPart);
  w.WriteLine("</table>");
  w.WriteLine("<b>Всего исходных: " + IntToStr(fInitCount) + "</b><br/>");
  w.WriteLine("<br/>");
  if (fCorrCount <= 0) {
    std::error_code ignored;
    std::filesystem::remove(PartFile(kCorrPart), ignored);
  } else {
    w.WriteLine("<b>Корректирующие пачки:</b><br/>");
    WritePackTableHeader("Период, в котором предоставлены корр. сведения");
    AppendPartFile(kCorrPart);
    w.WriteLine("</table>");
  }
  w.WriteLine("<b>Всего корректирующих: " + IntToStr(fCorrCount) + "</b><br/>");
  w.WriteLine("<br>");
}

void TProtocolFormer::AppendPartFile(std::string_view name) {
  const std::filesystem::path part = PartFile(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(part, ec)) return;
  std::ifstream in(part, std::ios::binary);
  if (!in) throw EMorvelError("Cannot open file \"" + PathToUtf8(part) + "\"");
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got > 0) FStreamWriter->WriteBytes(std::string_view(buffer, static_cast<std::size_t>(got)));
  }
  if (in.bad()) throw EMorvelError("Cannot read file \"" + PathToUtf8(part) + "\"");
  in.close();
  std::filesystem::remove(part, ec);
}

void TProtocolFormer::WriteCheckDate() {
  FStreamWriter->WriteLine("<h4>Дата проверки: " + DateToStr(Today()) + "</h4>");
  FStreamWriter->WriteLine("<br/>");
}

template <typename Body>
std::string TProtocolFormer::WriteFinalFile(Body&& body) {
  const std::string fileName = ProtocolFileName();
  // The temporary name is the run's own (its part folder is), so two runs that
  // make the same protocol never write into one file.
  const std::filesystem::path target = PathFromUtf8(fileName);
  std::filesystem::path temp = target;
  temp += ".";
  temp += fParams.PartFolder.filename().native();
  temp += ".tmp";
  try {
    FStreamWriter = std::make_unique<TFileLineWriter>(temp, TFileLineWriter::TOpenMode::omCreate);
    body();
    CloseWriter();
    std::error_code ec;
    if (!ReplaceFileWith(temp, target, ec)) {
      throw EMorvelError("Cannot replace file \"" + fileName + "\" (is it open in another program?), system error " +
                         IntToStr(ec.value()));
    }
  } catch (...) {
    FStreamWriter.reset();
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw;
  }
  return fileName;
}

namespace {

// A temporary protocol still growing is written line by line, each line
// flushed; one untouched for this long belongs to no run that is writing it.
constexpr auto kQuietTemporaryProtocol = std::chrono::minutes(10);

// The run folder's name within a temporary protocol's name; empty for any
// other file.
std::string RunOfTemporaryProtocol(const std::string& fileName) {
  constexpr std::string_view kStart = "MORVEL-";
  constexpr std::string_view kMiddle = ".html.";
  constexpr std::string_view kEnd = ".tmp";
  if (fileName.compare(0, kStart.size(), kStart) != 0 || fileName.size() < kEnd.size() ||
      fileName.compare(fileName.size() - kEnd.size(), kEnd.size(), kEnd) != 0) {
    return std::string();
  }
  const std::size_t middle = fileName.rfind(kMiddle);
  if (middle == std::string::npos) return std::string();
  const std::size_t from = middle + kMiddle.size();
  if (from + kEnd.size() > fileName.size()) return std::string();
  return fileName.substr(from, fileName.size() - kEnd.size() - from);
}

}  // namespace

std::vector<std::filesystem::path> RemoveTemporaryProtocolsOfEndedRuns(const std::filesystem::path& reportFolder,
                                                                      const std::filesystem::path& tempFolder) {
  std::vector<std::filesystem::path> removed;
  std::error_code ec;
  const auto quietSince = std::filesystem::file_time_type::clock::now() - kQuietTemporaryProtocol;
  for (std::filesystem::directory_iterator it(reportFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string run = RunOfTemporaryProtocol(PathToUtf8(it->path().filename()));
    std::error_code fileError;
    if (run.empty() || !it->is_regular_file(fileError)) continue;
    const auto written = std::filesystem::last_write_time(it->path(), fileError);
    if (fileError || written > quietSince || RunMayBeAlive(tempFolder, run)) continue;
    if (std::filesystem::remove(it->path(), fileError)) removed.push_back(it->path());
  }
  return removed;
}

std::string TProtocolFormer::PrintProtocol(int VerificationCount) {
  return WriteFinalFile([&] {
    WriteHeader(ExitCode(), FSettings.FOrgName);
    FStreamWriter->WriteLine(kWarningSwitch);
    AppendPartFile(kBodyPart);
    FStreamWriter->WriteLine("<hr><h3>Исходная информация:</h3>");
    WriteSourcePacks(VerificationCount);
    AppendPartFile(kFooterPart);
    FStreamWriter->WriteLine("<br/><hr><br/>");
    WriteCheckDate();
    FStreamWriter->WriteLine("</body>");
    FStreamWriter->WriteLine("</html>");
  });
}

std::string TProtocolFormer::printBadProtocol(TProtocolMessageList& /*ListErrors*/, int ExitCode) {
  Log("---путь формирования bad протокола " + ProtocolFileName());
  return WriteFinalFile([&] {
    TFileLineWriter& w = *FStreamWriter;
    WriteHeader(ExitCode, std::string());
    if (ExitCode == 10) {
      w.WriteLine(
          "<div style =\"color:blue\"><h3>Не было найдено файлов индивидуальных сведений в формате .xml</h3></div>");
    }
    if (ExitCode == 11) {
      if (FSettings.fCompareTerrCodes && FSettings.hasNordRight("all", 0, 0, -1, -1)) {
        w.WriteLine("<h3 style =\"color:blue\">Необходимо уточнить право организации на проставление кодов РКС, МКС</h3>");
      }
      w.WriteLine(
          "<div style =\"color:blue\"><h3>Не было найдено файлов индивидуальных сведений со льготами с подходящими "
          "для сверки заданными условиями (РегНомер,Год,Период,Тип), перечней не найдено. Сверка не требуется. "
          "</h3></div>");
    }
    if (ExitCode == 21 || ExitCode == 11) {
      for (const std::unique_ptr<TProtocolMessage>& message : fSearchErrors) PrintOne(*message);
    }
    if (ExitCode == 10) {
      // No file to read may be the fault of a refused archive: its errors say
      // which one and why. The search's notes that no file was found stay
      // unprinted, as the heading above says it.
      for (const std::unique_ptr<TProtocolMessage>& message : fSearchErrors) {
        if (message->IsError) PrintOne(*message);
      }
    }
    if (ExitCode == 25) {
      w.WriteLine(
          "<div style =\"color:red\"><h3>Не было найдено файлов индивидуальных сведений со льготами с подходящими "
          "для сверки заданными условиями (РегНомер,Год,Период,Тип), но найден перечень.</h3></div>");
    }
    WriteCheckDate();
    w.WriteLine("</body>");
    w.WriteLine("</html>");
  });
}

}  // namespace morvel

// Reads a large generated pack of individual records into the element tree and
// compares the time with a plain streaming parse of the same file by xmllint.
//
// Usage: bench_xml_tree [--size-mb N] [--runs N] [--keep] [--tree-only] [file]
// Without a file the document is written to the temporary folder and removed at the
// end; --keep leaves it there. Each reading runs N times (2 unless told), the best
// time counts. --tree-only skips xmllint (for profiling).

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "support/bench_support.h"
#include "xml/my_node.h"

namespace {

using morvel::bench::BestXmllintSeconds;
using morvel::bench::Clock;
using morvel::bench::PeakKb;
using morvel::bench::Seconds;

const std::vector<std::string> kSurnames = {"Иванов", "Петров", "Сидоров", "Кузнецов", "Смирнов", "Попов",
                                            "Васильев", "Соколов", "Михайлов", "Новиков", "Фёдоров", "Морозов"};
const std::vector<std::string> kNames = {"Пётр", "Иван", "Сергей", "Алексей", "Дмитрий", "Андрей", "Николай"};
const std::vector<std::string> kPatronymics = {"Сергеевич", "Иванович", "Петрович", "Алексеевич", "Николаевич"};
const std::vector<std::string> kPositions = {"23200000-19756", "1010100а-1754а", "2130200а-13583",
                                             "27-ПД", "28-ГР"};

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string Snils(long n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%03ld-%03ld-%03ld %02ld", (n / 1000000) % 1000, (n / 1000) % 1000, n % 1000,
                n % 97);
  return buf;
}

// One element per line, an XML declaration on line 1: the layout of the packs the
// program reads, with persons, work periods and nested preferential entries.
struct Writer {
  std::string out;
  int depth = 0;
  long elements = 0;

  void Line(const std::string& text) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += text;
    out += '\n';
  }
  void Open(const std::string& name) {
    ++elements;
    Line("<" + name + ">");
    ++depth;
  }
  void Close(const std::string& name) {
    --depth;
    Line("</" + name + ">");
  }
  void Leaf(const std::string& name, const std::string& text) {
    ++elements;
    Line("<" + name + ">" + text + "</" + name + ">");
  }
};

void WritePerson(Writer& w, long n) {
  w.Open("ЗЛ");
  w.Leaf("НомерПП", std::to_string(n + 1));
  w.Open("ФИО");
  w.Leaf("УТ2:Фамилия", kSurnames[static_cast<std::size_t>(n) % kSurnames.size()]);
  w.Leaf("УТ2:Имя", kNames[static_cast<std::size_t>(n / 3) % kNames.size()]);
  w.Leaf("УТ2:Отчество", kPatronymics[static_cast<std::size_t>(n / 7) % kPatronymics.size()]);
  w.Close("ФИО");
  w.Leaf("СНИЛС", Snils(100000000 + n * 7919));
  w.Leaf("СведенияОбУвольнении", "");
  const int periods = 1 + static_cast<int>(n % 3);
  for (int p = 0; p < periods; ++p) {
    const int month = 1 + p * 4;
    w.Open("СтажевыйПериод");
    w.Leaf("УТ2:НомерСтроки", std::to_string(p + 1));
    w.Leaf("УТ2:ДатаНачалаПериода", "2023-" + Two(month) + "-01");
    w.Leaf("УТ2:ДатаКонцаПериода", "2023-" + Two(month + 3) + "-" + (month + 3 == 4 ? "30" : "31"));
    const int entries = (n + p) % 3 == 0 ? 2 : 1;
    for (int e = 0; e < entries; ++e) {
      w.Open("УТ2:ЛьготныйСтаж");
      w.Leaf("УТ2:НомерСтроки", std::to_string(e + 1));
      w.Open("УТ2:ТерриториальныеУсловия");
      w.Leaf("УТ2:ОснованиеТУ", e == 0 ? "РКС" : "МКС");
      w.Leaf("УТ2:Коэффициент", "1.50");
      w.Close("УТ2:ТерриториальныеУсловия");
      w.Open("УТ2:ОсобыеУсловияТруда");
      w.Leaf("УТ2:ОснованиеОУТ", "27-1");
      w.Leaf("УТ2:ПозицияСписка", kPositions[static_cast<std::size_t>(n + e) % kPositions.size()]);
      w.Close("УТ2:ОсобыеУсловияТруда");
      w.Open("УТ2:ИсчисляемыйСтаж");
      w.Leaf("УТ2:ОснованиеИС", "ВЫСЛЕТ");
      w.Leaf("УТ2:ВыработкаВчасах", std::to_string(100 + (n % 50)));
      w.Close("УТ2:ИсчисляемыйСтаж");
      w.Close("УТ2:ЛьготныйСтаж");
    }
    w.Close("СтажевыйПериод");
  }
  w.Close("ЗЛ");
}

struct Generated {
  long persons;
  long elements;
};

Generated Generate(const std::filesystem::path& file, std::uint64_t targetBytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  Writer w;
  w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  ++w.elements;
  w.Line("<ЭДПФР xmlns=\"http://пф.рф/СЗВ-СТАЖ/2017-01-09\" xmlns:УТ2=\"http://пф.рф/УТ/2017-08-21\">");
  ++w.depth;
  w.Open("СЗВ-СТАЖ");
  w.Open("Страхователь");
  w.Leaf("РегНомер", "087-101-000001");
  w.Leaf("ИНН", "3301000001");
  w.Leaf("КПП", "330101001");
  w.Leaf("Наименование", "ООО «Ромашка и партнёры»");
  w.Close("Страхователь");
  w.Leaf("ОтчетныйГод", "2023");
  w.Leaf("ТипСведений", "ИСХОДНАЯ");
  std::uint64_t written = 0;
  long persons = 0;
  const std::string tail = "  </СЗВ-СТАЖ>\n</ЭДПФР>\n";
  while (written + w.out.size() + tail.size() < targetBytes) {
    WritePerson(w, persons++);
    if (w.out.size() > (1u << 20)) {
      out << w.out;
      written += w.out.size();
      w.out.clear();
    }
  }
  w.Close("СЗВ-СТАЖ");
  --w.depth;
  w.Line("</ЭДПФР>");
  out << w.out;
  return {persons, w.elements};
}

}  // namespace

int main(int argc, char** argv) {
  double sizeMb = 100;
  bool keep = false;
  bool treeOnly = false;
  int runs = 2;
  std::filesystem::path file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--size-mb" && i + 1 < argc) {
      sizeMb = std::atof(argv[++i]);
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--keep") {
      keep = true;
    } else if (arg == "--tree-only") {
      treeOnly = true;
    } else {
      file = arg;
    }
  }
  const bool generated = file.empty() || !std::filesystem::exists(file);
  if (file.empty()) file = std::filesystem::temp_directory_path() / "bench_xml_tree.xml";
  if (generated) {
    const auto start = Clock::now();
    const Generated g = Generate(file, static_cast<std::uint64_t>(sizeMb * 1024 * 1024));
    std::cout << "generated " << file.string() << ": " << std::filesystem::file_size(file) / (1024 * 1024)
              << " MB, " << g.persons << " persons, " << g.elements << " elements, "
              << Seconds(Clock::now() - start) << " s\n";
  }

  // Best of the runs; the file is in the page cache after generation.
  double xmllintBest = 0;
  if (!treeOnly) {
    const std::optional<double> best = BestXmllintSeconds(file, runs);
    if (!best) {
      std::cerr << "xmllint failed\n";
      return 1;
    }
    xmllintBest = *best;
  }
  const long xmllintPeak = PeakKb(RUSAGE_CHILDREN);

  double treeFirst = 0;
  double treeBest = 1e9;
  double freeBest = 1e9;
  std::size_t persons = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    std::unique_ptr<morvel::TMyNode> root = morvel::LoadXMLTree(file.string());
    const double t = Seconds(Clock::now() - start);
    if (run == 0) treeFirst = t;
    treeBest = std::min(treeBest, t);
    if (!root) {
      std::cerr << "no tree\n";
      return 1;
    }
    persons = root->GetElementsByTagName("ЗЛ").size();
    const auto freeStart = Clock::now();
    root.reset();
    freeBest = std::min(freeBest, Seconds(Clock::now() - freeStart));
  }
  const long treePeak = PeakKb(RUSAGE_SELF);

  std::cout << "persons in tree:       " << persons << "\n";
  if (!treeOnly) {
    std::cout << "xmllint --stream:      " << xmllintBest << " s, peak " << xmllintPeak / 1024 << " MB\n";
  }
  std::cout << "LoadXMLTree:           " << treeBest << " s (first run " << treeFirst << " s), peak "
            << treePeak / 1024 << " MB\n"
            << "freeing the tree:      " << freeBest << " s\n";
  if (!treeOnly) std::cout << "ratio tree / xmllint:  " << treeBest / xmllintBest << "\n";
  if (generated && !keep) std::filesystem::remove(file);
  return 0;
}

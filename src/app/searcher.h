// The first stage of a run: finds the input files (unpacking ZIP archives), reads
// the individual-records files of the configured employer into packs, files the
// packs into verification sets by year and period, and finds each set's List in
// List files or on the List server.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/progress.h"
#include "list/list_format.h"
#include "log/logging_object.h"
#include "records/pack.h"
#include "verify/set.h"
#include "xml/my_node.h"

namespace morvel {

class TSettings;

enum class TXMLFileType { xftPD, xftList, xftUCP };

// A List server answer: the document and its first "Перечень", if any.
struct TListAnswer {
  TMyTree tree;
  TMyNode* list = nullptr;
};

class TSearcher : public TLoggingObject {
 public:
  // `workFolder` is the run's private folder; every archive is unpacked into a
  // folder of its own beneath it. Without one, archives are passed over.
  explicit TSearcher(std::filesystem::path workFolder = {});
  ~TSearcher() override;
  TSearcher(const TSearcher&) = delete;
  TSearcher& operator=(const TSearcher&) = delete;

  void Run();

  void ScanFolders();
  void ScanFolder(const std::string& folder, TXMLFileType kind);
  void SortProtocolFiles();
  void LoadPacks();
  // The packs of a ЕФС-1 pack, one per reporting year (and corrected year for
  // the correcting blocks). The persons' periods and the pack's table records
  // move to them.
  std::vector<std::unique_ptr<TPack>> SplitEfsPack(TPack& pack);
  void FindLists();
  // One request; the findings and exit code 21 as the answer deserves.
  TListAnswer RequestList(const std::string& address, int year, int period);
  // What the server's answer says: the List it holds, a message of the server (a
  // warning or a failure of the set), or no answer at all (the tree is null).
  TListAnswer TakeListAnswer(TMyTree tree, int year, int period);
  // Whether the List fits the employer, the year and (unless 0) the period of a
  // set, with its label for the protocol. Never raises.
  bool IsListSuitable(TMyNode* element, int year, int period, std::string& description, bool& correcting);
  // The format check of the `index`-th List of the file; empty when it passes.
  std::vector<std::string> ValidateListFile(const std::string& path, std::size_t index = 0);

  TSettings& fSettings;
  std::string fUCPProtocolFileName;
  std::vector<std::string> fDiscardedPDFiles;
  TProgressUpdate managerProgress;
  TProtocolMessageList fSearchErrors;
  TSetList fSets;
  bool fFoundIS = false;
  bool isCorrection = false;
  bool fFindTerrCode = false;
  std::map<TXMLFileType, std::vector<std::string>> fAllXMLFiles;

 private:
  void Progress(int min, int max, int curr, const std::string& message);
  void FindListsOnServer();
  void FindListsInFiles();
  void LoadPack(const std::string& path, bool& discard);
  void FilePack(std::unique_ptr<TPack> pack);
  void UnpackArchive(const std::filesystem::path& archive);
  void ReportFailedRequest(int year, int shownPeriod, const std::string& reason);
  void ReportArchiveProblem(const std::string& logLine, const std::string& protocolText);

  std::filesystem::path fWorkFolder;
  int fArchiveCount = 0;
  std::set<std::filesystem::path> fUnpackedArchives;
  std::vector<std::string> fUnpackedFiles;  // XML files of every archive so far
  TListFormatCheck fFormatCheck;
};

// The period a set's List is looked for, in the unit Lists are counted: the
// half-year (1, 2) of a 2010 set, whose periods are the quarters that end its
// half-years (2, 4); the set's own period in other years.
int ListPeriodOfSet(int year, int setPeriod);
// The period of a reporting year that a List of `months` months belongs to:
// quarters (months / 3), half-years in 2010 (months / 6); -1 when the months
// make no whole period of that year.
int ListPeriodOfMonths(int year, int months);
// Whether a List of period `listPeriod` serves a set of period `setPeriod`: its
// own period, and every earlier one when it is cumulative.
bool ListServesPeriod(int listPeriod, bool cumulative, int setPeriod);

}  // namespace morvel

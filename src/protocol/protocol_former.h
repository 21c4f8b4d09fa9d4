// The HTML protocol of a run. A run verifies its sets one after another and
// frees each set's data once its part of the protocol is written, so the
// protocol is made in two stages: each verified set appends its pieces to four
// part files in the run's own folder, and at the end the final file is put
// together from a fixed header, the part files and a fixed footer. A run that
// cannot start its checks gets a short protocol instead.
//
// Texts the writer takes from input files, server answers or the settings (the
// organisation names, the registration number, file names, pack fields, the
// year and period texts) are HTML-escaped where it inserts them; the messages
// and results it prints carry their own markup and escape their own input.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "log/logging_object.h"
#include "protocol/file_line_writer.h"
#include "verify/verification.h"

namespace morvel {

class TSettings;

// What a run tells the writer besides the settings.
struct TProtocolRunParams {
  // The run's own folder for the part files (TRunFolder::Path), so that runs
  // writing into one report folder never mix their parts. Must exist.
  std::filesystem::path PartFolder;
  // Windowed mode: the year and period texts the main window shows as chosen;
  // empty when the first entry, "не имеет значения", is chosen.
  std::string YearChoiceText;
  std::string PeriodChoiceText;
};

// The pieces of one verified set that the protocol prints. Nothing is owned;
// every pointer but the two result lists may be null.
struct TSetProtocolData {
  int fYear = 0;
  int fPeriod = 0;
  TResultList* FErrorResults = nullptr;
  TResultList* fWarningResults = nullptr;
  TResult* fPreMorvelResult = nullptr;
  const TListData* fListData = nullptr;
  TProtocolMessageList* fVerListErrors = nullptr;
  const TPDData* fPDData = nullptr;
};

inline TSetProtocolData ProtocolDataOf(TVerification& v) {
  TSetProtocolData data;
  data.fYear = v.fYear;
  data.fPeriod = v.fPeriod;
  data.FErrorResults = &v.FErrorResults;
  data.fWarningResults = &v.fWarningResults;
  data.fPreMorvelResult = v.fPreMorvelResult.get();
  data.fListData = v.fListData.get();
  data.fVerListErrors = v.fVerListErrors.get();
  data.fPDData = v.fPDData.get();
  return data;
}

// A run writes its protocol under a temporary name of its own beside the final
// one ("<protocol>.html.<run folder>.tmp") and renames it when it is whole; a
// run killed meanwhile leaves it behind. Removes from the report folder the
// temporaries of runs that no longer live (RunMayBeAlive) and that nothing has
// written for a while, in case a run on another machine writes into a shared
// folder. Returns the files removed; failures are passed over.
std::vector<std::filesystem::path> RemoveTemporaryProtocolsOfEndedRuns(const std::filesystem::path& reportFolder,
                                                                      const std::filesystem::path& tempFolder);

class TProtocolFormer : public TLoggingObject {
 public:
  // The display names of the pack forms, in the order of TPDType.
  static const std::array<std::string_view, 10> PackFormatNames;

  // The part files, inside TProtocolRunParams::PartFolder.
  static constexpr std::string_view kBodyPart = "body.part";
  static constexpr std::string_view kInitPart = "init.part";
  static constexpr std::string_view kCorrPart = "corr.part";
  static constexpr std::string_view kFooterPart = "footer.part";

  // searchErrors: the searcher's messages, printed in every set's part (List
  // errors only in the part of their year and period) and in the short
  // protocol; not owned, it must outlive the writer. The discarded files and
  // the searcher's protocol file name are kept for the run and printed nowhere.
  TProtocolFormer(TProtocolMessageList& searchErrors, std::vector<std::string> discardedPDFiles,
                  std::string ucpProtocolFileName, TProtocolRunParams params);
  ~TProtocolFormer() override;
  TProtocolFormer(const TProtocolFormer&) = delete;
  TProtocolFormer& operator=(const TProtocolFormer&) = delete;

  // Appends one verified set's pieces to the part files. Call it while the
  // objects the set's result records refer to are alive.
  void formProtocolPart(TVerification& verification) { formProtocolPart(ProtocolDataOf(verification)); }
  void formProtocolPart(const TSetProtocolData& verification);

  // Puts the final protocol together (header with the process's exit code at
  // this moment, the parts of every set, the source packs, the Lists, the check
  // date) and returns its file name. It is written under a temporary name in
  // the report folder and renamed into place, so a reader never sees half a
  // protocol. VerificationCount: how many sets were verified.
  std::string PrintProtocol(int VerificationCount);

  // The short protocol of a run that stops before its checks; returns its file
  // name. It prints the messages of the list the writer was created with
  // (ListErrors is the same list in every caller).
  std::string printBadProtocol(TProtocolMessageList& ListErrors, int ExitCode);

  // Kept up to date by the run pipeline; the protocol prints none of them.
  int fVerifiedPeople = 0;
  int fCurrentYear = 0;
  int fCurrentPeriod = 0;

  const std::vector<std::string>& DiscardedPDFiles() const { return fDiscardedPDFiles; }
  const std::string& UCPProtocolFileName() const { return fUCPProtocolFileName; }

 private:
  std::filesystem::path PartFile(std::string_view name) const;
  // The final file's name: the settings' protocol name with ".html".
  std::string ProtocolFileName() const;
  void OpenPart(std::string_view name);
  void CloseWriter();
  void PrintOne(TResult& result);
  // Writes the final file through `body` under a temporary name and renames it
  // into place.
  template <typename Body>
  std::string WriteFinalFile(Body&& body);

  void WriteHeader(int ExitCode, const std::string& OrgName);
  void WritePeriodHeading(int Year, int Period);
  void WritePackRows(const TSetProtocolData& verification);
  void WritePackRow(const TPDPackData& pack, const std::string& periodCell);
  void WriteSourcePacks(int VerificationCount);
  void WritePackTableHeader(std::string_view periodCaption);
  void WriteCheckDate();
  void AppendPartFile(std::string_view name);

  TSettings& FSettings;
  TProtocolMessageList& fSearchErrors;
  std::vector<std::string> fDiscardedPDFiles;
  std::string fUCPProtocolFileName;
  TProtocolRunParams fParams;

  int fNumChapter = 0;
  int fNumTable = 0;
  std::string fName;
  std::unique_ptr<TFileLineWriter> FStreamWriter;
  int fInitCount = 0;
  int fCorrCount = 0;
};

}  // namespace morvel

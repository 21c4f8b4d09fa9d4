// The settings dialog: the List server connection, the territorial-code rights
// list in its basic and extended forms, the re-registration crossing list and the
// logging and format-check switches. "Сохранить" copies the dialog into the
// settings (exec() then returns Accepted and settingsSaved is emitted);
// "Отмена" leaves the settings as they were.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "config/rights_list.h"
#include "ui/login_form.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace morvel {

class TSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsForm(QWidget* parent = nullptr);
  ~TSettingsForm() override;

  // Error text for a registration number typed into a masked field, or empty when
  // it is acceptable. The lenient check lets leading parts such as 099 or 099-001
  // through; the strict one accepts only complete numbers.
  static std::string ValidateRegNum(const std::string& text);
  static std::string ValidateRegNumStrict(const std::string& text);
  // Blanks and up to two trailing hyphens removed: "099-001-" gives "099-001".
  static std::string NormalizeRegNum(const std::string& text);

 signals:
  // After "Сохранить" has copied the dialog into the settings, so that the main
  // window can show what changed.
  void settingsSaved();

 public:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildServerPage(QWidget* page);
  void BuildRightsPage(QWidget* page);
  void BuildReRegPage(QWidget* page);
  void BuildExtraPage(QWidget* page);
  void FormShow();

  // Rights grid and the basic list.
  void ResetRightsGrid();
  void ShowRights(const std::vector<TTerritoryCode*>& list);
  void ShowRights(const std::vector<std::unique_ptr<TTerritoryCode>>& list);
  void GridToRights(std::vector<std::unique_ptr<TTerritoryCode>>& list) const;
  void AppendRightsRow(const TTerritoryCode& entry);
  void RefillBasicList();
  void ApplyVisibility();
  void ShowModeTab();
  void AddRight(const TTerritoryCode& entry);
  // Writes one cell of a data row, and while a filter is active the entry behind it.
  void SetRightsCell(int row, int column, const QString& text);
  void DeleteRightsRow(int row);
  TTerritoryCode* FilteredEntry(int row) const;
  void ApplyFilter();
  void EndFilter();
  void MaskEdit1Change();

  void bbAddRegNum_BasClick();
  void bbRemoveRegNum_BasClick();
  void bbAddRegNum_AdvClick();
  void bbRemoveRegNum_AdvClick();
  void lbBasRegNumDblClick();
  void sgRegNumsDblClick(int row, int column);
  void ClearPeriod(QDateEdit* picker, QLineEdit* overlay);
  void PlaceOverlay(QDateEdit* picker, QLineEdit* overlay);

  // In-place editors.
  void OpenRegNumEditor(QWidget* view, const QRect& rect, const QString& text);
  void CommitRegNumEditor();
  void HideRegNumEditor();
  void OpenDateEditor(int row, int column);
  void dtpTempChange();
  void bTempClearClick();
  void HideDateEditor();
  void OpenComboEditor(int row, int column);
  void CommitComboEditor();

  // Re-registration grid.
  void ResetReRegGrid();
  void FillPeriods(int year);
  void bbReRegAddClick();
  void bbReRegRemoveClick();
  void DeleteReRegRow(int row);
  void sgReRegRegnumsDblClick(int row, int column);

  void bbSaveClick();
  void bbEnterPasswordClick(TLoginTarget target);

  // Message boxes of the dialog.
  void ShowError(const QString& text);
  void ShowInfo(const QString& text);
  bool Confirm(const QString& text);

  QTabWidget* PageControl1 = nullptr;

  // The List server page.
  QLineEdit* eServerNameOrIP = nullptr;
  QLineEdit* ePort = nullptr;
  QLineEdit* eAppName = nullptr;
  QCheckBox* cbSavePassword = nullptr;
  QPushButton* bbEnterPassword = nullptr;
  QCheckBox* cbUseLastWhenNoListOnDate = nullptr;

  // The rights page.
  QCheckBox* cbNordCheck = nullptr;
  QCheckBox* cbAdvancedNordCheck = nullptr;
  QWidget* pNordPanel = nullptr;
  QLineEdit* MaskEdit1 = nullptr;
  QTabWidget* pcModes = nullptr;
  QLineEdit* eRegNum = nullptr;
  QPushButton* bbAddRegNum_Bas = nullptr;
  QPushButton* bbRemoveRegNum_Bas = nullptr;
  QListWidget* lbBasRegNum = nullptr;
  QTableWidget* sgRegNums = nullptr;
  QLineEdit* meRegnum = nullptr;
  QCheckBox* cbMKS = nullptr;
  QCheckBox* cbRKS = nullptr;
  QCheckBox* cbCH31 = nullptr;
  QCheckBox* cbCH33 = nullptr;
  QCheckBox* cbCH34 = nullptr;
  QCheckBox* cbCH35 = nullptr;
  QCheckBox* cbCH36 = nullptr;
  QCheckBox* ChkCountry = nullptr;
  QDateEdit* dtpBegin = nullptr;
  QDateEdit* dtpEnd = nullptr;
  QPushButton* bClearPeriod = nullptr;
  QPushButton* Button2 = nullptr;
  QLineEdit* eBeginNoPeriod = nullptr;
  QLineEdit* eEndNoPeriod = nullptr;
  QPushButton* bbAddRegNum_Adv = nullptr;
  QPushButton* bbRemoveRegNum_Adv = nullptr;
  QLineEdit* eTempRegnum = nullptr;
  QDateEdit* dtpTemp = nullptr;
  QPushButton* bTempClear = nullptr;
  QLineEdit* eTempNoPeriod = nullptr;
  QComboBox* cbTemp = nullptr;

  // The re-registration page.
  QTableWidget* sgReRegRegnums = nullptr;
  QLineEdit* meRegNumBefore = nullptr;
  QLineEdit* meRegNumAfter = nullptr;
  QComboBox* cbYear = nullptr;
  QComboBox* cbPeriod = nullptr;
  QPushButton* bbReRegAdd = nullptr;
  QPushButton* bbReRegRemove = nullptr;
  QGroupBox* gbLORSConnection = nullptr;
  QLineEdit* eLORSServerNameOrIP = nullptr;
  QLineEdit* eLORSPort = nullptr;
  QLineEdit* eLORSBase = nullptr;
  QCheckBox* cbCAutoUpdate = nullptr;
  QGroupBox* gbLORSPassword = nullptr;
  QCheckBox* cbLORSSavePassword = nullptr;
  QPushButton* bbLORSEnterPassword = nullptr;
  QPushButton* bRenewList = nullptr;
  QLabel* lLORSLastUpdateDate = nullptr;

  // The last page.
  QCheckBox* cbDebug = nullptr;
  QCheckBox* cbListFormatCheck = nullptr;

  QPushButton* bbSave = nullptr;
  QPushButton* bbCancel = nullptr;

  // While a filter is active the grid shows only the entries of tempOriginalList
  // whose numbers start with the filter text; filteredList holds them in grid
  // order, so that an edit in the grid reaches exactly the entry it was made on.
  bool filtered = false;
  std::vector<std::unique_ptr<TTerritoryCode>> tempOriginalList;
  std::vector<TTerritoryCode*> filteredList;
  QString originalValue;

  // Where the open in-place editor writes back.
  enum class TEditTarget { None, BasicItem, RightsCell, ReRegCell };
  TEditTarget fEditTarget = TEditTarget::None;
  int fEditRow = -1;
  int fEditColumn = -1;
  int fDateRow = -1;
  int fDateColumn = -1;
  int fComboRow = -1;
  int fComboColumn = -1;
  bool fCommitting = false;
};

}  // namespace morvel

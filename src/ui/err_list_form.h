// The list of problems found in the parameters of a windowed run, with copying
// and printing.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPrinter;
class QPushButton;

namespace morvel {

class TErrListForm : public QDialog {
  Q_OBJECT

 public:
  explicit TErrListForm(QWidget* parent = nullptr);

  // Replaces the list's lines.
  void SetLines(const QStringList& lines);
  QStringList Lines() const;
  // The list's text as the clipboard gets it: every line followed by CR LF.
  QString ClipboardText() const;
  // Writes every line as one printed line, in order, on pages of the printer;
  // false when the printer could not be opened.
  bool PrintLines(QPrinter& printer) const;

  QListWidget* lbErrors = nullptr;
  QPushButton* bbCopy = nullptr;
  QPushButton* bbPrint = nullptr;

 public slots:
  void bbCopyClick();
  void bbPrintClick();
};

}  // namespace morvel
